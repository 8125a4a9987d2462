// The walk over coefficient groups that transform coefficients and residues
// are coded with, from the writing side: in each bit-plane pass every open
// entry says with one bit whether one of its coefficients becomes
// significant now, and a group that does says so for each of its four. The
// list evolves exactly as the decoder's does, so both walk the same entries
// in the same order.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace movra {

class CoefficientWalk {
 public:
  enum class Mode : std::uint8_t { kEmpty, kGroupThenSplit, kSplit, kGroup, kSingle };

  // `magnitude` by coefficient number. An open entry only ever stands for
  // coefficients not yet sent, so the largest magnitude of each entry's
  // span, taken once here, answers every pass's question about it.
  explicit CoefficientWalk(const std::array<std::uint32_t, 64>& magnitude) {
    for (unsigned k = 0; k < 64; ++k) largest_[0][k] = magnitude[k];
    for (unsigned k = 0; k + 4 <= 64; ++k) {
      largest_[1][k] = std::max({magnitude[k], magnitude[k + 1], magnitude[k + 2], magnitude[k + 3]});
    }
    for (unsigned k = 0; k + 16 <= 64; ++k) {
      largest_[2][k] = std::max({largest_[1][k], largest_[1][k + 4], largest_[1][k + 8], largest_[1][k + 12]});
    }
    for (unsigned k = 0; k + 20 <= 64; ++k) largest_[3][k] = std::max(largest_[1][k], largest_[2][k + 4]);
  }

  void pushBack(unsigned coefficient, Mode mode) {
    entries_[tail_++] = {static_cast<std::uint8_t>(coefficient), mode};
  }

  // One pass at `threshold`: a coefficient not yet sent becomes significant
  // when its magnitude reaches it. `sendValue(k)` writes coefficient k's
  // value and returns false to end the whole code at once; pass() then
  // returns false.
  template <typename Sink, typename SendValue>
  bool pass(Sink& out, std::uint32_t threshold, SendValue&& sendValue) {
    for (std::size_t p = head_; p < tail_;) {
      Entry& entry = entries_[p];
      if (entry.mode == Mode::kEmpty) {
        ++p;
        continue;
      }
      const unsigned k = entry.coefficient;
      const bool significant = largest_[spanIndex(entry.mode)][k] >= threshold;
      out.putBit(significant);
      if (!significant) {
        ++p;
        continue;
      }
      switch (entry.mode) {
        case Mode::kGroupThenSplit:
          entry = {static_cast<std::uint8_t>(k + 4), Mode::kSplit};
          if (!sendGroup(out, threshold, k, sendValue)) return false;
          break;
        case Mode::kSplit:
          entry.mode = Mode::kGroup;
          pushBack(k + 4, Mode::kGroup);
          pushBack(k + 8, Mode::kGroup);
          pushBack(k + 12, Mode::kGroup);
          break;
        case Mode::kGroup:
          entry.mode = Mode::kEmpty;
          ++p;
          if (!sendGroup(out, threshold, k, sendValue)) return false;
          break;
        case Mode::kSingle:
          entry.mode = Mode::kEmpty;
          ++p;
          if (!sendValue(k)) return false;
          break;
        case Mode::kEmpty:
          break;
      }
    }
    return true;
  }

 private:
  struct Entry {
    std::uint8_t coefficient;
    Mode mode;
  };

  // Which of `largest_` covers an entry: 1, 4, 16 or 20 coefficients from
  // its own number.
  static unsigned spanIndex(Mode mode) {
    switch (mode) {
      case Mode::kGroupThenSplit:
        return 3;
      case Mode::kSplit:
        return 2;
      case Mode::kGroup:
        return 1;
      default:
        return 0;
    }
  }

  template <typename Sink, typename SendValue>
  bool sendGroup(Sink& out, std::uint32_t threshold, unsigned first, SendValue& sendValue) {
    for (unsigned k = first; k < first + 4; ++k) {
      const bool waits = largest_[0][k] < threshold;
      out.putBit(waits);
      if (waits) {
        entries_[--head_] = {static_cast<std::uint8_t>(k), Mode::kSingle};
      } else if (!sendValue(k)) {
        return false;
      }
    }
    return true;
  }

  // At most 16 groups are ever sent (64 front entries) and 9 entries are
  // added at the back.
  static constexpr std::size_t kFrontRoom = 64;
  std::array<std::array<std::uint32_t, 64>, 4> largest_;
  std::array<Entry, kFrontRoom + 16> entries_{};
  std::size_t head_ = kFrontRoom;
  std::size_t tail_ = kFrontRoom;
};

}  // namespace movra
