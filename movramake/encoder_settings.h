// What MovraMake makes of its arguments: the checked and derived settings of
// one encoder (reduced frame rate, flags, window, padded plane sizes), or the
// reason they cannot make a file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "movramake.h"

namespace movra {

// Destination names leave room for ".tmp" in a 256-byte field.
inline constexpr std::size_t kMaxNameLength = 251;
// The widest luma plane whose batch count fields fit the format's 15 bits:
// a colour batch holds up to 511 + 64 values per block of a row.
inline constexpr std::uint32_t kMaxWidth = 4032;
// Keeps every plane below 64 MiB, so that plane sizes and block counts stay
// far inside 32 bits.
inline constexpr std::uint32_t kMaxHeight = 16384;
inline constexpr std::uint32_t kMinWindow = 2;
inline constexpr std::uint32_t kMaxWindow = 64;
// Track formats keep the sample rate in their low 16 bits.
inline constexpr std::uint32_t kMaxSampleRate = 0xFFFF;
// Every offset of the file is a 32-bit field; packets end at or before this.
inline constexpr std::uint64_t kMaxFileOffset = 0xFFFFFFFE;

inline constexpr std::uint32_t kGreyFlag = 0x00020000;
inline constexpr std::uint32_t kAlphaFlag = 0x00100000;

// Rows and columns of the four planes, padded to whole 8 x 8 blocks.
struct PlaneGeometry {
  std::uint32_t lumaWidth = 0;
  std::uint32_t lumaHeight = 0;
  std::uint32_t chromaWidth = 0;
  std::uint32_t chromaHeight = 0;

  std::size_t lumaBytes() const { return std::size_t{lumaWidth} * lumaHeight; }
  std::size_t chromaBytes() const { return std::size_t{chromaWidth} * chromaHeight; }
};

PlaneGeometry planeGeometry(std::uint32_t width, std::uint32_t height);

struct EncoderSettings {
  std::ptrdiff_t pitch = 0;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t frameCount = 0;
  std::uint32_t keyInterval = 0;
  std::uint32_t rateNum = 0;  // reduced to lowest terms
  std::uint32_t rateDiv = 0;
  std::uint32_t scaleMode = 0;  // picture code modulo 100
  bool grey = false;
  bool alpha = false;
  std::uint32_t window = 0;  // 2..64
  std::uint32_t trackCount = 0;
  PlaneGeometry planes;

  std::uint32_t videoFlags() const;
};

struct EncoderArguments {
  const char* name = nullptr;
  std::int32_t pitch = 0;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t frameCount = 0;
  std::uint32_t keyInterval = 0;
  std::uint32_t pictureCode = 0;
  std::uint32_t rateNum = 0;
  std::uint32_t rateDiv = 0;
  std::uint32_t trackCount = 0;
  const MovraMakeTrack* tracks = nullptr;
  std::uint32_t window = 0;
};

struct SettingsResult {
  EncoderSettings settings;
  const char* error = nullptr;  // the kind-2 message when the arguments make no file
};

SettingsResult makeEncoderSettings(const EncoderArguments& arguments);

// Where the first frame packet starts: header, three track tables, index.
std::uint64_t firstPacketOffset(std::uint32_t trackCount, std::uint32_t frameCount);

}  // namespace movra
