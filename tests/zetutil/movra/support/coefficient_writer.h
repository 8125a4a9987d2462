// Writes the per-block value codes: transform coefficients and residues,
// given by coefficient number (the order blocks code them in).
#pragma once

#include <array>

#include "bit_writer.h"

namespace zet::testing {

using CoefficientValues = std::array<int, 64>;

// Coefficients 1 to 63 (number 0, the DC, travels in its bundle), each of
// magnitude below 2^15.
void writeTransformCoefficients(BitWriter& bits, const CoefficientValues& values);

// A residue of values of magnitude up to 255, kept modulo 256 as the
// decoder keeps them (so 128 and -128 give the same byte, and 192 shows how
// a byte with its top bit set is refined),
// cut after its (maskCount + 1)-th use. Returns the uses the whole residue
// needs, so a test can tell whether the cut fell inside it.
unsigned writeResidue(BitWriter& bits, const CoefficientValues& values, unsigned maskCount);

}  // namespace zet::testing
