#include "hearing_threshold.h"

#include <cmath>
#include <limits>

namespace movra {

float hearingThresholdDb(float kHz) {
  if (kHz <= 0.0f) return std::numeric_limits<float>::infinity();
  const double f = kHz;
  const double offset = f - 3.3;
  return static_cast<float>(3.64 * std::pow(f, -0.8) - 6.5 * std::exp(-0.6 * offset * offset) +
                            0.001 * f * f * f * f);
}

void fillHearingThresholds(std::uint32_t length, std::uint32_t halfRate, float* thresholdsDb) {
  for (std::uint32_t k = 0; k < length; ++k) {
    const std::uint64_t hz = std::uint64_t{k} * halfRate / length;
    thresholdsDb[k] = hearingThresholdDb(static_cast<float>(hz) / 1000.0f);
  }
}

}  // namespace movra
