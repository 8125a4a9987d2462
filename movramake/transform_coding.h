// The integer forward transform of 8 x 8 blocks, quantisation with the
// encoder's tables, and reconstruction through the decoder's own inverse
// transform, for INTRA and INTER blocks.
#pragma once

#include <array>
#include <cstdint>

#include "run_coding.h"

namespace movra {

using Coefficients = std::array<std::int32_t, 64>;  // natural order

// Intra blocks transform the samples (0..255), inter blocks the differences
// from the prediction (-128..127).
Coefficients forwardTransform(const std::array<std::int32_t, 64>& samples);

enum class QuantiserKind { kIntra, kInter };

// The encoder's multiplier of quantiser q at position p: 2^35 over the
// decoder's multiplier before its rounding, rounded through single precision.
std::uint32_t encoderQuantiser(QuantiserKind kind, unsigned q, unsigned p);

// Quantised coefficients: the low 16 bits of (c x Q + 0x1FFFFFFF) >> 30.
Coefficients quantise(const Coefficients& coefficients, QuantiserKind kind, unsigned q);

// True when every coefficient but the DC is zero.
bool onlyDc(const Coefficients& quantised);

// What the decoder rebuilds: the inverse transform with the dequantisation
// of quantiser q, alone (intra) or added to `prediction` (inter).
BlockSamples reconstructIntra(const Coefficients& quantised, unsigned q);
BlockSamples reconstructInter(const Coefficients& quantised, unsigned q, const BlockSamples& prediction);

}  // namespace movra
