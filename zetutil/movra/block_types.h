// The block types of the house video format, as coded in `block_types`.
#pragma once

#include <cstdint>

namespace zet {

enum class BlockType : std::uint8_t {
  kSkip = 0,
  kScaled = 1,
  kMotion = 2,
  kRun = 3,
  kResidue = 4,
  kIntra = 5,
  kFill = 6,
  kInter = 7,
  kPattern = 8,
  kRaw = 9,
};

// Motion offsets reach this far in each direction.
inline constexpr int kMotionRange = 15;

}  // namespace zet
