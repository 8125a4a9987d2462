#include "scaled_arithmetic.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

TEST(ScaledArithmetic, MulDivKeepsProductsPastSixtyFourBitsExact) {
  struct Case {
    std::uint64_t a, b, c, expected;
  };
  const Case cases[] = {
      {44100, 15, 15, 44100},
      {7, 3, 2, 10},
      // 2^40 x 2^40 / 2^41 = 2^39
      {1ull << 40, 1ull << 40, 1ull << 41, 1ull << 39},
      // 176400 bytes per second x 10^9 frames x 1001 / 30000
      {176400ull * 1000000000ull, 1001, 30000, 5885880000000ull},
      // (2^63 + 1) x 6 / 4: the product needs 66 bits
      {(1ull << 63) + 1, 6, 4, 13835058055282163713ull},
      {~0ull, ~0ull, ~0ull, ~0ull},
      {~0ull, 3, 2, ~0ull},  // does not fit: saturates
      {5, 5, 0, ~0ull},
  };
  for (const Case& c : cases) EXPECT_EQ(mulDiv(c.a, c.b, c.c), c.expected) << c.a << " " << c.b << " " << c.c;
}

}  // namespace
}  // namespace movra
