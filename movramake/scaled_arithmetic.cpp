#include "scaled_arithmetic.h"

#include <limits>

namespace movra {
namespace {

struct Wide {
  std::uint64_t high = 0;
  std::uint64_t low = 0;
};

Wide multiply(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t aLow = a & 0xFFFFFFFFu, aHigh = a >> 32;
  const std::uint64_t bLow = b & 0xFFFFFFFFu, bHigh = b >> 32;
  const std::uint64_t lowLow = aLow * bLow;
  const std::uint64_t lowHigh = aLow * bHigh;
  const std::uint64_t highLow = aHigh * bLow;
  const std::uint64_t highHigh = aHigh * bHigh;
  const std::uint64_t middle = (lowLow >> 32) + (lowHigh & 0xFFFFFFFFu) + (highLow & 0xFFFFFFFFu);
  Wide product;
  product.low = (middle << 32) | (lowLow & 0xFFFFFFFFu);
  product.high = highHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32);
  return product;
}

}  // namespace

std::uint64_t mulDiv(std::uint64_t a, std::uint64_t b, std::uint64_t c) {
  constexpr std::uint64_t kAll = std::numeric_limits<std::uint64_t>::max();
  if (c == 0) return kAll;
  const Wide product = multiply(a, b);
  if (product.high >= c) return kAll;  // the quotient needs more than 64 bits
  if (product.high == 0) return product.low / c;
  // Restoring division, one bit at a time: the remainder stays below c, and
  // the quotient is known to fit in 64 bits.
  std::uint64_t remainder = product.high;
  std::uint64_t quotient = 0;
  for (int bit = 63; bit >= 0; --bit) {
    const bool carry = (remainder >> 63) != 0;
    remainder = (remainder << 1) | ((product.low >> bit) & 1);
    quotient <<= 1;
    if (carry || remainder >= c) {
      remainder -= c;
      quotient |= 1;
    }
  }
  return quotient;
}

}  // namespace movra
