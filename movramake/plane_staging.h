// The first pass of coding a plane: every block, by its chosen candidate,
// puts its values into the nine bundles in the order the decoder takes
// them and its own bits aside, and is rebuilt into the new reconstruction
// exactly as the decoder will rebuild it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "bit_recorder.h"
#include "block_candidate.h"

namespace movra {

enum BundleIndex : unsigned {
  kBlockTypesBundle,
  kBlockSubtypesBundle,
  kColorsBundle,
  kPatternsBundle,
  kXOffsetsBundle,
  kYOffsetsBundle,
  kIntraDcBundle,
  kInterDcBundle,
  kRunsBundle,
};
inline constexpr unsigned kBundles = 9;

// Marks, in a block's chosen type, the blocks of a scaled area that the
// decoder passes over (the two right-hand ones).
inline constexpr std::uint8_t kCoveredBlock = 0xFE;

struct PlaneToCode {
  const std::uint8_t* source = nullptr;
  const std::uint8_t* reference = nullptr;  // the previous reconstruction (inter frames)
  std::uint8_t* reconstruction = nullptr;
  std::uint32_t width = 0;  // multiples of 8; rows are `width` apart in all three planes
  std::uint32_t height = 0;
  // One list per 8 x 8 block, row by row, with its choice: a scaled area's
  // top-left block has type kScaledBlock and its sub type in `subtype`, its
  // bottom-left block type kScaledBlock with `subtype` 0, the right-hand
  // blocks kCoveredBlock.
  const CandidateList* blocks = nullptr;
  const std::uint8_t* subtypes = nullptr;
};

struct StagedPlane {
  std::array<std::vector<std::int32_t>, kBundles> values;
  // For each bundle, the number of its values after each block row.
  std::array<std::vector<std::size_t>, kBundles> rowEnds;
  BitRecorder blockBits;
  std::vector<std::uint64_t> rowBitEnds;
};

void stagePlane(const PlaneToCode& plane, StagedPlane& staged);

}  // namespace movra
