// The absolute threshold of hearing, the floor below which the encoder
// spends no bits on a coefficient.
#pragma once

#include <cstdint>

namespace movra {

// Threshold in dB at `kHz`: 3.64 f^-0.8 - 6.5 e^(-0.6 (f - 3.3)^2) + 0.001 f^4,
// which grows without bound toward 0 Hz and is +infinity there.
float hearingThresholdDb(float kHz);

// The threshold of each of the `length` coefficients of a block whose
// spectrum spans 0 .. `halfRate` Hz: coefficient k stands for the whole
// number of Hz k x halfRate / length, taken in kHz.
void fillHearingThresholds(std::uint32_t length, std::uint32_t halfRate, float* thresholdsDb);

}  // namespace movra
