#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "movra_reader.h"
#include "movra_test_file.h"
#include "temp_dir.h"

namespace zet {
namespace {

using testing::TestFrame;
using testing::TestMovie;

constexpr std::uint32_t kMediaInputFlags = 0x08104000;
constexpr std::uint32_t kPacketBytes = 1000;

// Packets whose bytes tell the frame they belong to and the file generation.
std::string packetText(std::uint32_t frame, char generation) {
  std::string text(kPacketBytes, generation);
  text.replace(0, std::to_string(frame).size(), std::to_string(frame));
  return text;
}

TestMovie movieOf(std::uint32_t frames, char generation) {
  TestMovie movie;
  for (std::uint32_t i = 1; i <= frames; ++i) movie.frames.push_back({{}, packetText(i, generation), i == 1});
  return movie;
}

// A copy of the picture, which also lets the reader top up its ring.
void copyPicture(MovraReader* reader) {
  std::vector<std::uint32_t> bitmap(std::size_t{reader->display_width} * reader->display_height);
  MovraReaderBlit(reader, bitmap.data(), static_cast<std::int32_t>(reader->display_width * 4), reader->display_height,
                  0, 0, 5);
}

std::string packetOf(const MovraReader* reader) {
  return std::string(reinterpret_cast<const char*>(reader->frame_buffer), reader->frame_bytes);
}

class ReadAheadTest : public ::testing::Test {
 protected:
  MovraReader* open(const TestMovie& movie, std::uint32_t flags = kMediaInputFlags) {
    testing::writeFile(name_, buildMovraFile(movie));
    return MovraReaderOpen(name_.c_str(), flags);
  }

  zet::testing::TempDir dir_;
  std::string name_ = dir_.file("movie.mvr");
};

TEST_F(ReadAheadTest, ShortMovieIsPreloadedAndNeedsNoFileAfterOpen) {
  MovraReader* reader = open(movieOf(5, 'a'));
  ASSERT_NE(reader, nullptr);
  EXPECT_NE(reader->flags & kReaderPreloaded, 0u);
  ASSERT_NE(reader->preloaded, nullptr);
  // A new file under the name changes nothing: every packet is in memory.
  testing::writeFile(name_, buildMovraFile(movieOf(5, 'b')));
  for (std::uint32_t frame = 1; frame <= 5; ++frame) {
    EXPECT_EQ(reader->current_frame, frame);
    EXPECT_EQ(packetOf(reader), packetText(frame, 'a'));
    MovraReaderNext(reader);
  }
  EXPECT_EQ(reader->current_frame, 1u);
  MovraReaderClose(reader);
}

TEST_F(ReadAheadTest, LongMovieKeepsItsBusiestSecondInTheRing) {
  MovraReader* reader = open(movieOf(300, 'a'));
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->flags & kReaderPreloaded, 0u);
  EXPECT_EQ(reader->peak_second_bytes, 30 * kPacketBytes);
  EXPECT_EQ(reader->source.capacity(), 32768u);  // whole 8192-byte chunks
  EXPECT_EQ(reader->source.buffered(), 32768u);  // filled at open
  for (std::uint32_t frame = 1; frame <= 300; ++frame) {
    ASSERT_EQ(reader->current_frame, frame);
    ASSERT_EQ(packetOf(reader), packetText(frame, 'a')) << frame;
    if (frame % 3 == 0) copyPicture(reader);  // tops up the ring
    MovraReaderNext(reader);
  }
  EXPECT_EQ(reader->current_frame, 1u);
  EXPECT_EQ(packetOf(reader), packetText(1, 'a'));
  MovraReaderSeek(reader, 200, 1);
  EXPECT_EQ(packetOf(reader), packetText(200, 'a'));
  MovraReaderSeek(reader, 0, 1);
  EXPECT_EQ(reader->current_frame, 1u);
  MovraReaderSeek(reader, 5000, 1);
  EXPECT_EQ(reader->current_frame, 300u);
  EXPECT_EQ(packetOf(reader), packetText(300, 'a'));
  MovraReaderClose(reader);
}

TEST_F(ReadAheadTest, RingIsNeverLargerThanThePackets) {
  // A million frames a second makes the busiest-second estimate of this
  // short movie 1 GB, and a large file size field keeps it from being preloaded.
  TestMovie movie = movieOf(3, 'a');
  movie.rateNum = 1000000;
  std::string bytes = buildMovraFile(movie);
  testing::putU32(bytes, testing::kFileSizeField, 0xFFFFFFF0);
  testing::writeFile(name_, bytes);
  MovraReader* reader = MovraReaderOpen(name_.c_str(), kMediaInputFlags);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->peak_second_bytes, 1000000u * kPacketBytes);
  EXPECT_EQ(reader->flags & kReaderPreloaded, 0u);
  EXPECT_EQ(reader->source.capacity(), 8192u);  // 3000 bytes of packets, in whole chunks
  for (std::uint32_t frame = 1; frame <= 3; ++frame) {
    EXPECT_EQ(packetOf(reader), packetText(frame, 'a'));
    MovraReaderNext(reader);
  }
  MovraReaderClose(reader);
}

TEST_F(ReadAheadTest, BytesInTheRingAreNotReadAgain) {
  MovraReader* reader = open(movieOf(300, 'a'));
  ASSERT_NE(reader, nullptr);
  // Rewrite the file in place: what the ring already holds stays as it was
  // read, everything else comes from the file as it is now.
  testing::writeFile(name_, buildMovraFile(movieOf(300, 'b')));
  // Open read frame 1 straight from the file, then filled the ring behind it.
  const std::uint32_t ringEnd = (reader->frame_offsets[1] & ~1u) + reader->source.capacity();
  for (std::uint32_t frame = 2; frame <= 40; ++frame) {
    MovraReaderNext(reader);
    const std::uint32_t start = reader->frame_offsets[frame - 1] & ~1u;
    if (start + kPacketBytes <= ringEnd) {
      EXPECT_EQ(packetOf(reader), packetText(frame, 'a')) << frame;
    } else if (start >= ringEnd) {
      EXPECT_EQ(packetOf(reader), packetText(frame, 'b')) << frame;
    }
  }
  MovraReaderClose(reader);
}

TEST_F(ReadAheadTest, WithoutTheInitialFillEachCopyTopsUpOneChunk) {
  MovraReader* reader = open(movieOf(300, 'a'), kMediaInputFlags | kOpenNoInitialFill);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->source.buffered(), 0u);
  copyPicture(reader);
  EXPECT_EQ(reader->source.buffered(), 8192u);
  copyPicture(reader);
  EXPECT_EQ(reader->source.buffered(), 16384u);
  MovraReaderClose(reader);
}

TEST_F(ReadAheadTest, FileThatShrinksDuringPlayFailsTheReaderForGood) {
  MovraReader* reader = open(movieOf(300, 'a'), kMediaInputFlags | kOpenNoInitialFill);
  ASSERT_NE(reader, nullptr);
  MovraReaderSetVideo(reader, 0);
  EXPECT_EQ(MovraReaderDecode(reader), 0u);
  std::filesystem::resize_file(name_, std::filesystem::file_size(name_) / 2);
  for (int i = 0; i < 200; ++i) MovraReaderNext(reader);
  EXPECT_EQ(reader->failed, 1u);
  EXPECT_EQ(MovraReaderDecode(reader), 1u);
  // Even packets that read whole again are not decoded any more.
  MovraReaderSeek(reader, 2, 1);
  EXPECT_EQ(MovraReaderDecode(reader), 1u);
  MovraReaderClose(reader);
}

TEST_F(ReadAheadTest, DecodingWithoutVideoWalksOnlyTheSoundPart) {
  TestMovie movie = movieOf(3, 'a');
  movie.tracks = {{100, 22050 | 0x10000000, 1}};
  movie.frames[0].sound = {"four"};
  std::string bytes = buildMovraFile(movie);
  testing::writeFile(name_, bytes);
  MovraReader* reader = MovraReaderOpen(name_.c_str(), 0x08004000);
  ASSERT_NE(reader, nullptr);
  MovraReaderSetVideo(reader, 0);
  EXPECT_EQ(MovraReaderDecode(reader), 0u);
  EXPECT_EQ(reader->decoded_frame, 1u);
  EXPECT_EQ(MovraReaderDecode(reader), 0u);  // already decoded
  MovraReaderClose(reader);

  // The first frame's sound claims more bytes than its packet holds.
  const std::uint32_t firstPacket = testing::getU32(bytes, testing::indexEntryOffset(movie, 0)) & ~1u;
  testing::putU32(bytes, firstPacket, 5000);
  testing::writeFile(name_, bytes);
  reader = MovraReaderOpen(name_.c_str(), 0x08004000);
  ASSERT_NE(reader, nullptr);
  MovraReaderSetVideo(reader, 0);
  EXPECT_EQ(MovraReaderDecode(reader), 1u);
  MovraReaderNext(reader);
  EXPECT_EQ(MovraReaderDecode(reader), 0u);  // the next frame is whole
  MovraReaderClose(reader);
}

}  // namespace
}  // namespace zet
