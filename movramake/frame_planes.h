// The planes of one picture as the encoder keeps it: luma, the two chroma
// planes and alpha, each padded to whole 8 x 8 blocks.
#pragma once

#include <array>
#include <cstdint>

namespace movra {

enum PlaneIndex : unsigned { kLuma = 0, kCr = 1, kCb = 2, kAlpha = 3 };
inline constexpr unsigned kPlaneCount = 4;

struct FramePlanes {
  // Null for a plane the movie does not carry (chroma of grey video, alpha
  // without an alpha plane).
  std::array<std::uint8_t*, kPlaneCount> plane{};
};

}  // namespace movra
