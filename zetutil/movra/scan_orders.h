// Orders of the 64 positions of an 8x8 block (position = row x 8 + column).
#pragma once

#include <array>
#include <cstdint>

namespace zet {

inline constexpr unsigned kRunScanOrders = 16;

using BlockOrder = std::array<std::uint8_t, 64>;

// The orders a RUN block walks its pixels in, chosen per block by a 4-bit index.
extern const std::array<BlockOrder, kRunScanOrders> runScanOrders;

// Block position of transform coefficient and residue value k: coefficients
// are coded in 4-value groups of 2x2 squares, low frequencies first.
extern const BlockOrder coefficientOrder;

}  // namespace zet
