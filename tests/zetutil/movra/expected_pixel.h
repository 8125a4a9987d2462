// A 32-bit pixel as the YUV conversion defines it, worked out without the
// converter's tables.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>

namespace zet::testing {

inline std::uint32_t expectedPixel(int y, int cr, int cb, int alpha, bool swapped, bool grey) {
  auto clampByte = [](int value) { return std::min(std::max(value, 0), 255); };
  int red, green, blue;
  if (grey) {
    red = green = blue = y <= 16 ? 0 : y >= 235 ? 255 : (255 * y - 4080) / 219;
  } else {
    const int l = std::min(std::max(y - 16, 0), 219) * 38154 / 32768;
    red = clampByte(l + (cr - 128) * 52299 / 32768);
    green = clampByte(l - (cr - 128) * 26639 / 32768 - (cb - 128) * 12837 / 32768);
    blue = clampByte(l + (cb - 128) * 66101 / 32768);
    if (swapped) std::swap(red, blue);
  }
  return static_cast<std::uint32_t>(blue | green << 8 | red << 16) | static_cast<std::uint32_t>(alpha) << 24;
}

}  // namespace zet::testing
