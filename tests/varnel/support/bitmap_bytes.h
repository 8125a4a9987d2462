// Bitmap files written byte by byte, so that tests can break any field.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace varnel::testing {

struct BitmapBytesSpec {
  std::int32_t width = 2;
  std::int32_t height = 2;
  std::uint16_t bitCount = 8;
  std::uint32_t headerSize = 40;
  std::uint32_t compression = 0;
  int paletteEntries = 256;  // 4 bytes each, between the headers and the pixels
  std::uint32_t extraGap = 0;  // bytes between the palette and the pixels
  std::vector<std::uint8_t> rowBytes;  // all rows, bottom row first, padded; zeros when empty
};

std::string bitmapBytes(const BitmapBytesSpec& spec);

}  // namespace varnel::testing
