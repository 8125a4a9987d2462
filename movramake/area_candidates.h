// The candidate list of one 16 x 16 area, coded as one scaled block: the
// area reduced to 8 x 8, coded with one of the sub types, and doubled. Its
// errors are measured against the full-resolution area.
#pragma once

#include <array>
#include <cstdint>

#include "block_candidate.h"
#include "block_costs.h"
#include "block_view.h"
#include "run_coding.h"

namespace movra {

using AreaSamples = std::array<std::uint8_t, 256>;

struct AreaInputs {
  AreaSamples source{};     // 16 x 16, row by row
  AreaSamples reference{};  // co-located area of the reference picture (inter frames)
  bool inter = false;
};

// Each 2 x 2 cell becomes the mean of its two middle values.
BlockSamples reduceArea(const AreaSamples& area);

// Every sample of an 8 x 8 block as a 2 x 2 square.
AreaSamples expandBlock(const BlockSamples& block);

void buildAreaCandidates(const AreaInputs& inputs, const BlockCosts& costs, CandidateList& list);

// The colour of an area's FILL candidate.
std::uint8_t areaFillColour(const AreaSamples& source);

}  // namespace movra
