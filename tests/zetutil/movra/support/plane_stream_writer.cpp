#include "plane_stream_writer.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <stdexcept>

#include "block_types.h"

namespace zet::testing {

namespace {

constexpr unsigned code(BlockType type) { return static_cast<unsigned>(type); }

std::size_t valuesPerRow(Stream stream, std::uint32_t width) {
  const std::size_t blocks = width / 8;
  switch (stream) {
    case Stream::kBlockSubtypes:
      return width / 16;
    case Stream::kColors:
      return blocks * 64;
    case Stream::kPatterns:
      return blocks * 8;
    case Stream::kRuns:
      return blocks * 48;
    default:
      return blocks;
  }
}

unsigned bitLength(int value) { return static_cast<unsigned>(std::bit_width(static_cast<unsigned>(std::abs(value)))); }

void putSignedMagnitude(BitWriter& bits, int value, unsigned magnitudeBits) {
  bits.put(static_cast<std::uint32_t>(std::abs(value)), magnitudeBits);
  if (value != 0) bits.putBit(value < 0);
}

// The byte a colour is sent as in the older sign-and-magnitude form.
unsigned olderColourCode(unsigned color) {
  if (color == 0) throw std::invalid_argument("the older colour form cannot carry colour 0");
  return color >= 128 ? color - 128 : 256 - color;
}

class BatchWriter {
 public:
  BatchWriter(BitWriter& bits, const std::array<TreeWriter, kTreeCount>& trees,
              const PlaneStreamOptions& options, std::uint32_t width)
      : bits_(bits), trees_(trees), options_(options), width_(width) {}

  void write(Stream stream, const std::vector<int>& values) {
    const unsigned countBits = countFieldBits(stream, width_);
    if (values.size() >= (1u << countBits)) throw std::invalid_argument("batch too large for its count");
    bits_.put(static_cast<std::uint32_t>(values.size()), countBits);
    if (values.empty()) return;
    switch (stream) {
      case Stream::kBlockTypes:
        return writeTypes(values, trees_[kBlockTypesTree]);
      case Stream::kBlockSubtypes:
        return writeTypes(values, trees_[kBlockSubtypesTree]);
      case Stream::kColors:
        return writeColors(values);
      case Stream::kPatterns:
        for (int v : values) {
          trees_[kPatternsTree].writeSymbol(bits_, static_cast<unsigned>(v) & 15);
          trees_[kPatternsTree].writeSymbol(bits_, static_cast<unsigned>(v) >> 4);
        }
        return;
      case Stream::kXOffsets:
        return writeOffsets(values, trees_[kXOffsetsTree]);
      case Stream::kYOffsets:
        return writeOffsets(values, trees_[kYOffsetsTree]);
      case Stream::kIntraDc:
        bits_.put(static_cast<std::uint32_t>(values[0]), 11);
        return writeDcDeltas(values);
      case Stream::kInterDc:
        putSignedMagnitude(bits_, values[0], 10);
        return writeDcDeltas(values);
      case Stream::kRuns:
        if (useFillForm(values, false)) {
          bits_.putBit(true);
          bits_.put(static_cast<std::uint32_t>(values[0]), 4);
          return;
        }
        bits_.putBit(false);
        for (int v : values) trees_[kRunsTree].writeSymbol(bits_, static_cast<unsigned>(v));
        return;
    }
  }

 private:
  bool useFillForm(const std::vector<int>& values, bool encoderTakesAnyEqual) const {
    const bool allEqual = std::all_of(values.begin(), values.end(), [&](int v) { return v == values[0]; });
    switch (options_.fillForms) {
      case FillForms::kEncoder:
        return allEqual && (encoderTakesAnyEqual || values[0] == 0);
      case FillForms::kWheneverEqual:
        return allEqual;
      case FillForms::kNever:
        break;
    }
    return false;
  }

  void writeTypes(const std::vector<int>& values, const TreeWriter& tree) {
    if (useFillForm(values, false)) {
      bits_.putBit(true);
      bits_.put(static_cast<std::uint32_t>(values[0]), 4);
      return;
    }
    bits_.putBit(false);
    int previous = 0;
    std::size_t pending = 0;
    const auto flush = [&] {
      while (pending > 0) {
        if (pending > 32) {
          tree.writeSymbol(bits_, 15);
          pending -= 32;
        } else if (pending > 12) {
          tree.writeSymbol(bits_, 14);
          pending -= 12;
        } else if (pending > 8) {
          tree.writeSymbol(bits_, 13);
          pending -= 8;
        } else if (pending > 4) {
          tree.writeSymbol(bits_, 12);
          pending -= 4;
        } else {
          for (; pending > 0; --pending) tree.writeSymbol(bits_, static_cast<unsigned>(previous));
        }
      }
    };
    for (int v : values) {
      if (v == previous) {
        ++pending;
        continue;
      }
      flush();
      if (v >= 12) throw std::invalid_argument("types 12 to 15 exist only in the fill form");
      tree.writeSymbol(bits_, static_cast<unsigned>(v));
      previous = v;
    }
    flush();
  }

  void writeColor(int color) {
    const unsigned value = options_.olderColourValues ? olderColourCode(static_cast<unsigned>(color))
                                                      : static_cast<unsigned>(color);
    trees_[kColorHighTrees + previousHigh_].writeSymbol(bits_, value >> 4);
    previousHigh_ = value >> 4;
    trees_[kColorsTree].writeSymbol(bits_, value & 15);
  }

  void writeColors(const std::vector<int>& values) {
    if (useFillForm(values, true)) {
      bits_.putBit(true);
      writeColor(values[0]);
      return;
    }
    bits_.putBit(false);
    for (int v : values) writeColor(v);
  }

  void writeOffsets(const std::vector<int>& values, const TreeWriter& tree) {
    if (useFillForm(values, false)) {
      bits_.putBit(true);
      putSignedMagnitude(bits_, values[0], 4);
      return;
    }
    bits_.putBit(false);
    for (int v : values) {
      tree.writeSymbol(bits_, static_cast<unsigned>(std::abs(v)));
      if (v != 0) bits_.putBit(v < 0);
    }
  }

  void writeDcDeltas(const std::vector<int>& values) {
    for (std::size_t i = 1; i < values.size(); i += 8) {
      const std::size_t end = std::min(values.size(), i + 8);
      unsigned width = 0;
      for (std::size_t j = i; j < end; ++j) width = std::max(width, bitLength(values[j] - values[j - 1]));
      bits_.put(width, 4);
      if (width == 0) continue;
      for (std::size_t j = i; j < end; ++j) putSignedMagnitude(bits_, values[j] - values[j - 1], width);
    }
  }

  BitWriter& bits_;
  const std::array<TreeWriter, kTreeCount>& trees_;
  const PlaneStreamOptions& options_;
  std::uint32_t width_;
  unsigned previousHigh_ = 0;  // carried across batches, like the decoder's
};

std::array<TreeWriter, kTreeCount> makeTrees(const std::array<TreeSpec, kTreeCount>& specs) {
  return [&]<std::size_t... I>(std::index_sequence<I...>) {
    return std::array<TreeWriter, kTreeCount>{TreeWriter(specs[I])...};
  }(std::make_index_sequence<kTreeCount>());
}

}  // namespace

unsigned countFieldBits(Stream stream, std::uint32_t width) {
  return std::min(static_cast<unsigned>(std::bit_width(511 + valuesPerRow(stream, width))), 15u);
}

void writePlainTrees(BitWriter& bits) {
  for (std::size_t i = 0; i < kTreeCount; ++i) bits.put(0, 4);
}

PlaneStreamWriter::PlaneStreamWriter(std::uint32_t width, std::uint32_t height,
                                     PlaneStreamOptions options)
    : width_(width), height_(height), options_(options), rows_(height / 8) {
  if (width == 0 || height == 0 || width % 8 != 0 || height % 8 != 0) {
    throw std::invalid_argument("plane sizes are multiples of 8");
  }
}

void PlaneStreamWriter::add(const CodedBlock& block) {
  if (x_ >= width_) throw std::logic_error("plane is full");
  Row& row = rows_[currentRow_];
  push(row, Stream::kBlockTypes, static_cast<int>(block.type));
  std::uint32_t covered = 8;
  if (block.type == code(BlockType::kScaled)) {
    covered = 16;
    if (currentRow_ % 2 == 0) {
      push(row, Stream::kBlockSubtypes, static_cast<int>(block.subtype));
      // Only these sub types carry data; the others write nothing.
      switch (static_cast<BlockType>(block.subtype)) {
        case BlockType::kRun:
        case BlockType::kIntra:
        case BlockType::kFill:
        case BlockType::kPattern:
        case BlockType::kRaw:
          stageContent(row, block.subtype, block);
          break;
        default:
          break;
      }
    }
  } else {
    stageContent(row, block.type, block);
  }
  x_ += covered;
  if (x_ >= width_ && currentRow_ + 1 < rows_.size()) {
    x_ = 0;
    ++currentRow_;
  }
}

void PlaneStreamWriter::stageContent(Row& row, unsigned type, const CodedBlock& block) {
  const auto pushColors = [&](std::size_t count) {
    if (block.colors.size() != count) throw std::invalid_argument("wrong number of colours");
    for (std::uint8_t c : block.colors) push(row, Stream::kColors, c);
  };
  const auto pushMotion = [&] {
    if (std::abs(block.dx) > kMotionRange || std::abs(block.dy) > kMotionRange) {
      throw std::invalid_argument("motion offset out of range");
    }
    push(row, Stream::kXOffsets, block.dx);
    push(row, Stream::kYOffsets, block.dy);
  };
  switch (static_cast<BlockType>(type)) {
    case BlockType::kSkip:
    case BlockType::kScaled:
      break;
    case BlockType::kMotion:
      pushMotion();
      break;
    case BlockType::kFill:
      pushColors(1);
      break;
    case BlockType::kPattern:
      pushColors(2);
      for (std::uint8_t r : block.patternRows) push(row, Stream::kPatterns, r);
      break;
    case BlockType::kRaw:
      pushColors(64);
      break;
    case BlockType::kRun: {
      if (block.colors.size() != 64) throw std::invalid_argument("a run block needs 64 colours");
      row.bits.put(block.scan, 4);
      unsigned i = 0;
      for (const RunSegment& segment : block.segments) {
        if (i >= 63 || segment.length < 1 || segment.length > 16 || i + segment.length > 64) {
          throw std::invalid_argument("run segments must cover 63 or 64 positions");
        }
        row.bits.putBit(segment.oneColour);
        push(row, Stream::kRuns, static_cast<int>(segment.length - 1));
        if (segment.oneColour) {
          for (unsigned j = i; j < i + segment.length; ++j) {
            if (block.colors[j] != block.colors[i]) throw std::invalid_argument("one-colour segment varies");
          }
          push(row, Stream::kColors, block.colors[i]);
        } else {
          for (unsigned j = i; j < i + segment.length; ++j) push(row, Stream::kColors, block.colors[j]);
        }
        i += segment.length;
      }
      if (i < 63) throw std::invalid_argument("run segments must cover 63 or 64 positions");
      if (i == 63) push(row, Stream::kColors, block.colors[63]);
      break;
    }
    case BlockType::kIntra:
      push(row, Stream::kIntraDc, block.dc);
      writeTransformCoefficients(row.bits, block.values);
      row.bits.put(block.quantiser, 4);
      break;
    case BlockType::kInter:
      pushMotion();
      push(row, Stream::kInterDc, block.dc);
      writeTransformCoefficients(row.bits, block.values);
      row.bits.put(block.quantiser, 4);
      break;
    case BlockType::kResidue:
      pushMotion();
      row.bits.put(block.maskCount, 7);
      writeResidue(row.bits, block.values, block.maskCount);
      break;
    default:
      break;
  }
}

std::vector<std::uint8_t> PlaneStreamWriter::finish() const {
  if (x_ < width_) throw std::logic_error("plane has blocks missing");
  // Batches of whole rows: [first row, end row) per stream.
  std::array<std::vector<std::pair<std::size_t, std::size_t>>, kStreams> batches;
  for (std::size_t s = 0; s < kStreams; ++s) {
    std::size_t first = 0;
    std::size_t held = 0;
    for (std::size_t r = 0; r < rows_.size(); ++r) {
      held += rows_[r].values[s].size();
      if (held >= options_.batchClose) {
        batches[s].emplace_back(first, r + 1);
        first = r + 1;
        held = 0;
      }
    }
    batches[s].emplace_back(first, rows_.size());
  }

  const std::array<TreeWriter, kTreeCount> trees = makeTrees(options_.trees);
  BitWriter bits;
  for (const TreeWriter& tree : trees) tree.writeTree(bits);
  BatchWriter batchWriter(bits, trees, options_, width_);
  std::array<std::size_t, kStreams> nextBatch{};
  // Values of each stream written in batches so far, and taken by the
  // blocks of the rows written so far: a new batch goes out at the start of
  // a row once the last one has been taken up, whichever rows it came from.
  std::array<std::size_t, kStreams> written{};
  std::array<std::size_t, kStreams> taken{};
  std::array<bool, kStreams> ended{};
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    for (std::size_t s = 0; s < kStreams; ++s) {
      if (ended[s] || taken[s] < written[s]) continue;
      std::vector<int> values;
      if (nextBatch[s] < batches[s].size()) {
        const auto [first, end] = batches[s][nextBatch[s]++];
        for (std::size_t i = first; i < end; ++i) {
          values.insert(values.end(), rows_[i].values[s].begin(), rows_[i].values[s].end());
        }
      }
      written[s] += values.size();
      // An empty batch is a count of 0, which ends the stream for the plane.
      ended[s] = values.empty();
      batchWriter.write(static_cast<Stream>(s), values);
    }
    bits.append(rows_[r].bits);
    for (std::size_t s = 0; s < kStreams; ++s) taken[s] += rows_[r].values[s].size();
  }
  return bits.words();
}

std::vector<std::uint8_t> writeFlatPlane(std::uint32_t width, std::uint32_t height,
                                         std::uint8_t color, const PlaneStreamOptions& options) {
  PlaneStreamWriter writer(width, height, options);
  for (std::uint32_t i = 0; i < (width / 8) * (height / 8); ++i) writer.add(CodedBlock::fill(color));
  return writer.finish();
}

}  // namespace zet::testing
