#include "coefficient_writer.h"

#include <bit>
#include <cstdlib>
#include <deque>
#include <functional>
#include <stdexcept>

namespace zet::testing {

namespace {

enum class Kind { kEmpty, kGroupThenSplit, kSplit, kGroup, kSingle };

struct Entry {
  unsigned first;
  Kind kind;
};

// The coefficients an entry still stands for.
unsigned coverage(Kind kind) {
  switch (kind) {
    case Kind::kGroupThenSplit:
      return 20;
    case Kind::kSplit:
      return 16;
    case Kind::kGroup:
      return 4;
    case Kind::kSingle:
      return 1;
    case Kind::kEmpty:
      break;
  }
  return 0;
}

// The list walk seen from the writing side: `due(k)` says whether
// coefficient k is to be sent in this pass, `send(k)` writes it and returns
// false to end the code.
class Walk {
 public:
  explicit Walk(std::deque<Entry> entries) : entries_(std::move(entries)) {}

  bool pass(BitWriter& bits, const std::function<bool(unsigned)>& due,
            const std::function<bool(unsigned)>& send) {
    const auto anyDue = [&](const Entry& e) {
      for (unsigned k = e.first; k < e.first + coverage(e.kind); ++k) {
        if (due(k)) return true;
      }
      return false;
    };
    for (std::size_t p = 0; p < entries_.size();) {
      Entry& e = entries_[p];
      if (e.kind == Kind::kEmpty) {
        ++p;
        continue;
      }
      const bool here = anyDue(e);
      bits.putBit(here);
      if (!here) {
        ++p;
        continue;
      }
      const unsigned k = e.first;
      if (e.kind == Kind::kGroupThenSplit) {
        e = {k + 4, Kind::kSplit};
        if (!group(bits, k, due, send, p)) return false;
      } else if (e.kind == Kind::kSplit) {
        e.kind = Kind::kGroup;
        for (unsigned step = 4; step <= 12; step += 4) entries_.push_back({k + step, Kind::kGroup});
      } else if (e.kind == Kind::kGroup) {
        e.kind = Kind::kEmpty;
        ++p;
        if (!group(bits, k, due, send, p)) return false;
      } else {
        e.kind = Kind::kEmpty;
        ++p;
        if (!send(k)) return false;
      }
    }
    return true;
  }

 private:
  // Front entries shift every position, including the walk's own.
  bool group(BitWriter& bits, unsigned first, const std::function<bool(unsigned)>& due,
             const std::function<bool(unsigned)>& send, std::size_t& p) {
    for (unsigned k = first; k < first + 4; ++k) {
      if (due(k)) {
        bits.putBit(false);
        if (!send(k)) return false;
      } else {
        bits.putBit(true);
        entries_.push_front({k, Kind::kSingle});
        ++p;
      }
    }
    return true;
  }

  std::deque<Entry> entries_;
};

std::deque<Entry> areas() {
  return {{4, Kind::kGroupThenSplit}, {24, Kind::kGroupThenSplit}, {44, Kind::kGroupThenSplit}};
}

}  // namespace

void writeTransformCoefficients(BitWriter& bits, const CoefficientValues& values) {
  unsigned planes = 0;
  for (unsigned k = 1; k < 64; ++k) {
    const auto magnitude = static_cast<unsigned>(std::abs(values[k]));
    if (magnitude >= (1u << 15)) throw std::invalid_argument("coefficient too large");
    planes = std::max(planes, static_cast<unsigned>(std::bit_width(magnitude)));
  }
  bits.put(planes, 4);
  std::deque<Entry> entries = areas();
  for (unsigned k = 1; k <= 3; ++k) entries.push_back({k, Kind::kSingle});
  Walk walk(entries);
  for (unsigned plane = planes; plane-- > 0;) {
    // A coefficient is sent in the pass of its highest bit.
    const auto due = [&](unsigned k) {
      return k != 0 && std::bit_width(static_cast<unsigned>(std::abs(values[k]))) == plane + 1;
    };
    const auto send = [&](unsigned k) {
      const auto magnitude = static_cast<unsigned>(std::abs(values[k]));
      if (plane > 0) bits.put(magnitude - (1u << plane), plane);
      bits.putBit(values[k] < 0);
      return true;
    };
    walk.pass(bits, due, send);
  }
}

unsigned writeResidue(BitWriter& bits, const CoefficientValues& values, unsigned maskCount) {
  unsigned topBit = 0;
  unsigned usesNeeded = 0;
  for (int v : values) {
    const auto magnitude = static_cast<unsigned>(std::abs(v));
    if (magnitude > 255) throw std::invalid_argument("residue value out of range");
    topBit = std::max(topBit, static_cast<unsigned>(std::bit_width(magnitude)));
    usesNeeded += static_cast<unsigned>(std::popcount(magnitude));
  }
  const unsigned exponent = topBit == 0 ? 0 : topBit - 1;
  bits.put(exponent, 3);
  std::deque<Entry> entries = areas();
  entries.push_back({0, Kind::kGroup});
  Walk walk(entries);
  std::vector<unsigned> nonZero;
  unsigned uses = 0;
  const unsigned allowed = maskCount + 1;
  for (unsigned mask = 1u << exponent; mask != 0; mask >>= 1) {
    const std::vector<unsigned> earlier = nonZero;
    for (unsigned k : earlier) {
      const bool refine = (static_cast<unsigned>(std::abs(values[k])) & mask) != 0;
      bits.putBit(refine);
      if (refine && ++uses == allowed) return usesNeeded;
    }
    const auto due = [&](unsigned k) {
      return std::bit_width(static_cast<unsigned>(std::abs(values[k]))) ==
             std::bit_width(mask);
    };
    const auto send = [&](unsigned k) {
      bits.putBit(values[k] < 0);
      nonZero.push_back(k);
      return ++uses != allowed;
    };
    if (!walk.pass(bits, due, send)) return usesNeeded;
  }
  return usesNeeded;
}

}  // namespace zet::testing
