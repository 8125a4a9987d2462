// The 29-bit float that carries a block's first two coefficients: bits 0..4
// exponent p, bits 5..27 mantissa m, bit 28 sign; the value is
// m x 2^(p - 23), and 0 for p >= 24.
#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace zet {

inline constexpr unsigned kSoundFloatBits = 29;

inline float decodeSoundFloat(std::uint32_t field) {
  const int exponent = static_cast<int>(field & 31u);
  if (exponent >= 24) return 0.0f;
  const float magnitude = std::ldexp(static_cast<float>((field >> 5) & 0x7FFFFFu), exponent - 23);
  return (field >> 28) & 1u ? -magnitude : magnitude;
}

// The exponent is the bit length of the magnitude rounded to an integer,
// which keeps the mantissa below 2^23. Magnitudes of 2^23 and more have no
// exponent the decoder accepts; they are sent as the largest one it does.
inline std::uint32_t encodeSoundFloat(float value) {
  const float magnitude = std::min(std::fabs(value), 8388607.0f);
  const auto exponent =
      static_cast<unsigned>(std::bit_width(static_cast<std::uint32_t>(std::lround(magnitude))));
  const auto mantissa = static_cast<std::uint32_t>(
      std::nearbyint(std::ldexp(magnitude, 23 - static_cast<int>(exponent))));
  const std::uint32_t sign = value < 0.0f ? 1u : 0u;
  return exponent | mantissa << 5 | sign << 28;
}

}  // namespace zet
