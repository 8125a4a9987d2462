#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <deque>
#include <random>
#include <vector>

#include "bit_reader.h"
#include "coefficient_reader.h"
#include "scan_orders.h"
#include "test_seed.h"

namespace zet {
namespace {

// The list walk exactly as the coding rules state it, one bit at a time on
// a list that keeps its empty entries; the reader's walk must take the same
// bits and give the same values for any bits at all.
enum class Mode { kEmpty, kGroupThenSplit, kSplit, kGroup, kSingle };

struct Entry {
  unsigned k;
  Mode mode;
};

class ReferenceWalk {
 public:
  explicit ReferenceWalk(std::deque<Entry> entries) : entries_(std::move(entries)) {}

  // `value(k)` reads coefficient k and returns false to end the code.
  template <typename Value>
  bool pass(BitReader& bits, Value&& value) {
    std::size_t p = 0;
    while (p < entries_.size()) {
      Entry& e = entries_[p];
      if (e.mode == Mode::kEmpty || !bits.readBit()) {
        ++p;
        continue;
      }
      const unsigned k = e.k;
      switch (e.mode) {
        case Mode::kGroupThenSplit:
          e = {k + 4, Mode::kSplit};
          if (!group(bits, k, value, p)) return false;
          break;
        case Mode::kSplit:
          e.mode = Mode::kGroup;
          for (unsigned step = 4; step <= 12; step += 4) entries_.push_back({k + step, Mode::kGroup});
          break;
        case Mode::kGroup:
          e.mode = Mode::kEmpty;
          ++p;
          if (!group(bits, k, value, p)) return false;
          break;
        default:
          e.mode = Mode::kEmpty;
          ++p;
          if (!value(k)) return false;
          break;
      }
    }
    return true;
  }

 private:
  // An entry added at the front moves every later one, the walk's own too.
  template <typename Value>
  bool group(BitReader& bits, unsigned first, Value& value, std::size_t& p) {
    for (unsigned j = first; j < first + 4; ++j) {
      if (bits.readBit()) {
        entries_.push_front({j, Mode::kSingle});
        ++p;
      } else if (!value(j)) {
        return false;
      }
    }
    return true;
  }

  std::deque<Entry> entries_;
};

std::deque<Entry> areas() {
  return {{4, Mode::kGroupThenSplit}, {24, Mode::kGroupThenSplit}, {44, Mode::kGroupThenSplit}};
}

bool referenceCoefficients(BitReader& bits, std::array<std::int32_t, 64>& block) {
  std::deque<Entry> entries = areas();
  for (unsigned k = 1; k <= 3; ++k) entries.push_back({k, Mode::kSingle});
  ReferenceWalk walk(entries);
  const unsigned planes = bits.read(4);
  for (unsigned plane = planes; plane-- > 0;) {
    walk.pass(bits, [&](unsigned k) {
      std::int32_t magnitude = 1;
      if (plane > 0) magnitude = static_cast<std::int32_t>(bits.read(plane) + (1u << plane));
      block[coefficientOrder[k]] = bits.readBit() ? -magnitude : magnitude;
      return true;
    });
  }
  return planes != 0;
}

void referenceResidue(BitReader& bits, unsigned maskCount, std::array<std::uint8_t, 64>& residue) {
  std::deque<Entry> entries = areas();
  entries.push_back({0, Mode::kGroup});
  ReferenceWalk walk(entries);
  std::vector<unsigned> nonZero;
  unsigned uses = 0;
  for (unsigned mask = 1u << bits.read(3); mask != 0; mask >>= 1) {
    const std::vector<unsigned> earlier = nonZero;
    for (unsigned position : earlier) {
      if (!bits.readBit()) continue;
      std::uint8_t& v = residue[position];
      v = static_cast<std::uint8_t>(v >= 128 ? v - mask : v + mask);
      if (++uses == maskCount + 1) return;
    }
    const bool goOn = walk.pass(bits, [&](unsigned k) {
      residue[coefficientOrder[k]] = static_cast<std::uint8_t>(bits.readBit() ? 256 - mask : mask);
      nonZero.push_back(coefficientOrder[k]);
      return ++uses != maskCount + 1;
    });
    if (!goOn) return;
  }
}

// Random bits, each set with probability `ones`: few ones walk like coded
// blocks of natural pictures, half ones reach the deepest lists.
std::vector<std::uint8_t> randomBits(std::mt19937& random, double ones) {
  std::bernoulli_distribution bit(ones);
  std::vector<std::uint8_t> data(96);
  for (auto& byte : data) {
    for (unsigned i = 0; i < 8; ++i) byte = static_cast<std::uint8_t>(byte | bit(random) << i);
  }
  // The pass count comes first: let every count occur.
  data[0] = static_cast<std::uint8_t>(random());
  return data;
}

constexpr double kOneDensities[] = {0.03, 0.1, 0.25, 0.5, 0.75};

// Both readers then stand at the same bit.
void expectSamePosition(BitReader& reader, BitReader& reference) {
  EXPECT_EQ(reader.overrun(), reference.overrun());
  EXPECT_EQ(reader.read(32), reference.read(32));
}

TEST(CoefficientReaderTest, TransformCoefficientsFollowTheListWalkForAnyBits) {
  std::mt19937 random(testing::testSeed());
  for (int round = 0; round < 20000; ++round) {
    const std::vector<std::uint8_t> data = randomBits(random, kOneDensities[round % 5]);
    BitReader bits(data.data(), data.data() + data.size());
    BitReader referenceBits(data.data(), data.data() + data.size());
    alignas(32) std::array<std::int32_t, 64> block{};
    std::array<std::int32_t, 64> expected{};
    const bool hasAc = readTransformCoefficients(bits, block.data());
    ASSERT_EQ(hasAc, referenceCoefficients(referenceBits, expected)) << "round " << round;
    ASSERT_EQ(block, expected) << "round " << round;
    expectSamePosition(bits, referenceBits);
  }
}

TEST(CoefficientReaderTest, ResiduesFollowTheListWalkForAnyBitsAndCuts) {
  std::mt19937 random(testing::testSeed());
  for (int round = 0; round < 20000; ++round) {
    const std::vector<std::uint8_t> data = randomBits(random, kOneDensities[round % 5]);
    // Short cuts, long cuts and none.
    const unsigned maskCount = round % 3 == 0 ? random() % 8 : random() % 128;
    BitReader bits(data.data(), data.data() + data.size());
    BitReader referenceBits(data.data(), data.data() + data.size());
    alignas(16) std::array<std::uint8_t, 64> residue{};
    std::array<std::uint8_t, 64> expected{};
    readResidue(bits, maskCount, residue.data());
    referenceResidue(referenceBits, maskCount, expected);
    ASSERT_EQ(residue, expected) << "round " << round << ", mask count " << maskCount;
    expectSamePosition(bits, referenceBits);
  }
}

}  // namespace
}  // namespace zet
