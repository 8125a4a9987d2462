// Ways to code one 8 x 8 block or one 16 x 16 area, each with its cost in
// 1/256 bit and the error (sum of absolute differences) it leaves.
#pragma once

#include <array>
#include <cstdint>

namespace movra {

// Block types as the bit stream codes them, plus the keep-four entry of an
// area's list (its four 8 x 8 blocks stay as they were allocated).
enum BlockKind : std::uint8_t {
  kSkipBlock = 0,
  kScaledBlock = 1,
  kMotionBlock = 2,
  kRunBlock = 3,
  kResidueBlock = 4,
  kIntraBlock = 5,
  kFillBlock = 6,
  kInterBlock = 7,
  kPatternBlock = 8,
  kRawBlock = 9,
  kKeepFour = 15,
};

struct Candidate {
  std::uint8_t type = 0;
  // Quantiser, colour, scan x 256 + threshold, mask count, or low + 256 x
  // high colour, by type.
  std::uint16_t parameter = 0;
  std::uint32_t rate = 0;
  std::uint32_t distortion = 0;
};

// Lists keep at most this many points, so that the allocation stays linear
// in the number of blocks.
inline constexpr unsigned kMaxCandidates = 32;
inline constexpr unsigned kMaxAreaCandidates = 31;  // one place is kept for keep-four

struct CandidateList {
  std::int8_t dx = 0;  // motion vector of an 8 x 8 block of an inter frame
  std::int8_t dy = 0;
  std::uint8_t count = 0;
  std::uint8_t chosenIndex = 0;
  std::array<Candidate, kMaxCandidates> candidates{};
  Candidate chosen;

  void add(const Candidate& candidate) { candidates[count++] = candidate; }
};

}  // namespace movra
