// Reducing a block's candidates to the ones worth choosing between.
#pragma once

#include <cstdint>

#include "block_candidate.h"

namespace movra {

// Candidates held while a list is being built: every family adds its points
// before the list is pruned, so there is room for all of them.
struct CandidatePool {
  static constexpr unsigned kCapacity = 512;
  std::array<Candidate, kCapacity> items{};
  unsigned count = 0;

  void add(const Candidate& candidate) {
    if (count < kCapacity) items[count++] = candidate;
  }
};

// The lower convex hull in (rate, distortion), in order of increasing rate:
// each step buys the most distortion per bit.
void reduceToConvexHull(CandidatePool& pool);

// Points that are each dearer and strictly better than the one before.
void reduceToStaircase(CandidatePool& pool);

// Keeps at most `limit` evenly spaced points, always the first and the last.
void resampleTo(CandidatePool& pool, unsigned limit);

}  // namespace movra
