// The records of an 8-bit or 24-bit bitmap held in memory.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace varnel {

// A colour that knows its palette index; Index is -1 for pixels of 24-bit images.
struct ImageColor {
  std::uint8_t Blue = 0;
  std::uint8_t Green = 0;
  std::uint8_t Red = 0;
  std::int16_t Index = 0;

  bool sameColorAs(const ImageColor& other) const {
    return Blue == other.Blue && Green == other.Green && Red == other.Red;
  }
  bool operator==(const ImageColor&) const = default;
};

struct PaletteEntry {
  std::uint8_t Blue = 0;
  std::uint8_t Green = 0;
  std::uint8_t Red = 0;
  bool operator==(const PaletteEntry&) const = default;
};

using Palette = std::vector<PaletteEntry>;

inline constexpr int kPaletteSize = 256;

struct BitmapFileHeader {
  std::array<char, 2> Type = {'B', 'M'};
  std::uint32_t FileSize = 0;
  std::uint16_t Reserved1 = 0;
  std::uint16_t Reserved2 = 0;
  std::uint32_t PixelDataOffset = 0;
};

struct BitmapInfoHeader {
  std::uint32_t HeaderSize = 40;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::uint16_t Planes = 1;
  std::uint16_t BitCount = 8;
  std::uint32_t Compression = 0;
  std::uint32_t ImageSize = 0;
  std::int32_t XPelsPerMeter = 3780;
  std::int32_t YPelsPerMeter = 3780;
  std::uint32_t ColorsUsed = 0;
  std::uint32_t ColorsImportant = 0;
};

inline constexpr std::uint32_t kFileHeaderBytes = 14;
inline constexpr std::uint32_t kInfoHeaderBytes = 40;

}  // namespace varnel
