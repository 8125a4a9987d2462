#include "pattern_coding.h"

#include <cstdlib>

namespace movra {
namespace {

std::uint32_t splitCost(const BlockSamples& sorted, unsigned split, const PatternColours& colours) {
  std::uint32_t cost = 0;
  for (unsigned k = 0; k < 64; ++k) {
    const int target = k < split ? colours.low : colours.high;
    cost += static_cast<std::uint32_t>(std::abs(target - sorted[k]));
  }
  return cost;
}

}  // namespace

std::optional<PatternColours> choosePatternColours(const BlockSamples& s) {
  if (s[0] == s[63]) return std::nullopt;
  std::optional<PatternColours> best;
  std::optional<PatternColours> previous;
  std::uint32_t bestCost = ~0u;
  for (unsigned i = 1; i < 64; ++i) {
    if (s[i] == s[i - 1]) continue;
    // Each side's middle value: the upper side's median, and for the lower
    // side the value at its middle, averaged with the next one when the
    // split index is odd.
    const unsigned upper = i + (63 - i) / 2;
    PatternColours pair;
    if (i % 2) {
      pair.high = s[upper];
      pair.low = static_cast<std::uint8_t>((s[i / 2] + s[i / 2 + 1]) / 2);
    } else {
      pair.high = static_cast<std::uint8_t>((s[upper] + s[upper + 1]) / 2);
      pair.low = s[i / 2];
    }
    if (previous && previous->low == pair.low && previous->high == pair.high) continue;
    previous = pair;
    const std::uint32_t cost = splitCost(s, i, pair);
    if (cost < bestCost) {
      bestCost = cost;
      best = pair;
    }
    if (cost == 0) break;
  }
  return best;
}

std::array<std::uint8_t, 8> patternRows(const BlockSamples& samples, const PatternColours& colours) {
  std::array<std::uint8_t, 8> rows{};
  for (unsigned p = 0; p < 64; ++p) {
    const int v = samples[p];
    if (!(std::abs(colours.low - v) < std::abs(colours.high - v))) {
      rows[p / 8] = static_cast<std::uint8_t>(rows[p / 8] | (1u << (p % 8)));
    }
  }
  return rows;
}

BlockSamples patternBlock(const std::array<std::uint8_t, 8>& rows, const PatternColours& colours) {
  BlockSamples block{};
  for (unsigned p = 0; p < 64; ++p) block[p] = (rows[p / 8] >> (p % 8)) & 1 ? colours.high : colours.low;
  return block;
}

}  // namespace movra
