// The per-block value codes: transform coefficients of INTRA and INTER
// blocks and the residues of RESIDUE blocks. Both walk the same list of
// coefficient groups in bit-plane passes, most significant first.
#pragma once

#include <cstdint>

#include "bit_reader.h"

namespace zet {

// Reads the AC coefficients of a block into `block` (natural order); the
// caller has zeroed it and set the DC.
// Returns false when the block has no AC coefficient at all.
bool readTransformCoefficients(BitReader& bits, std::int32_t* block);

// Reads a residue cut after its (maskCount + 1)-th use into `residue`
// (natural order, signed bytes modulo 256); the caller has zeroed it.
void readResidue(BitReader& bits, unsigned maskCount, std::uint8_t* residue);

}  // namespace zet
