#include "block_decoder.h"

#include <array>
#include <cstring>

#include "block_types.h"
#include "coefficient_reader.h"
#include "quantiser_tables.h"
#include "scan_orders.h"

namespace zet {

namespace {

constexpr std::uint64_t kEveryByte = 0x0101010101010101;

// For each pattern row byte: 0xFF in the bytes whose pixel takes the second
// colour (bit i of the row gives pixel i).
constexpr std::array<std::uint64_t, 256> buildPatternMasks() {
  std::array<std::uint64_t, 256> masks{};
  for (unsigned row = 0; row < 256; ++row) {
    for (unsigned bit = 0; bit < 8; ++bit) {
      if (row & (1u << bit)) masks[row] |= std::uint64_t{0xFF} << (8 * bit);
    }
  }
  return masks;
}
constexpr std::array<std::uint64_t, 256> kPatternMasks = buildPatternMasks();

void storeRow(std::uint8_t* out, std::uint64_t row) { std::memcpy(out, &row, 8); }

void putBlock(std::uint8_t* out, std::size_t pitch, const std::uint8_t* block) {
  for (unsigned row = 0; row < 8; ++row) std::memcpy(out + row * pitch, block + row * 8, 8);
}

// The source may overlap the destination (one buffer serving as both
// pictures in a damaged stream), so every row is read before any is written.
void copyBlock(std::uint8_t* out, const std::uint8_t* source, std::size_t pitch) {
  std::uint64_t rows[8];
  for (unsigned row = 0; row < 8; ++row) std::memcpy(&rows[row], source + row * pitch, 8);
  for (unsigned row = 0; row < 8; ++row) storeRow(out + row * pitch, rows[row]);
}

// A block whose only coefficient is the DC comes out of the transform as
// one value in all 64 places: the dequantised DC rounded down by 256. The
// arithmetic wraps at 32 bits, as it does in the transform.
std::uint8_t flatTransformValue(std::int32_t dc, std::int32_t multiplier) {
  const auto product = static_cast<std::uint32_t>(dc) * static_cast<std::uint32_t>(multiplier);
  const auto dequantised = static_cast<std::uint32_t>(static_cast<std::int32_t>(product) >> 11);
  return static_cast<std::uint8_t>(static_cast<std::int32_t>(dequantised + 127) >> 8);
}

// Reads a block's coefficients and quantiser and runs the transform into
// `result` (64 bytes, row by row).
void transformBlock(BitReader& bits, const PlaneKernels& kernels, std::int32_t dc,
                    const QuantiserSet& quantisers, std::uint8_t* result) {
  alignas(32) std::int32_t coefficients[64] = {};
  coefficients[0] = dc;
  const bool hasAc = readTransformCoefficients(bits, coefficients);
  const QuantiserTable& quantiser = quantisers[bits.read(4)];
  if (hasAc) {
    kernels.inverseTransform(coefficients, quantiser.data(), result);
  } else {
    std::memset(result, flatTransformValue(dc, quantiser[0]), 64);
  }
}

}  // namespace

BlockDecoder::BlockDecoder(BitReader& bits, PlaneBundles& bundles, const PlaneGeometry& plane)
    : bits_(bits), bundles_(bundles), plane_(plane), kernels_(planeKernels()) {}

std::uint32_t BlockDecoder::decode(unsigned type, std::uint32_t x, std::uint32_t y) {
  std::uint8_t* out = plane_.destination + y * plane_.pitch + x;
  switch (static_cast<BlockType>(type)) {
    case BlockType::kSkip:
      copyFromPrevious(out, x, y);
      break;
    case BlockType::kScaled:
      return decodeScaled(out, x, y);
    case BlockType::kMotion:
      predict(out, x, y);
      break;
    case BlockType::kRun:
      decodeRun(out, plane_.pitch);
      break;
    case BlockType::kResidue:
      decodeResidue(out, x, y);
      break;
    case BlockType::kIntra:
      decodeIntra(out, plane_.pitch);
      break;
    case BlockType::kFill:
      decodeFill(out, plane_.pitch);
      break;
    case BlockType::kInter:
      decodeInter(out, x, y);
      break;
    case BlockType::kPattern:
      decodePattern(out, plane_.pitch);
      break;
    case BlockType::kRaw:
      decodeRaw(out, plane_.pitch);
      break;
    default:
      // Types 10 to 15 carry nothing and write nothing.
      break;
  }
  return 8;
}

void BlockDecoder::decodeFill(std::uint8_t* out, std::size_t pitch) {
  const std::uint64_t row = bundles_.colors.take(failed_) * kEveryByte;
  for (unsigned i = 0; i < 8; ++i) storeRow(out + i * pitch, row);
}

void BlockDecoder::decodePattern(std::uint8_t* out, std::size_t pitch) {
  const std::uint8_t* colors = bundles_.colors.takeMany(2, failed_);
  const std::uint8_t* rows = bundles_.patterns.takeMany(8, failed_);
  if (colors == nullptr || rows == nullptr) return;
  const std::uint64_t first = colors[0] * kEveryByte;
  const std::uint64_t second = colors[1] * kEveryByte;
  for (unsigned i = 0; i < 8; ++i) {
    const std::uint64_t mask = kPatternMasks[rows[i]];
    storeRow(out + i * pitch, (first & ~mask) | (second & mask));
  }
}

void BlockDecoder::decodeRaw(std::uint8_t* out, std::size_t pitch) {
  const std::uint8_t* colors = bundles_.colors.takeMany(64, failed_);
  if (colors != nullptr) putBlock(out, pitch, colors);
}

void BlockDecoder::decodeRun(std::uint8_t* out, std::size_t pitch) {
  const BlockOrder& order = runScanOrders[bits_.read(4)];
  std::uint8_t block[64];
  unsigned i = 0;
  do {
    const bool oneColour = bits_.readBit();
    const unsigned length = bundles_.runs.take(failed_) + 1u;
    if (failed_ || length > 64 - i) {
      failed_ = true;
      return;
    }
    if (oneColour) {
      const std::uint8_t color = bundles_.colors.take(failed_);
      for (unsigned end = i + length; i < end; ++i) block[order[i]] = color;
    } else {
      const std::uint8_t* colors = bundles_.colors.takeMany(length, failed_);
      if (colors == nullptr) return;
      for (unsigned j = 0; j < length; ++j) block[order[i++]] = colors[j];
    }
  } while (i < 63);
  // Runs are at least one long, so a last single position has no run of
  // its own.
  if (i == 63) block[order[63]] = bundles_.colors.take(failed_);
  putBlock(out, pitch, block);
}

void BlockDecoder::decodeIntra(std::uint8_t* out, std::size_t pitch) {
  const std::int32_t dc = bundles_.intraDc.take(failed_);
  alignas(16) std::uint8_t result[64];
  transformBlock(bits_, kernels_, dc, intraQuantisers(), result);
  putBlock(out, pitch, result);
}

void BlockDecoder::copyFromPrevious(std::uint8_t* out, std::uint32_t x, std::uint32_t y) {
  const std::uint8_t* source = plane_.previous + y * plane_.pitch + x;
  if (source != out) copyBlock(out, source, plane_.pitch);
}

bool BlockDecoder::predict(std::uint8_t* out, std::uint32_t x, std::uint32_t y) {
  const int dx = bundles_.xOffsets.take(failed_);
  const int dy = bundles_.yOffsets.take(failed_);
  const std::int64_t sourceX = std::int64_t{x} + dx;
  const std::int64_t sourceY = std::int64_t{y} + dy;
  if (sourceX < 0 || sourceY < 0 || sourceX + 8 > plane_.width || sourceY + 8 > plane_.height) {
    failed_ = true;
  }
  if (failed_) return false;
  copyBlock(out, plane_.previous + static_cast<std::size_t>(sourceY) * plane_.pitch +
                     static_cast<std::size_t>(sourceX),
            plane_.pitch);
  return true;
}

void BlockDecoder::decodeResidue(std::uint8_t* out, std::uint32_t x, std::uint32_t y) {
  if (!predict(out, x, y)) return;
  const unsigned maskCount = bits_.read(7);
  alignas(16) std::uint8_t residue[64] = {};
  readResidue(bits_, maskCount, residue);
  kernels_.addBlock(out, plane_.pitch, residue);
}

void BlockDecoder::decodeInter(std::uint8_t* out, std::uint32_t x, std::uint32_t y) {
  if (!predict(out, x, y)) return;
  const std::int32_t dc = bundles_.interDc.take(failed_);
  alignas(16) std::uint8_t result[64];
  transformBlock(bits_, kernels_, dc, interQuantisers(), result);
  kernels_.addBlock(out, plane_.pitch, result);
}

std::uint32_t BlockDecoder::decodeScaled(std::uint8_t* out, std::uint32_t x, std::uint32_t y) {
  // The lower half of a scaled area was written with its upper half; its
  // type is only there to be passed over.
  if ((y / 8) % 2 == 1) return 16;
  if (x + 16 > plane_.width || y + 16 > plane_.height) {
    failed_ = true;
    return 16;
  }
  alignas(16) std::uint8_t block[64];
  switch (static_cast<BlockType>(bundles_.blockSubtypes.take(failed_))) {
    case BlockType::kRun:
      decodeRun(block, 8);
      break;
    case BlockType::kIntra:
      decodeIntra(block, 8);
      break;
    case BlockType::kFill:
      decodeFill(block, 8);
      break;
    case BlockType::kPattern:
      decodePattern(block, 8);
      break;
    case BlockType::kRaw:
      decodeRaw(block, 8);
      break;
    default:
      // Other sub types write nothing.
      return 16;
  }
  if (!failed_) kernels_.doubleBlock(out, plane_.pitch, block);
  return 16;
}

}  // namespace zet
