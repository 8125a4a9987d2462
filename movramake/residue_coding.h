// RESIDUE blocks: the difference between the source and the motion-
// compensated prediction, coded bit plane by bit plane. Every use of the
// code (a value made non-zero, or moved away from zero by the pass's mask)
// refines the block, so a residue can be cut after any use; the block's
// 7-bit mask count says after which.
#pragma once

#include <cstdint>
#include <functional>

#include "bit_recorder.h"

namespace movra {

struct ResidueUse {
  unsigned index = 0;            // 0 for the first use
  std::uint8_t position = 0;     // block position whose value changed
  std::uint8_t value = 0;        // its residue value now (a signed byte)
  std::uint64_t bitsSoFar = 0;   // bits of the code up to and including this use
};

// Codes the differences (signed bytes in natural order, not all zero) and
// reports each use; `onUse` returns false to cut the code after that use.
// The code starts with its 3-bit exponent.
void codeResidue(BitRecorder& out, const std::int8_t* differences, const std::function<bool(const ResidueUse&)>& onUse);
void measureResidue(const std::int8_t* differences, const std::function<bool(const ResidueUse&)>& onUse);

}  // namespace movra
