#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/file.h"
#include "temp_dir.h"

namespace platform {
namespace {

// Runs in a fresh current folder two levels below the temporary one, so
// that ".." has somewhere to go.
class FullPath : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = currentDirectory();
    std::filesystem::create_directories(dir_.path() / "work");
    ASSERT_TRUE(setCurrentDirectory((dir_.path() / "work").c_str()));
    current_ = currentDirectory();
    parent_ = current_.substr(0, current_.rfind('/'));
  }
  void TearDown() override { setCurrentDirectory(previous_.c_str()); }

  zet::testing::TempDir dir_;
  std::string previous_, current_, parent_;
};

TEST_F(FullPath, ResolvesNamesTextually) {
  struct Case {
    const char* name;
    std::string expected;
  };
  const Case cases[] = {
      {"", current_},
      {".", current_},
      {"./", current_},
      {"a", current_ + "/a"},
      {"a/b/../c", current_ + "/a/c"},
      {"a\\b\\", current_ + "/a/b"},
      {"./a/./b/.", current_ + "/a/b"},
      {"a/..", current_},
      {"..", parent_},
      {"../x", parent_ + "/x"},
      {"/x//y///z", "/x/y/z"},
      {"\\x\\y/", "/x/y"},
      {"/", "/"},
      {"\\", "/"},
      {"//", "/"},
      {"/..", "/"},
      {"/../../a/..", "/"},
      {"/../../a", "/a"},
      {"/a/b/../../..", "/"},
      {"/a/...", "/a/..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(fullPath(c.name), c.expected);
  }
  EXPECT_EQ(fullPath(nullptr), current_);
}

}  // namespace
}  // namespace platform
