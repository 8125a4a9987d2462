#include "coefficient_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>

#include "scan_orders.h"

namespace zet {

namespace {

// What an entry of the walk stands for when its bit says "something here":
// kGroupThenSplit: coefficients k..k+3, after which the entry stands for the
//   group of 16 starting at k + 4;
// kSplit: that group of 16, split into four groups of four;
// kGroup: coefficients k..k+3;
// kSingle: coefficient k alone.
enum class Mode : std::uint8_t { kGroupThenSplit, kSplit, kGroup, kSingle };

struct Entry {
  std::uint8_t coefficient;
  Mode mode;
};

// The list holds live entries only: an entry empties exactly when the walk
// handles it, so each pass drops those behind it as it goes, and every
// entry from the walk's position to the end then takes one bit. A run of
// zero bits passes over as many entries at once.
class CoefficientWalk {
 public:
  void pushBack(unsigned coefficient, Mode mode) {
    entries_[tail_++] = {static_cast<std::uint8_t>(coefficient), mode};
  }

  // Runs one pass; `readValue(k)` reads coefficient k's value and returns
  // false to end the whole code at once. Returns false when it did.
  template <typename ReadValue>
  bool pass(BitReader& bits, ReadValue&& readValue) {
    // [passStart, kept) gathers the entries this pass leaves live; entries
    // added at the front go below passStart and wait for the next pass.
    const std::size_t passStart = head_;
    std::size_t kept = passStart;
    std::size_t p = passStart;
    for (;;) {
      const std::size_t zeros = std::min(countTrailingZeros(bits.peek(32)), tail_ - p);
      bits.skip(static_cast<unsigned>(zeros));
      if (kept != p) std::copy(entries_.begin() + p, entries_.begin() + p + zeros, entries_.begin() + kept);
      kept += zeros;
      p += zeros;
      if (p == tail_) break;
      if (zeros == 32) continue;
      bits.skip(1);
      Entry& entry = entries_[p];
      const unsigned k = entry.coefficient;
      switch (entry.mode) {
        case Mode::kGroupThenSplit:
          // The entry stays for its next bit.
          entry = {static_cast<std::uint8_t>(k + 4), Mode::kSplit};
          if (!readGroup(bits, k, readValue)) return false;
          break;
        case Mode::kSplit:
          entry.mode = Mode::kGroup;
          pushBack(k + 4, Mode::kGroup);
          pushBack(k + 8, Mode::kGroup);
          pushBack(k + 12, Mode::kGroup);
          break;
        case Mode::kGroup:
          ++p;
          if (!readGroup(bits, k, readValue)) return false;
          break;
        case Mode::kSingle:
          ++p;
          if (!readValue(k)) return false;
          break;
      }
    }
    tail_ = kept;
    return true;
  }

 private:
  static std::size_t countTrailingZeros(std::uint32_t bits) {
    return static_cast<std::size_t>(std::countr_zero(bits));
  }

  template <typename ReadValue>
  bool readGroup(BitReader& bits, unsigned first, ReadValue& readValue) {
    for (unsigned k = first; k < first + 4; ++k) {
      if (bits.readBit()) {
        entries_[--head_] = {static_cast<std::uint8_t>(k), Mode::kSingle};
      } else if (!readValue(k)) {
        return false;
      }
    }
    return true;
  }

  // Only the three initial kGroupThenSplit entries create kSplit ones, so
  // whatever the bits say a block makes at most 16 group readings (64 front
  // entries) and 15 back entries: the list cannot leave this array.
  static constexpr std::size_t kFrontRoom = 64;
  // Only [head_, tail_) is ever read, so the rest stays unset.
  std::array<Entry, kFrontRoom + 16> entries_;
  std::size_t head_ = kFrontRoom;
  std::size_t tail_ = kFrontRoom;
};

// The three 20-coefficient areas each start as one group of four followed
// by a group of 16.
void startAreas(CoefficientWalk& walk) {
  walk.pushBack(4, Mode::kGroupThenSplit);
  walk.pushBack(24, Mode::kGroupThenSplit);
  walk.pushBack(44, Mode::kGroupThenSplit);
}

}  // namespace

bool readTransformCoefficients(BitReader& bits, std::int32_t* block) {
  CoefficientWalk walk;
  startAreas(walk);
  // Coefficient 0 is the DC, sent apart.
  walk.pushBack(1, Mode::kSingle);
  walk.pushBack(2, Mode::kSingle);
  walk.pushBack(3, Mode::kSingle);
  const unsigned planes = bits.read(4);
  for (unsigned plane = planes; plane-- > 0;) {
    walk.pass(bits, [&](unsigned k) {
      std::int32_t value;
      if (plane == 0) {
        value = bits.readBit() ? -1 : 1;
      } else {
        value = static_cast<std::int32_t>(bits.read(plane) + (1u << plane));
        if (bits.readBit()) value = -value;
      }
      block[coefficientOrder[k]] = value;
      return true;
    });
  }
  return planes != 0;
}

void readResidue(BitReader& bits, unsigned maskCount, std::uint8_t* residue) {
  CoefficientWalk walk;
  startAreas(walk);
  walk.pushBack(0, Mode::kGroup);
  std::array<std::uint8_t, 64> madeNonZero;  // block positions, in order; [0, nonZero) is set
  std::size_t nonZero = 0;
  const unsigned usesAllowed = maskCount + 1;
  unsigned uses = 0;
  for (unsigned mask = 1u << bits.read(3); mask != 0; mask >>= 1) {
    const std::size_t earlier = nonZero;
    for (std::size_t i = 0; i < earlier; ++i) {
      if (!bits.readBit()) continue;
      std::uint8_t& value = residue[madeNonZero[i]];
      // Values are signed bytes; refinement moves them away from zero.
      value = static_cast<std::uint8_t>(value & 0x80 ? value - mask : value + mask);
      if (++uses == usesAllowed) return;
    }
    const bool goOn = walk.pass(bits, [&](unsigned k) {
      const std::uint8_t position = coefficientOrder[k];
      residue[position] = static_cast<std::uint8_t>(bits.readBit() ? 0u - mask : mask);
      madeNonZero[nonZero++] = position;
      return ++uses != usesAllowed;
    });
    if (!goOn) return;
  }
}

}  // namespace zet
