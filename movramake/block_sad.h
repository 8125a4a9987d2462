// Sums of absolute differences of 8 x 8 blocks, the encoder's error
// measure, with a plain and an SSE2 variant that give the same results,
// chosen once from the processor's features.
#pragma once

#include <cstdint>

#include "block_view.h"

namespace movra {

struct SadKernels {
  // 64 contiguous samples against each other.
  std::uint32_t (*sad64)(const std::uint8_t* a, const std::uint8_t* b);
  // A plane block against 64 contiguous samples: the SAD when it is at most
  // `limit`, otherwise some value above `limit` (the sum may be abandoned
  // as soon as it passes the limit).
  std::uint32_t (*sadBounded)(const std::uint8_t* block, std::size_t pitch, const std::uint8_t* samples,
                              std::uint32_t limit);
};

const SadKernels& plainSadKernels();
const SadKernels& sse2SadKernels();
const SadKernels& sadKernels();

inline std::uint32_t sad64(const std::uint8_t* a, const std::uint8_t* b) { return sadKernels().sad64(a, b); }

inline std::uint32_t sadBounded(const ConstBlock& block, const std::uint8_t* samples, std::uint32_t limit) {
  return sadKernels().sadBounded(block.data, block.pitch, samples, limit);
}

}  // namespace movra
