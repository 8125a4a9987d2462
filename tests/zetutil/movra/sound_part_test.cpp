#include <gtest/gtest.h>

#include <string>

#include "movra_test_file.h"
#include "movra_track.h"
#include "sound_part.h"

namespace zet {
namespace {

using testing::u32Bytes;

const std::uint8_t* bytesOf(const std::string& text) { return reinterpret_cast<const std::uint8_t*>(text.data()); }
std::uint32_t sizeOf(const std::string& text) { return static_cast<std::uint32_t>(text.size()); }

TEST(SoundPartTest, EmptyTrackEntryTakesFourBytes) {
  const std::string packet = u32Bytes(0) + u32Bytes(3) + "xyz" + "video";
  EXPECT_EQ(videoDataOffset(bytesOf(packet), sizeOf(packet), 2), 11u);
  const auto first = trackSoundBytes(bytesOf(packet), sizeOf(packet), 0);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->bytes, 0u);
  const auto second = trackSoundBytes(bytesOf(packet), sizeOf(packet), 1);
  ASSERT_TRUE(second);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(second->data), second->bytes), "xyz");
}

TEST(SoundPartTest, SizesRunningPastThePacketAreRefused) {
  const std::string overlong = u32Bytes(0) + u32Bytes(100) + "xyz";
  EXPECT_FALSE(videoDataOffset(bytesOf(overlong), sizeOf(overlong), 2));
  EXPECT_FALSE(trackSoundBytes(bytesOf(overlong), sizeOf(overlong), 1));
  const std::string wrapping = u32Bytes(0xFFFFFFFE) + "abcd";
  EXPECT_FALSE(videoDataOffset(bytesOf(wrapping), sizeOf(wrapping), 1));
  // More tracks than the packet has entries for.
  const std::string shortPacket = u32Bytes(0) + "ab";
  EXPECT_FALSE(videoDataOffset(bytesOf(shortPacket), sizeOf(shortPacket), 2));
  EXPECT_FALSE(trackSoundBytes(bytesOf(shortPacket), sizeOf(shortPacket), 1));
  EXPECT_EQ(videoDataOffset(bytesOf(shortPacket), sizeOf(shortPacket), 1), 4u);
}

TEST(SoundPartTest, OutputBufferHoldsOneFrameOfDecodedSound) {
  EXPECT_EQ(trackOutputBytes(4000, 0x40000000 | 0x20000000), 4000u);  // 16-bit stereo
  EXPECT_EQ(trackOutputBytes(4001, 0x40000000), 4004u);               // whole words
  EXPECT_EQ(trackOutputBytes(4001, 0x20000000), 2002u);               // 8-bit: half
  EXPECT_EQ(trackOutputBytes(0xFFFFFFFF, 0x40000000), 0xFFFFFFFCu);
}

}  // namespace
}  // namespace zet
