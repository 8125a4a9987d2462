#include "quantiser_choice.h"

#include <algorithm>
#include <cmath>

#include "coefficient_rounding.h"
#include "sound_tables.h"

namespace movra {

namespace {

float roundingError(const float* values, std::uint32_t count, unsigned index) {
  const float step = zet::soundQuantiserSteps()[index];
  const float reciprocal = zet::soundQuantiserReciprocals()[index];
  float error = 0.0f;
  for (std::uint32_t i = 0; i < count; ++i) {
    const float rounded = static_cast<float>(roundCoefficient(values[i] * reciprocal)) * step;
    const float difference = values[i] - rounded;
    error += difference * difference;
  }
  return error;
}

}  // namespace

// The error is not monotonic in the index, so among the accepted indices
// the one with the largest error wins, not simply the last one tried.
std::uint8_t searchQuantiser(const float* values, std::uint32_t count, float allowedNoise) {
  unsigned low = 0, high = zet::kSoundQuantiserIndices;
  unsigned index = (low + high) / 2;
  unsigned chosen = 0;
  float largestAccepted = 0.0f;
  for (;;) {
    const float error = roundingError(values, count, index);
    if (error <= allowedNoise) {
      low = index;
      if (error >= largestAccepted) {
        chosen = index;
        largestAccepted = error;
      }
    } else {
      high = index;
    }
    const unsigned next = (low + high) / 2;
    if (next == index) break;
    index = next;
  }
  return static_cast<std::uint8_t>(chosen);
}

std::uint8_t applyHearingFloor(std::uint8_t index, float level, float bandHearingMinimumDb) {
  if (index == 255) return index;
  const float floorDb = level / 2.0f + bandHearingMinimumDb;
  if (floorDb <= 0.664f * static_cast<float>(index)) return index;
  const float raised = std::round((floorDb + 0.3319f) * 1.5060241f);
  return static_cast<std::uint8_t>(std::min(raised, 255.0f));
}

}  // namespace movra
