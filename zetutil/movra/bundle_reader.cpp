#include <algorithm>
#include <bit>

#include "bundles.h"

namespace zet {

namespace {

// A count field is wide enough for 511 values plus one block row's worth
// (`perRow`), which is the most a batch can hold.
unsigned countBits(std::size_t perRow) {
  return std::min(static_cast<unsigned>(std::bit_width(511 + perRow)), 15u);
}

template <typename Value>
Bundle<Value> makeBundle(const PlaneValueBuffers& buffers, const ValueBufferLayout& layout,
                         BundleKind kind, std::size_t perRow) {
  const auto i = static_cast<std::size_t>(kind);
  // The layout keeps every buffer 4-byte aligned inside a 4-byte aligned piece.
  auto* values = reinterpret_cast<Value*>(buffers.memory + layout.offset[i]);
  return Bundle<Value>(values, layout.capacity[i], countBits(perRow));
}

// Repeat codes of block type batches: symbols 12 to 15 repeat the last value.
constexpr unsigned kFirstRepeatSymbol = 12;
constexpr std::array<std::size_t, 4> kRepeatCounts = {4, 8, 12, 32};

// DC values after the first come as deltas in groups sharing one width.
constexpr std::size_t kDeltaGroup = 8;

std::uint8_t olderColourValue(unsigned v) {
  // Sign and magnitude around 128.
  return static_cast<std::uint8_t>(v >= 128 ? 128 - (v & 127) : 128 + v);
}

// A magnitude of `bits` bits and, when it is not zero, a sign bit (1 = negative).
int readSignedMagnitude(BitReader& bits, unsigned magnitudeBits) {
  const auto magnitude = static_cast<int>(bits.read(magnitudeBits));
  return magnitude != 0 && bits.readBit() ? -magnitude : magnitude;
}

int readSignedSymbol(BitReader& bits, const CodeTree& tree) {
  const auto magnitude = static_cast<int>(decodeSymbol(bits, tree));
  return magnitude != 0 && bits.readBit() ? -magnitude : magnitude;
}

}  // namespace

PlaneBundles::PlaneBundles(const PlaneValueBuffers& buffers, std::uint32_t planeWidth,
                           bool olderColourValues)
    : PlaneBundles(buffers, ValueBufferLayout(buffers.lumaPitch), planeWidth / 8,
                   olderColourValues) {}

PlaneBundles::PlaneBundles(const PlaneValueBuffers& buffers, const ValueBufferLayout& layout,
                           std::size_t blocksPerRow, bool olderColourValues)
    : blockTypes(makeBundle<std::uint8_t>(buffers, layout, BundleKind::kBlockTypes, blocksPerRow)),
      blockSubtypes(
          makeBundle<std::uint8_t>(buffers, layout, BundleKind::kBlockSubtypes, blocksPerRow / 2)),
      colors(makeBundle<std::uint8_t>(buffers, layout, BundleKind::kColors, blocksPerRow * 64)),
      patterns(makeBundle<std::uint8_t>(buffers, layout, BundleKind::kPatterns, blocksPerRow * 8)),
      xOffsets(makeBundle<std::int8_t>(buffers, layout, BundleKind::kXOffsets, blocksPerRow)),
      yOffsets(makeBundle<std::int8_t>(buffers, layout, BundleKind::kYOffsets, blocksPerRow)),
      intraDc(makeBundle<std::uint16_t>(buffers, layout, BundleKind::kIntraDc, blocksPerRow)),
      interDc(makeBundle<std::int16_t>(buffers, layout, BundleKind::kInterDc, blocksPerRow)),
      runs(makeBundle<std::uint8_t>(buffers, layout, BundleKind::kRuns, blocksPerRow * 48)),
      olderColourValues_(olderColourValues) {}

void PlaneBundles::readTrees(BitReader& bits) {
  trees_.blockTypes = readCodeTree(bits);
  trees_.blockSubtypes = readCodeTree(bits);
  for (CodeTree& tree : trees_.colorHigh) tree = readCodeTree(bits);
  trees_.colors = readCodeTree(bits);
  trees_.patterns = readCodeTree(bits);
  trees_.xOffsets = readCodeTree(bits);
  trees_.yOffsets = readCodeTree(bits);
  trees_.runs = readCodeTree(bits);
  previousHighNibble_ = 0;
}

bool PlaneBundles::refill(BitReader& bits) {
  bool ok = true;
  if (ok && blockTypes.wantsBatch()) ok = readBlockTypeBatch(bits, blockTypes, trees_.blockTypes);
  if (ok && blockSubtypes.wantsBatch()) {
    ok = readBlockTypeBatch(bits, blockSubtypes, trees_.blockSubtypes);
  }
  if (ok && colors.wantsBatch()) ok = readColorBatch(bits);
  if (ok && patterns.wantsBatch()) ok = readPatternBatch(bits);
  if (ok && xOffsets.wantsBatch()) ok = readOffsetBatch(bits, xOffsets, trees_.xOffsets);
  if (ok && yOffsets.wantsBatch()) ok = readOffsetBatch(bits, yOffsets, trees_.yOffsets);
  if (ok && intraDc.wantsBatch()) ok = readIntraDcBatch(bits);
  if (ok && interDc.wantsBatch()) ok = readInterDcBatch(bits);
  if (ok && runs.wantsBatch()) ok = readRunBatch(bits);
  return ok;
}

bool PlaneBundles::readBlockTypeBatch(BitReader& bits, Bundle<std::uint8_t>& bundle,
                                      const CodeTree& tree) {
  std::size_t count = 0;
  if (!bundle.startBatch(bits, count)) return false;
  if (count == 0) return true;
  std::uint8_t* values = bundle.batch();
  if (bits.readBit()) {
    std::fill_n(values, count, static_cast<std::uint8_t>(bits.read(4)));
    return true;
  }
  std::uint8_t remembered = 0;
  for (std::size_t written = 0; written < count;) {
    const unsigned symbol = decodeSymbol(bits, tree);
    if (symbol < kFirstRepeatSymbol) {
      remembered = static_cast<std::uint8_t>(symbol);
      values[written++] = remembered;
      continue;
    }
    const std::size_t repeats = kRepeatCounts[symbol - kFirstRepeatSymbol];
    if (repeats > count - written) return false;
    std::fill_n(values + written, repeats, remembered);
    written += repeats;
  }
  return true;
}

std::uint8_t PlaneBundles::readColor(BitReader& bits) {
  const unsigned high = decodeSymbol(bits, trees_.colorHigh[previousHighNibble_]);
  previousHighNibble_ = high;
  const unsigned value = high * 16 + decodeSymbol(bits, trees_.colors);
  return olderColourValues_ ? olderColourValue(value) : static_cast<std::uint8_t>(value);
}

bool PlaneBundles::readColorBatch(BitReader& bits) {
  std::size_t count = 0;
  if (!colors.startBatch(bits, count)) return false;
  if (count == 0) return true;
  std::uint8_t* values = colors.batch();
  if (bits.readBit()) {
    std::fill_n(values, count, readColor(bits));
  } else {
    for (std::size_t i = 0; i < count; ++i) values[i] = readColor(bits);
  }
  return true;
}

bool PlaneBundles::readPatternBatch(BitReader& bits) {
  std::size_t count = 0;
  if (!patterns.startBatch(bits, count)) return false;
  std::uint8_t* values = patterns.batch();
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned low = decodeSymbol(bits, trees_.patterns);
    values[i] = static_cast<std::uint8_t>(low | decodeSymbol(bits, trees_.patterns) << 4);
  }
  return true;
}

bool PlaneBundles::readOffsetBatch(BitReader& bits, Bundle<std::int8_t>& bundle,
                                   const CodeTree& tree) {
  std::size_t count = 0;
  if (!bundle.startBatch(bits, count)) return false;
  if (count == 0) return true;
  std::int8_t* values = bundle.batch();
  if (bits.readBit()) {
    std::fill_n(values, count, static_cast<std::int8_t>(readSignedMagnitude(bits, 4)));
  } else {
    for (std::size_t i = 0; i < count; ++i) {
      values[i] = static_cast<std::int8_t>(readSignedSymbol(bits, tree));
    }
  }
  return true;
}

namespace {

// The values after the first of a DC batch. The running value wraps at 16
// bits, as it is stored, so damaged deltas cannot overflow it.
void readDcDeltas(BitReader& bits, std::uint16_t* values, std::size_t count) {
  std::uint16_t value = values[0];
  for (std::size_t i = 1; i < count;) {
    const std::size_t group = std::min(kDeltaGroup, count - i);
    const unsigned width = bits.read(4);
    for (std::size_t end = i + group; i < end; ++i) {
      if (width != 0) value = static_cast<std::uint16_t>(value + readSignedMagnitude(bits, width));
      values[i] = value;
    }
  }
}

}  // namespace

bool PlaneBundles::readIntraDcBatch(BitReader& bits) {
  std::size_t count = 0;
  if (!intraDc.startBatch(bits, count)) return false;
  if (count == 0) return true;
  std::uint16_t* values = intraDc.batch();
  values[0] = static_cast<std::uint16_t>(bits.read(11));
  readDcDeltas(bits, values, count);
  return true;
}

bool PlaneBundles::readInterDcBatch(BitReader& bits) {
  std::size_t count = 0;
  if (!interDc.startBatch(bits, count)) return false;
  if (count == 0) return true;
  // Stored as 16-bit two's complement; the deltas work on the same bits.
  auto* values = reinterpret_cast<std::uint16_t*>(interDc.batch());
  values[0] = static_cast<std::uint16_t>(readSignedMagnitude(bits, 10));
  readDcDeltas(bits, values, count);
  return true;
}

bool PlaneBundles::readRunBatch(BitReader& bits) {
  std::size_t count = 0;
  if (!runs.startBatch(bits, count)) return false;
  if (count == 0) return true;
  std::uint8_t* values = runs.batch();
  if (bits.readBit()) {
    std::fill_n(values, count, static_cast<std::uint8_t>(bits.read(4)));
  } else {
    for (std::size_t i = 0; i < count; ++i) values[i] = static_cast<std::uint8_t>(decodeSymbol(bits, trees_.runs));
  }
  return true;
}

}  // namespace zet
