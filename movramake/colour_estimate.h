// What one colour value is expected to cost in a plane, from the entropy
// of the values that start a change (and, in inter frames, that the
// previous picture does not already hold).
#pragma once

#include <cstddef>
#include <cstdint>

#include "plane_costs.h"

namespace movra {

// Measures the plane and sets the colour cost, its measured part and a
// fresh (sample, weight) pair in `colour`. `reference` is null for key frames.
void estimateColourCost(const std::uint8_t* plane, const std::uint8_t* reference, std::size_t bytes,
                        ColourEstimate& colour);

// After the plane was coded: the correction that brings the next estimate
// in line with the bits colours really took.
void correctColourCost(ColourEstimate& colour);

}  // namespace movra
