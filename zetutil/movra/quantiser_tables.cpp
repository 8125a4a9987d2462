#include "quantiser_tables.h"

#include <cmath>
#include <numbers>

namespace zet {

namespace {

using WeightMatrix = std::array<std::uint8_t, 64>;

constexpr WeightMatrix kIntraWeights = {
    16, 16, 16, 19, 16, 19, 22, 22,  //
    22, 22, 26, 24, 26, 22, 22, 27,  //
    27, 27, 26, 26, 26, 29, 29, 29,  //
    27, 27, 27, 26, 34, 34, 34, 29,  //
    29, 29, 27, 27, 37, 34, 34, 32,  //
    32, 29, 29, 38, 37, 35, 35, 34,  //
    35, 40, 40, 40, 38, 38, 48, 48,  //
    46, 46, 58, 56, 56, 69, 69, 83,
};

constexpr WeightMatrix kInterWeights = {
    16, 17, 17, 18, 18, 18, 19, 19,  //
    19, 19, 20, 20, 20, 20, 20, 21,  //
    21, 21, 21, 21, 21, 22, 22, 22,  //
    22, 22, 22, 22, 23, 23, 23, 23,  //
    23, 23, 23, 23, 24, 24, 24, 25,  //
    24, 24, 24, 25, 26, 26, 26, 26,  //
    25, 27, 27, 27, 27, 27, 28, 28,  //
    28, 28, 30, 30, 30, 31, 31, 33,
};

constexpr std::array<double, kQuantisers> kSteps = {
    1.0, 4.0 / 3.0, 5.0 / 3.0, 2.0, 8.0 / 3.0, 7.0 / 2.0, 4.0, 5.0,
    6.0, 8.0,       12.0,      17.0, 22.0,     28.0,      34.0, 44.0,
};

// Scale of the transform's basis k, folded into the multipliers so that the
// inverse transform itself needs no per-coefficient scaling.
double basisScale(unsigned k) {
  if (k == 0 || k == 4) return 1.0;
  return std::numbers::sqrt2 * std::cos(k * std::numbers::pi / 16.0);
}

QuantiserSet buildSet(const WeightMatrix& weights) {
  QuantiserSet set{};
  for (unsigned q = 0; q < kQuantisers; ++q) {
    for (unsigned p = 0; p < 64; ++p) {
      const double product =
          weights[p] / 16.0 * basisScale(p / 8) * basisScale(p % 8) * kSteps[q] * 65536.0;
      // The product passes through single precision before it is rounded:
      // that is how the multipliers were first made, and rounding the double
      // directly gives one less for a few percent of the entries.
      const auto single = static_cast<float>(product);
      set[q][p] = static_cast<std::int32_t>(std::floor(static_cast<double>(single) + 0.5));
    }
  }
  return set;
}

}  // namespace

const QuantiserSet& intraQuantisers() {
  static const QuantiserSet set = buildSet(kIntraWeights);
  return set;
}

const QuantiserSet& interQuantisers() {
  static const QuantiserSet set = buildSet(kInterWeights);
  return set;
}

}  // namespace zet
