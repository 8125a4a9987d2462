#include "residue_coding.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>

#include "coefficient_walk.h"
#include "scan_orders.h"

namespace movra {
namespace {

template <typename Sink>
void codeResidueTo(Sink& out, const std::int8_t* differences, const std::function<bool(const ResidueUse&)>& onUse) {
  std::array<std::uint32_t, 64> full{};
  std::uint32_t largest = 0;
  for (unsigned k = 0; k < 64; ++k) {
    full[k] = static_cast<std::uint32_t>(std::abs(differences[zet::coefficientOrder[k]]));
    largest = std::max(largest, full[k]);
  }
  const unsigned exponent = static_cast<unsigned>(std::bit_width(largest)) - 1;
  out.put(exponent, 3);

  CoefficientWalk walk(full);
  walk.pushBack(4, CoefficientWalk::Mode::kGroupThenSplit);
  walk.pushBack(24, CoefficientWalk::Mode::kGroupThenSplit);
  walk.pushBack(44, CoefficientWalk::Mode::kGroupThenSplit);
  walk.pushBack(0, CoefficientWalk::Mode::kGroup);

  std::array<std::uint8_t, 64> madeNonZero{};  // coefficient numbers, in order
  std::array<std::uint8_t, 64> value{};         // current residue by coefficient number
  unsigned nonZero = 0;
  unsigned uses = 0;
  const auto use = [&](unsigned k) {
    const ResidueUse report{uses++, zet::coefficientOrder[k], value[k], out.bitCount()};
    return onUse(report);
  };

  for (std::uint32_t mask = 1u << exponent; mask != 0; mask >>= 1) {
    const unsigned earlier = nonZero;
    for (unsigned i = 0; i < earlier; ++i) {
      const unsigned k = madeNonZero[i];
      const bool refine = (full[k] & mask) != 0;
      out.putBit(refine);
      if (!refine) continue;
      value[k] = static_cast<std::uint8_t>(value[k] & 0x80 ? value[k] - mask : value[k] + mask);
      if (!use(k)) return;
    }
    const bool goOn = walk.pass(out, mask, [&](unsigned k) {
      const bool negative = differences[zet::coefficientOrder[k]] < 0;
      out.putBit(negative);
      value[k] = static_cast<std::uint8_t>(negative ? 0u - mask : mask);
      madeNonZero[nonZero++] = static_cast<std::uint8_t>(k);
      return use(k);
    });
    if (!goOn) return;
  }
}

}  // namespace

void codeResidue(BitRecorder& out, const std::int8_t* differences, const std::function<bool(const ResidueUse&)>& onUse) {
  codeResidueTo(out, differences, onUse);
}

void measureResidue(const std::int8_t* differences, const std::function<bool(const ResidueUse&)>& onUse) {
  BitCounter counter;
  codeResidueTo(counter, differences, onUse);
}

}  // namespace movra
