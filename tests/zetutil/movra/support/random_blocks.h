// Random but valid blocks for a whole plane, for tests that need varied
// content and for the decoding benchmark.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "coded_block.h"

namespace zet::testing {

// Relative weights of the block types 0..9 (SKIP ... RAW); SCALED areas are
// placed where they fit, with one of the five sub types.
using BlockMix = std::array<unsigned, 10>;

// Every type equally often.
BlockMix evenMix();
// A key frame: no type that reads the previous picture.
BlockMix keyFrameMix();
// The blend an encoder produces for moving pictures: mostly copies from the
// previous picture, some transform blocks, a few of the rest.
BlockMix interFrameMix();

// How much each block carries.
enum class BlockDetail {
  kBusy,     // values over their whole ranges: every path of the decoder
  kNatural,  // what an encoder leaves at a moderate rate: few, small coefficients
             // and residues, runs mostly of one colour
};

// Blocks in raster order for a `width` x `height` plane. Residues are
// never cut, so the expected plane follows from their values alone.
std::vector<CodedBlock> randomPlaneBlocks(std::uint32_t width, std::uint32_t height,
                                          const BlockMix& mix, std::mt19937& random,
                                          BlockDetail detail = BlockDetail::kBusy);

}  // namespace zet::testing
