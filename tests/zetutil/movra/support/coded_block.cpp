#include "coded_block.h"

#include "block_types.h"

namespace zet::testing {

namespace {
unsigned code(BlockType type) { return static_cast<unsigned>(type); }
}  // namespace

CodedBlock CodedBlock::fill(std::uint8_t color) {
  CodedBlock b;
  b.type = code(BlockType::kFill);
  b.colors = {color};
  return b;
}

CodedBlock CodedBlock::pattern(std::uint8_t c0, std::uint8_t c1,
                               const std::array<std::uint8_t, 8>& rows) {
  CodedBlock b;
  b.type = code(BlockType::kPattern);
  b.colors = {c0, c1};
  b.patternRows = rows;
  return b;
}

CodedBlock CodedBlock::raw(const std::vector<std::uint8_t>& colors) {
  CodedBlock b;
  b.type = code(BlockType::kRaw);
  b.colors = colors;
  return b;
}

CodedBlock CodedBlock::motion(int dx, int dy) {
  CodedBlock b;
  b.type = code(BlockType::kMotion);
  b.dx = dx;
  b.dy = dy;
  return b;
}

CodedBlock CodedBlock::run(unsigned scan, const std::vector<RunSegment>& segments,
                           const std::vector<std::uint8_t>& colors) {
  CodedBlock b;
  b.type = code(BlockType::kRun);
  b.scan = scan;
  b.segments = segments;
  b.colors = colors;
  return b;
}

CodedBlock CodedBlock::intra(int dc, const CoefficientValues& coefficients, unsigned quantiser) {
  CodedBlock b;
  b.type = code(BlockType::kIntra);
  b.dc = dc;
  b.values = coefficients;
  b.quantiser = quantiser;
  return b;
}

CodedBlock CodedBlock::inter(int dx, int dy, int dc, const CoefficientValues& coefficients,
                             unsigned quantiser) {
  CodedBlock b = intra(dc, coefficients, quantiser);
  b.type = code(BlockType::kInter);
  b.dx = dx;
  b.dy = dy;
  return b;
}

CodedBlock CodedBlock::residue(int dx, int dy, const CoefficientValues& values, unsigned maskCount) {
  CodedBlock b = motion(dx, dy);
  b.type = code(BlockType::kResidue);
  b.values = values;
  b.maskCount = maskCount;
  return b;
}

CodedBlock CodedBlock::scaled(const CodedBlock& inner) {
  CodedBlock b = inner;
  b.subtype = inner.type;
  b.type = code(BlockType::kScaled);
  return b;
}

CodedBlock CodedBlock::scaledLower() {
  CodedBlock b;
  b.type = code(BlockType::kScaled);
  return b;
}

CodedBlock CodedBlock::unused(unsigned typeCode) {
  CodedBlock b;
  b.type = typeCode;
  return b;
}

}  // namespace zet::testing
