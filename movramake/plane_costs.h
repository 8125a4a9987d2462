// What the encoder expects one symbol of each kind of side information to
// cost in a plane, in 1/256 bit, learned from the planes coded before. Each
// estimate averages four (bits, symbols) samples and stays inside bounds
// that keep one odd frame from swinging the next frame's decisions.
#pragma once

#include <array>
#include <cstdint>

#include "frame_planes.h"

namespace movra {

class CostHistory {
 public:
  CostHistory() = default;
  CostHistory(std::uint32_t low, std::uint32_t high, std::uint32_t initialSample,
              std::uint32_t initialWeight);

  std::uint32_t value() const { return value_; }
  // The clamped average of the four samples becomes the value, then the
  // history moves one place: the oldest sample drops and the newest stays
  // in place until the next plane's coding replaces it.
  void refreshAndShift();
  void replaceNewest(std::uint32_t sample, std::uint32_t weight);

 private:
  std::array<std::uint32_t, 4> samples_{};
  std::array<std::uint32_t, 4> weights_{};
  std::uint32_t low_ = 0;
  std::uint32_t high_ = 0;
  std::uint32_t value_ = 0;
};

// The colour cost follows the entropy of the plane's own values (measured
// before each frame) plus a correction learned from the bits colours took.
struct ColourEstimate {
  std::uint32_t cost = 640;
  std::uint32_t entropyCost = 640;  // the measured part, "a"
  std::int64_t correction = 0;
  std::uint32_t sample = 0;
  std::uint32_t weight = 1;
};

struct PlaneCosts {
  CostHistory blockType;
  CostHistory subType;
  CostHistory pattern;
  CostHistory motion;
  CostHistory intraDc;
  CostHistory interDc;
  CostHistory run;
  ColourEstimate colour;

  void refreshAndShift();
};

PlaneCosts initialPlaneCosts(PlaneIndex plane);

}  // namespace movra
