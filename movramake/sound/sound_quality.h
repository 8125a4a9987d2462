// The level that a track's quality (0 best .. 99 smallest) sets for the
// sound encoder's masking offsets and hearing floor, in dB: 0 .. 96.
#pragma once

#include <cstdint>

namespace movra {

inline float soundQualityLevel(std::uint32_t quality) {
  if (quality <= 4) return 9.0f * static_cast<float>(quality);
  return 36.0f + static_cast<float>(quality - 4) * 60.0f / 95.0f;
}

}  // namespace movra
