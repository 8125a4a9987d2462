// a x b / c for the byte and sample counts that combine rates, frame counts
// and running totals: their products can pass 64 bits on long movies with
// odd frame rates, so the product is kept exact.
#pragma once

#include <cstdint>

namespace movra {

// floor(a x b / c), or the largest 64-bit value when that does not fit (and
// when c is 0).
std::uint64_t mulDiv(std::uint64_t a, std::uint64_t b, std::uint64_t c);

}  // namespace movra
