// Test-only writer of one plane's coded data. Tests describe the blocks of
// a plane in raster order and get the bytes the decoder reads, laid out as
// the encoder lays them out: the 23 code trees, then per block row the
// batches of the value streams that have run dry, then the row's block bits.
//
// It codes what it is told and does not choose for compression; the batch
// threshold, the fill forms and the trees are options so that tests can
// reach every form the decoder accepts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "bit_writer.h"
#include "coded_block.h"
#include "tree_writer.h"

namespace zet::testing {

// The value streams in the order their batches are written.
enum class Stream : unsigned {
  kBlockTypes,
  kBlockSubtypes,
  kColors,
  kPatterns,
  kXOffsets,
  kYOffsets,
  kIntraDc,
  kInterDc,
  kRuns,
};
inline constexpr std::size_t kStreams = 9;

// The 23 trees in the order they are written.
inline constexpr std::size_t kTreeCount = 23;
inline constexpr std::size_t kBlockTypesTree = 0;
inline constexpr std::size_t kBlockSubtypesTree = 1;
inline constexpr std::size_t kColorHighTrees = 2;  // + the previous high nibble
inline constexpr std::size_t kColorsTree = 18;
inline constexpr std::size_t kPatternsTree = 19;
inline constexpr std::size_t kXOffsetsTree = 20;
inline constexpr std::size_t kYOffsetsTree = 21;
inline constexpr std::size_t kRunsTree = 22;

enum class FillForms {
  kEncoder,        // as the encoder: colours when all equal, the others when all 0
  kWheneverEqual,  // any batch of equal values
  kNever,
};

struct PlaneStreamOptions {
  bool olderColourValues = false;  // files of versions 'f', 'g', 'h'
  std::array<TreeSpec, kTreeCount> trees{};
  // A batch is closed at the end of the first block row after which it
  // holds at least this many values.
  std::size_t batchClose = 512;
  FillForms fillForms = FillForms::kEncoder;
};

// Width in bits of a count field for `stream` in a plane `width` samples wide.
unsigned countFieldBits(Stream stream, std::uint32_t width);

// 23 trees of table 0, the shortest start of a plane.
void writePlainTrees(BitWriter& bits);

class PlaneStreamWriter {
 public:
  PlaneStreamWriter(std::uint32_t width, std::uint32_t height, PlaneStreamOptions options = {});

  // The next block in raster order. A SCALED block in an even block row
  // covers the block to its right as well; so does its lower half.
  void add(const CodedBlock& block);

  // The plane's bytes, padded to a whole 32-bit word. Every block must have
  // been added.
  std::vector<std::uint8_t> finish() const;

 private:
  struct Row {
    std::array<std::vector<int>, kStreams> values;
    BitWriter bits;
  };

  void stageContent(Row& row, unsigned type, const CodedBlock& block);
  void push(Row& row, Stream stream, int value) {
    row.values[static_cast<unsigned>(stream)].push_back(value);
  }

  std::uint32_t width_;
  std::uint32_t height_;
  PlaneStreamOptions options_;
  std::vector<Row> rows_;
  std::size_t currentRow_ = 0;
  std::uint32_t x_ = 0;
};

// A plane of FILL blocks, all of one colour.
std::vector<std::uint8_t> writeFlatPlane(std::uint32_t width, std::uint32_t height,
                                         std::uint8_t color, const PlaneStreamOptions& options = {});

}  // namespace zet::testing
