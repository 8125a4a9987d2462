// Dequantisation multipliers of the inverse transform: for each of the 16
// quantiser indices, 64 entries in natural block order (row x 8 + column).
// A coefficient is multiplied by its entry and shifted right by 11.
#pragma once

#include <array>
#include <cstdint>

namespace zet {

inline constexpr unsigned kQuantisers = 16;

using QuantiserTable = std::array<std::int32_t, 64>;
using QuantiserSet = std::array<QuantiserTable, kQuantisers>;

// Tables of INTRA blocks (plain and scaled) and of INTER blocks.
const QuantiserSet& intraQuantisers();
const QuantiserSet& interQuantisers();

}  // namespace zet
