// Builds house video files for tests: header, track tables, frame index and
// packets, from a description whose video data the test supplies. Tests
// damage the result with putU32 at the field offsets below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zet::testing {

inline constexpr std::size_t kMagicField = 0;
inline constexpr std::size_t kFileSizeField = 4;
inline constexpr std::size_t kFramesField = 8;
inline constexpr std::size_t kLargestFrameField = 12;
inline constexpr std::size_t kIndexFramesField = 16;
inline constexpr std::size_t kWidthField = 20;
inline constexpr std::size_t kHeightField = 24;
inline constexpr std::size_t kRateNumField = 28;
inline constexpr std::size_t kRateDivField = 32;
inline constexpr std::size_t kVideoFlagsField = 36;
inline constexpr std::size_t kTracksField = 40;

struct TestTrack {
  std::uint32_t bufferSize = 0;
  std::uint32_t format = 0;
  std::uint32_t id = 0;
};

struct TestFrame {
  // The bytes each track carries in this frame (after its size field);
  // missing entries are empty.
  std::vector<std::string> sound;
  std::string video;
  bool key = true;
};

struct TestMovie {
  char version = 'i';
  std::uint32_t width = 16;
  std::uint32_t height = 16;
  std::uint32_t rateNum = 30;
  std::uint32_t rateDiv = 1;
  std::uint32_t videoFlags = 0;
  std::vector<TestTrack> tracks;
  std::vector<TestFrame> frames;
  std::uint32_t unusedIndexEntries = 0;  // index_frames - frames
};

std::string buildMovraFile(const TestMovie& movie);

// Offset of index entry i in a file built from `movie`.
std::size_t indexEntryOffset(const TestMovie& movie, std::size_t i);

void putU32(std::string& bytes, std::size_t offset, std::uint32_t value);
std::uint32_t getU32(const std::string& bytes, std::size_t offset);
std::string u32Bytes(std::uint32_t value);

// Video data of version 'i' built from coded planes: the luma plane behind
// its size prefix, then the chroma planes; an alpha plane, when given,
// comes first behind its own prefix. Versions 'f', 'g', 'h' have no luma
// prefix (`lumaPrefix` false).
std::string videoData(const std::vector<std::uint8_t>& luma, const std::vector<std::uint8_t>& cr,
                      const std::vector<std::uint8_t>& cb, bool lumaPrefix = true,
                      const std::vector<std::uint8_t>* alpha = nullptr);

}  // namespace zet::testing
