// The candidate list of one 8 x 8 block: every way of coding it that the
// plane's costs make worth considering, reduced to the lower convex hull of
// (rate, distortion) and priced with the block type.
#pragma once

#include <cstdint>
#include <functional>

#include "block_candidate.h"
#include "block_costs.h"
#include "candidate_pruning.h"
#include "run_coding.h"

namespace movra {

struct BlockInputs {
  BlockSamples source{};
  BlockSamples reference{};   // co-located block of the reference picture (inter frames)
  BlockSamples prediction{};  // motion-compensated block (inter frames)
  bool inter = false;
};

void buildBlockCandidates(const BlockInputs& inputs, const BlockCosts& costs, CandidateList& list);

// The INTRA candidates of `samples` at every quantiser that leaves more
// than the DC; `error` measures a rebuilt block (against the full-size area
// for a scaled block).
void addIntraFamily(const BlockSamples& samples, const BlockCosts& costs,
                    const std::function<std::uint32_t(const BlockSamples&)>& error, CandidatePool& pool);

// The colour of a FILL candidate: the middle of the sorted samples.
std::uint8_t fillColour(const BlockSamples& sorted);

// The RUN candidate's filled block (natural order) for its parameter.
BlockSamples runBlockValues(const BlockSamples& source, std::uint16_t parameter);

}  // namespace movra
