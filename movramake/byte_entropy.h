// Order-0 entropy of a set of byte values, the measure the budget planner
// and the colour estimate use for how many bytes a plane's values are worth.
#pragma once

#include <array>
#include <cstdint>

namespace movra {

using ByteHistogram = std::array<std::uint32_t, 256>;

// Sum over values v of count_v x min(-log2(count_v / total), 32) bits, in
// bytes rounded to nearest.
std::uint64_t entropyBytes(const ByteHistogram& counts);

}  // namespace movra
