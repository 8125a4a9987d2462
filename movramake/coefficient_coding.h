// Coding the AC coefficients of INTRA, INTER and scaled INTRA blocks: a
// 4-bit count of bit planes, then the coefficient walk from the most
// significant plane down, each coefficient sent whole in the pass where it
// becomes significant.
#pragma once

#include <cstdint>

#include "bit_recorder.h"

namespace movra {

// `block`: quantised coefficients in natural order; position 0 (the DC)
// is not coded here. Magnitudes stay below 2^15.
void writeTransformCoefficients(BitRecorder& out, const std::int32_t* block);

// The bits writeTransformCoefficients takes, the 4-bit count included.
std::uint32_t transformCoefficientBits(const std::int32_t* block);

}  // namespace movra
