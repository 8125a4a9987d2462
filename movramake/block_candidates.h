// The candidate list of one 8 x 8 block: every way of coding it that the
// plane's costs make worth considering, reduced to the lower convex hull of
// (rate, distortion) and priced with the block type.
#pragma once

#include <cstdint>

#include "block_candidate.h"
#include "block_costs.h"
#include "run_coding.h"

namespace movra {

struct BlockInputs {
  BlockSamples source{};
  BlockSamples reference{};   // co-located block of the reference picture (inter frames)
  BlockSamples prediction{};  // motion-compensated block (inter frames)
  bool inter = false;
};

void buildBlockCandidates(const BlockInputs& inputs, const BlockCosts& costs, CandidateList& list);

// The colour of a FILL candidate: the middle of the sorted samples.
std::uint8_t fillColour(const BlockSamples& sorted);

// The RUN candidate's filled block (natural order) for its parameter.
BlockSamples runBlockValues(const BlockSamples& source, std::uint16_t parameter);

}  // namespace movra
