#include "random_blocks.h"

#include <algorithm>
#include <set>

#include "block_types.h"

namespace zet::testing {

namespace {

int uniform(std::mt19937& random, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random);
}

std::uint8_t randomColor(std::mt19937& random) { return static_cast<std::uint8_t>(uniform(random, 0, 255)); }

// A magnitude that is mostly 1 or 2 and rarely large, with a random sign.
int smallValue(std::mt19937& random, int largest) {
  int magnitude = 1;
  while (magnitude < largest && uniform(random, 0, 2) == 0) magnitude *= 2;
  magnitude = std::min(largest, uniform(random, (magnitude + 1) / 2, magnitude));
  return uniform(random, 0, 1) ? magnitude : -magnitude;
}

CoefficientValues randomCoefficients(std::mt19937& random, BlockDetail detail) {
  CoefficientValues values{};
  if (detail == BlockDetail::kNatural) {
    // Most energy at low frequencies, which come first.
    const int count = uniform(random, 0, 3) + uniform(random, 0, 3);
    for (int i = 0; i < count; ++i) {
      values[static_cast<std::size_t>(std::min(63, uniform(random, 1, 6) * uniform(random, 1, 3)))] = smallValue(random, 24);
    }
    return values;
  }
  const int count = uniform(random, 0, 12);
  for (int i = 0; i < count; ++i) {
    const int k = std::min(63, uniform(random, 1, 20) * uniform(random, 1, 3));
    values[static_cast<std::size_t>(k)] = uniform(random, -40, 40);
  }
  return values;
}

CoefficientValues randomResidue(std::mt19937& random, BlockDetail detail) {
  CoefficientValues values{};
  const bool natural = detail == BlockDetail::kNatural;
  const int count = uniform(random, 1, natural ? 6 : 16);
  for (int i = 0; i < count; ++i) {
    values[static_cast<std::size_t>(uniform(random, 0, 63))] = natural ? smallValue(random, 16) : uniform(random, -128, 127);
  }
  return values;
}

CodedBlock randomRun(std::mt19937& random, BlockDetail detail) {
  std::vector<RunSegment> segments;
  std::vector<std::uint8_t> colors;
  // Segments cover 63 or 64 positions; with 63 the last takes a colour alone.
  unsigned i = 0;
  while (i < 63) {
    const auto length = static_cast<unsigned>(std::min(uniform(random, 1, 16), static_cast<int>(64 - i)));
    const bool one = uniform(random, 0, detail == BlockDetail::kNatural ? 4 : 1) != 0;
    segments.push_back({length, one});
    const std::uint8_t color = randomColor(random);
    for (unsigned j = 0; j < length; ++j) colors.push_back(one ? color : randomColor(random));
    i += length;
  }
  if (i == 63) colors.push_back(randomColor(random));
  return CodedBlock::run(static_cast<unsigned>(uniform(random, 0, 15)), segments, colors);
}

CodedBlock randomStandalone(std::mt19937& random, BlockType type, BlockDetail detail) {
  switch (type) {
    case BlockType::kRun:
      return randomRun(random, detail);
    case BlockType::kIntra:
      return CodedBlock::intra(uniform(random, 0, 2047), randomCoefficients(random, detail),
                               static_cast<unsigned>(uniform(random, 0, 15)));
    case BlockType::kFill:
      return CodedBlock::fill(randomColor(random));
    case BlockType::kPattern: {
      std::array<std::uint8_t, 8> rows{};
      for (auto& r : rows) r = randomColor(random);
      return CodedBlock::pattern(randomColor(random), randomColor(random), rows);
    }
    default: {
      std::vector<std::uint8_t> colors(64);
      for (auto& c : colors) c = randomColor(random);
      return CodedBlock::raw(colors);
    }
  }
}

}  // namespace

BlockMix evenMix() { return {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}; }
BlockMix keyFrameMix() { return {0, 2, 0, 2, 0, 10, 6, 0, 3, 1}; }
BlockMix interFrameMix() { return {40, 3, 25, 2, 6, 6, 4, 10, 2, 1}; }

std::vector<CodedBlock> randomPlaneBlocks(std::uint32_t width, std::uint32_t height,
                                          const BlockMix& mix, std::mt19937& random, BlockDetail detail) {
  std::discrete_distribution<unsigned> pickType(mix.begin(), mix.end());
  std::vector<CodedBlock> blocks;
  std::set<std::uint32_t> scaledAbove;  // x of the scaled areas begun one row up
  for (std::uint32_t y = 0; y < height; y += 8) {
    const bool lowerRow = (y / 8) % 2 == 1;
    std::set<std::uint32_t> scaledHere;
    for (std::uint32_t x = 0; x < width;) {
      if (lowerRow && scaledAbove.count(x) != 0 && uniform(random, 0, 3) != 0) {
        blocks.push_back(CodedBlock::scaledLower());
        x += 16;
        continue;
      }
      auto type = static_cast<BlockType>(pickType(random));
      const bool scaledFits = !lowerRow && (x / 8) % 2 == 0 && x + 16 <= width && y + 16 <= height;
      if (type == BlockType::kScaled && !scaledFits) type = BlockType::kFill;
      const auto offset = [&](std::uint32_t at, std::uint32_t size) {
        return uniform(random, -std::min<int>(kMotionRange, static_cast<int>(at)),
                       std::min<int>(kMotionRange, static_cast<int>(size - at - 8)));
      };
      switch (type) {
        case BlockType::kSkip:
          blocks.push_back(CodedBlock::skip());
          break;
        case BlockType::kScaled: {
          static constexpr BlockType kSubtypes[] = {BlockType::kRun, BlockType::kIntra, BlockType::kFill,
                                                    BlockType::kPattern, BlockType::kRaw};
          blocks.push_back(CodedBlock::scaled(randomStandalone(random, kSubtypes[uniform(random, 0, 4)], detail)));
          scaledHere.insert(x);
          x += 16;
          continue;
        }
        case BlockType::kMotion:
          blocks.push_back(CodedBlock::motion(offset(x, width), offset(y, height)));
          break;
        case BlockType::kResidue:
          blocks.push_back(CodedBlock::residue(offset(x, width), offset(y, height), randomResidue(random, detail), 127));
          break;
        case BlockType::kInter:
          blocks.push_back(CodedBlock::inter(offset(x, width), offset(y, height), uniform(random, -1023, 1023),
                                             randomCoefficients(random, detail), static_cast<unsigned>(uniform(random, 0, 15))));
          break;
        default:
          blocks.push_back(randomStandalone(random, type, detail));
          break;
      }
      x += 8;
    }
    scaledAbove = scaledHere;
  }
  return blocks;
}

}  // namespace zet::testing
