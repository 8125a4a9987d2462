// How the encoder turns a scaled coefficient into a coded magnitude:
// rounded half away from zero and held to +/-32767, the most 15 bits carry.
#pragma once

#include <algorithm>
#include <cstdint>

namespace movra {

inline constexpr float kLargestCodedMagnitude = 32767.0f;

inline std::int32_t roundCoefficient(float x) {
  // Clamped first, so that the conversion below is always defined.
  const float y = std::clamp(x, -kLargestCodedMagnitude, kLargestCodedMagnitude);
  auto whole = static_cast<std::int32_t>(y);
  const float fraction = y - static_cast<float>(whole);
  if (fraction >= 0.5f) ++whole;
  if (fraction <= -0.5f) --whole;
  return whole;
}

}  // namespace movra
