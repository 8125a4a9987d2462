// The choice of each band's 8-bit quantiser index g (step 10^(0.0664 g)).
#pragma once

#include <cstdint>

namespace movra {

// The coarsest index, by binary search over 0 .. 255, at which rounding the
// band's `count` analysis values to step multiples costs no more squared
// error than `allowedNoise`; 0 when none does.
std::uint8_t searchQuantiser(const float* values, std::uint32_t count, float allowedNoise);

// Raises `index` to the floor that the threshold of hearing sets: half the
// quality level above the band's quietest audible coefficient, in dB.
std::uint8_t applyHearingFloor(std::uint8_t index, float level, float bandHearingMinimumDb);

}  // namespace movra
