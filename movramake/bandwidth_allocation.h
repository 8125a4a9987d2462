// Spends a frame's bits across its blocks by steepest descent: every block
// starts at its cheapest candidate, and the step that removes the most
// distortion per bit is taken next until the budget is spent.
#pragma once

#include <cstdint>
#include <vector>

#include "block_candidate.h"

namespace movra {

// Sets every list's choice. Empty lists are left without one.
void allocateBandwidth(const std::vector<CandidateList*>& lists, std::uint32_t budgetBytes);

}  // namespace movra
