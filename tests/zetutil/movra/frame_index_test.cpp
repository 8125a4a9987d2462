#include <gtest/gtest.h>

#include <vector>

#include "frame_index.h"

namespace zet {
namespace {

// Index entries for packets of the given sizes from offset 100, key frames
// marked in bit 0 where `keys` says so.
std::vector<std::uint32_t> entriesFor(const std::vector<std::uint32_t>& sizes, const std::vector<bool>& keys = {}) {
  std::vector<std::uint32_t> entries;
  std::uint32_t offset = 100;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    entries.push_back(offset | (i < keys.size() && keys[i] ? 1u : 0u));
    offset += sizes[i];
  }
  entries.push_back(offset);
  return entries;
}

TEST(FrameIndexTest, WindowIsTheRoundedFrameRate) {
  EXPECT_EQ(framesPerSecondWindow(30, 1), 30u);
  EXPECT_EQ(framesPerSecondWindow(30000, 1001), 30u);
  EXPECT_EQ(framesPerSecondWindow(25, 2), 13u);
  EXPECT_EQ(framesPerSecondWindow(1, 5), 1u);  // rounds to 0, at least 1
  EXPECT_EQ(framesPerSecondWindow(0xFFFFFFFF, 1), 0xFFFFFFFFu);
}

TEST(FrameIndexTest, OneFrameMovieTakesItsPacketTimesTheWindow) {
  const auto entries = entriesFor({1000}, {true});
  EXPECT_EQ(peakSecondBytes(entries.data(), 1, 30), 30000u);
}

TEST(FrameIndexTest, PeakSecondIsTheBusiestWindow) {
  const auto entries = entriesFor({10, 10, 500, 400, 10, 10});
  EXPECT_EQ(peakSecondBytes(entries.data(), 6, 2), 900u);
  EXPECT_EQ(peakSecondBytes(entries.data(), 6, 3), 910u);
}

TEST(FrameIndexTest, KeyBitsDoNotWrapEmptyPacketsIntoHugeSeconds) {
  // An empty key frame: with the key bit counted the difference of the
  // first window would be -1.
  const auto entries = entriesFor({0, 12, 0, 0}, {true, false, false, false});
  EXPECT_EQ(peakSecondBytes(entries.data(), 4, 1), 12u);
}

TEST(FrameIndexTest, MovieOfEmptyWindowsUsesTheAverageSecond) {
  const auto entries = entriesFor({0, 0, 0});
  EXPECT_EQ(peakSecondBytes(entries.data(), 3, 1), 0u);
  const auto short_ = entriesFor({100, 200});
  EXPECT_EQ(peakSecondBytes(short_.data(), 2, 25), 300u * 25 / 2);
}

TEST(FrameIndexTest, IndexMustDescribeBytesOfTheFile) {
  const auto entries = entriesFor({10, 20, 30});
  EXPECT_TRUE(frameIndexFitsFile(entries.data(), 3, 100, 160));
  EXPECT_FALSE(frameIndexFitsFile(entries.data(), 3, 100, 159));  // last packet cut
  EXPECT_FALSE(frameIndexFitsFile(entries.data(), 3, 101, 160));  // first packet inside the index
  auto backwards = entries;
  backwards[2] = 104;
  EXPECT_FALSE(frameIndexFitsFile(backwards.data(), 3, 100, 1000));
}

TEST(FrameIndexTest, PacketSizesAndKeyFramesComeFromTheEntries) {
  const auto entries = entriesFor({10, 300, 30}, {true, false, true});
  EXPECT_EQ(packetBytes(entries.data(), 1), 300u);
  EXPECT_EQ(largestPacketBytes(entries.data(), 3), 300u);
  EXPECT_EQ(keyFrameCount(entries.data(), 3), 2u);
}

}  // namespace
}  // namespace zet
