#include "plane_costs.h"

#include <algorithm>
#include <numeric>

namespace movra {

CostHistory::CostHistory(std::uint32_t low, std::uint32_t high, std::uint32_t initialSample,
                         std::uint32_t initialWeight)
    : low_(low), high_(high) {
  samples_.fill(initialSample);
  weights_.fill(initialWeight);
  refreshAndShift();
}

void CostHistory::refreshAndShift() {
  const std::uint64_t samples = std::accumulate(samples_.begin(), samples_.end(), std::uint64_t{0});
  const std::uint64_t weights = std::accumulate(weights_.begin(), weights_.end(), std::uint64_t{0});
  const std::uint64_t average = weights == 0 ? high_ : 256 * samples / weights;
  value_ = static_cast<std::uint32_t>(std::clamp<std::uint64_t>(average, low_, high_));
  for (std::size_t i = samples_.size() - 1; i > 0; --i) {
    samples_[i] = samples_[i - 1];
    weights_[i] = weights_[i - 1];
  }
}

void CostHistory::replaceNewest(std::uint32_t sample, std::uint32_t weight) {
  samples_[0] = sample;
  weights_[0] = weight;
}

void PlaneCosts::refreshAndShift() {
  for (CostHistory* history : {&blockType, &subType, &pattern, &motion, &intraDc, &interDc, &run}) {
    history->refreshAndShift();
  }
}

PlaneCosts initialPlaneCosts(PlaneIndex plane) {
  // Initial samples per plane kind: luma, chroma, alpha. All weights are 10.
  struct Start {
    std::uint32_t low, high;
    std::array<std::uint32_t, 3> sample;
  };
  constexpr Start kBlockType{102, 1024, {17, 12, 13}};
  constexpr Start kSubType{76, 1024, {13, 10, 9}};
  constexpr Start kPattern{8192, 16384, {510, 550, 510}};
  constexpr Start kMotion{1024, 2560, {80, 90, 70}};
  constexpr Start kIntraDc{1152, 2816, {94, 98, 92}};
  constexpr Start kInterDc{947, 2816, {60, 65, 57}};
  constexpr Start kRun{384, 1024, {35, 35, 31}};
  const std::size_t kind = plane == kLuma ? 0 : plane == kAlpha ? 2 : 1;
  const auto make = [kind](const Start& start) {
    return CostHistory(start.low, start.high, start.sample[kind], 10);
  };
  PlaneCosts costs;
  costs.blockType = make(kBlockType);
  costs.subType = make(kSubType);
  costs.pattern = make(kPattern);
  costs.motion = make(kMotion);
  costs.intraDc = make(kIntraDc);
  costs.interDc = make(kInterDc);
  costs.run = make(kRun);
  return costs;
}

}  // namespace movra
