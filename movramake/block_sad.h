// Sums of absolute differences of 8 x 8 blocks, the encoder's error measure.
#pragma once

#include <cstdint>

#include "block_view.h"

namespace movra {

// 64 contiguous samples against each other.
std::uint32_t sad64(const std::uint8_t* a, const std::uint8_t* b);

// The SAD of a plane block against 64 contiguous samples, summed row by row
// and abandoned once it exceeds `limit` (the result is then above `limit`).
std::uint32_t sadBounded(const ConstBlock& block, const std::uint8_t* samples, std::uint32_t limit);

}  // namespace movra
