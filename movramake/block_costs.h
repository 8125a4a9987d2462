// The per-symbol cost estimates a plane's candidates are priced with, in
// 1/256 bit, taken from the plane's cost state before its passes.
#pragma once

#include <cstdint>

#include "plane_costs.h"

namespace movra {

struct BlockCosts {
  std::uint32_t blockType = 0;  // T
  std::uint32_t subType = 0;    // U
  std::uint32_t colour = 0;     // C
  std::uint32_t pattern = 0;    // P
  std::uint32_t motion = 0;     // M
  std::uint32_t intraDc = 0;    // Di
  std::uint32_t interDc = 0;    // De
  std::uint32_t run = 0;        // Rr
};

inline BlockCosts blockCostsOf(const PlaneCosts& costs) {
  return {costs.blockType.value(), costs.subType.value(), costs.colour.cost,   costs.pattern.value(),
          costs.motion.value(),    costs.intraDc.value(), costs.interDc.value(), costs.run.value()};
}

}  // namespace movra
