// The nine value streams of a plane. Blocks take their values (types,
// colours, offsets, DC values, run lengths, pattern rows) from these; each
// is refilled with a batch at the start of a block row once its last batch
// is used up.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "bit_reader.h"
#include "code_tree.h"
#include "plane_decoder.h"
#include "value_buffer_layout.h"

namespace zet {

// The values of one batch and how far blocks have taken them. Taking more
// than the batch holds, or from a stream that has ended, fails the plane.
template <typename Value>
class Bundle {
 public:
  Bundle(Value* values, std::size_t capacity, unsigned countBits)
      : values_(values), capacity_(capacity), countBits_(countBits) {}

  Value take(bool& failed) {
    if (next_ == end_) {
      failed = true;
      return 0;
    }
    return *next_++;
  }

  // `count` consecutive values, or null (and `failed` set) when the batch
  // holds fewer.
  const Value* takeMany(std::size_t count, bool& failed) {
    if (static_cast<std::size_t>(end_ - next_) < count) {
      failed = true;
      return nullptr;
    }
    const Value* first = next_;
    next_ += count;
    return first;
  }

  bool wantsBatch() const { return !ended_ && next_ == end_; }

  // Reads the count field of the next batch: 0 ends the stream for the rest
  // of the plane. The batch's values are then written to `batch()`.
  // False when the count exceeds the buffer.
  bool startBatch(BitReader& bits, std::size_t& count) {
    count = bits.read(countBits_);
    if (count > capacity_) return false;
    if (count == 0) ended_ = true;
    next_ = values_;
    end_ = values_ + count;
    return true;
  }

  Value* batch() { return values_; }

 private:
  Value* values_;
  std::size_t capacity_;
  unsigned countBits_;
  const Value* next_ = nullptr;
  const Value* end_ = nullptr;
  bool ended_ = false;
};

struct PlaneTrees {
  CodeTree blockTypes;
  CodeTree blockSubtypes;
  std::array<CodeTree, 16> colorHigh;  // chosen by the previous colour's high nibble
  CodeTree colors;                     // low nibbles
  CodeTree patterns;
  CodeTree xOffsets;
  CodeTree yOffsets;
  CodeTree runs;
};

class PlaneBundles {
 public:
  PlaneBundles(const PlaneValueBuffers& buffers, std::uint32_t planeWidth, bool olderColourValues);

  // Reads the plane's 23 code trees; they come before the first block row.
  void readTrees(BitReader& bits);

  // Refills, in stream order, every bundle whose batch is used up. False
  // when a batch breaks the rules (more values than its buffer holds, or
  // repeats running past its count).
  bool refill(BitReader& bits);

  Bundle<std::uint8_t> blockTypes;
  Bundle<std::uint8_t> blockSubtypes;
  Bundle<std::uint8_t> colors;
  Bundle<std::uint8_t> patterns;
  Bundle<std::int8_t> xOffsets;
  Bundle<std::int8_t> yOffsets;
  Bundle<std::uint16_t> intraDc;
  Bundle<std::int16_t> interDc;
  Bundle<std::uint8_t> runs;

 private:
  PlaneBundles(const PlaneValueBuffers& buffers, const ValueBufferLayout& layout,
               std::size_t blocksPerRow, bool olderColourValues);

  bool readBlockTypeBatch(BitReader& bits, Bundle<std::uint8_t>& bundle, const CodeTree& tree);
  bool readColorBatch(BitReader& bits);
  bool readPatternBatch(BitReader& bits);
  bool readOffsetBatch(BitReader& bits, Bundle<std::int8_t>& bundle, const CodeTree& tree);
  bool readIntraDcBatch(BitReader& bits);
  bool readInterDcBatch(BitReader& bits);
  bool readRunBatch(BitReader& bits);
  std::uint8_t readColor(BitReader& bits);

  PlaneTrees trees_;
  unsigned previousHighNibble_ = 0;
  bool olderColourValues_;
};

}  // namespace zet
