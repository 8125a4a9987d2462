// What zetutil's allocator tells the user when a block cannot be had.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "block_allocator.h"
#include "message_presenter.h"

namespace {

struct RecordingPresenter : zet::MessagePresenter {
  struct Shown {
    std::string text, caption;
    zet::MessageIcon icon;
  };
  std::vector<Shown> shown;
  void showMessage(const std::string& text, const std::string& caption, zet::MessageIcon icon) override {
    shown.push_back({text, caption, icon});
  }
  bool askYesNo(const std::string&, const std::string&, bool) override { return false; }
};

TEST(ZetutilAllocatorMessage, CountsTooLargeForTheHeaderFailWithTheMemoryMessage) {
  RecordingPresenter presenter;
  zet::setMessagePresenter(&presenter);
  // Near 2^32 the header no longer fits in 32 bits: never a small block.
  EXPECT_EQ(zet::allocateBlock(0xFFFFFFF0u), nullptr);
  zet::setMessagePresenter(nullptr);

  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0].text, "Error: ran out of memory!");
  EXPECT_EQ(presenter.shown[0].caption, "Memory Error");
  EXPECT_EQ(presenter.shown[0].icon, zet::MessageIcon::Stop);
}

}  // namespace
