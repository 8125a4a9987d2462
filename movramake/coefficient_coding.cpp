#include "coefficient_coding.h"

#include <bit>
#include <cstdlib>

#include "coefficient_walk.h"
#include "scan_orders.h"

namespace movra {
namespace {

template <typename Sink>
void codeCoefficients(Sink& out, const std::int32_t* block) {
  std::array<std::uint32_t, 64> magnitude{};
  unsigned planes = 0;
  for (unsigned k = 1; k < 64; ++k) {
    magnitude[k] = static_cast<std::uint32_t>(std::abs(block[zet::coefficientOrder[k]]));
    planes = std::max(planes, static_cast<unsigned>(std::bit_width(magnitude[k])));
  }
  out.put(planes, 4);

  CoefficientWalk walk(magnitude);
  walk.pushBack(4, CoefficientWalk::Mode::kGroupThenSplit);
  walk.pushBack(24, CoefficientWalk::Mode::kGroupThenSplit);
  walk.pushBack(44, CoefficientWalk::Mode::kGroupThenSplit);
  walk.pushBack(1, CoefficientWalk::Mode::kSingle);
  walk.pushBack(2, CoefficientWalk::Mode::kSingle);
  walk.pushBack(3, CoefficientWalk::Mode::kSingle);
  for (unsigned plane = planes; plane-- > 0;) {
    walk.pass(out, 1u << plane, [&](unsigned k) {
      const std::int32_t value = block[zet::coefficientOrder[k]];
      if (plane > 0) out.put(magnitude[k] - (1u << plane), plane);
      out.putBit(value < 0);
      return true;
    });
  }
}

}  // namespace

void writeTransformCoefficients(BitRecorder& out, const std::int32_t* block) { codeCoefficients(out, block); }

std::uint32_t transformCoefficientBits(const std::int32_t* block) {
  BitCounter counter;
  codeCoefficients(counter, block);
  return static_cast<std::uint32_t>(counter.bitCount());
}

}  // namespace movra
