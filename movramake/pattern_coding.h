// PATTERN blocks: two colours and one bit per pixel choosing between them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "run_coding.h"

namespace movra {

struct PatternColours {
  std::uint8_t low = 0;
  std::uint8_t high = 0;
};

// The pair that splits the sorted samples with the smallest error, tried at
// every place where the sorted value changes; none for a flat block.
std::optional<PatternColours> choosePatternColours(const BlockSamples& sorted);

// Row bytes: bit i of byte j is set when pixel (i, j) takes the high colour.
std::array<std::uint8_t, 8> patternRows(const BlockSamples& samples, const PatternColours& colours);

// The block the rows and colours stand for.
BlockSamples patternBlock(const std::array<std::uint8_t, 8>& rows, const PatternColours& colours);

}  // namespace movra
