// One block of a test plane as the stream writer codes it: its type and the
// values it carries. The factories say what each type needs.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "coefficient_writer.h"

namespace zet::testing {

struct RunSegment {
  unsigned length = 1;      // 1..16 positions
  bool oneColour = false;   // one colour for the whole segment, else one per position
};

struct CodedBlock {
  unsigned type = 0;  // block type code 0..15
  // SCALED: the sub type code and the fields below describe the 8x8 block
  // that is doubled.
  unsigned subtype = 0;
  // FILL: 1, PATTERN: 2 (c0, c1), RAW: 64 row by row, RUN: 64 in scan order.
  std::vector<std::uint8_t> colors;
  std::array<std::uint8_t, 8> patternRows{};
  int dx = 0;
  int dy = 0;
  int dc = 0;
  unsigned quantiser = 0;
  CoefficientValues values{};  // INTRA and INTER coefficients, RESIDUE values
  unsigned scan = 0;
  std::vector<RunSegment> segments;
  unsigned maskCount = 127;

  static CodedBlock skip() { return {}; }
  static CodedBlock fill(std::uint8_t color);
  static CodedBlock pattern(std::uint8_t c0, std::uint8_t c1, const std::array<std::uint8_t, 8>& rows);
  static CodedBlock raw(const std::vector<std::uint8_t>& colors);
  static CodedBlock motion(int dx, int dy);
  // `colors` holds the colour of each scan position; a one-colour segment
  // needs equal colours over its positions.
  static CodedBlock run(unsigned scan, const std::vector<RunSegment>& segments,
                        const std::vector<std::uint8_t>& colors);
  static CodedBlock intra(int dc, const CoefficientValues& coefficients, unsigned quantiser);
  static CodedBlock inter(int dx, int dy, int dc, const CoefficientValues& coefficients,
                          unsigned quantiser);
  static CodedBlock residue(int dx, int dy, const CoefficientValues& values, unsigned maskCount);
  // The top-left block of a 16x16 area made from `inner` doubled; the
  // writer covers the block to its right with it.
  static CodedBlock scaled(const CodedBlock& inner);
  // The bottom-left block of a scaled area, which only repeats the type.
  static CodedBlock scaledLower();
  // A type code with no block data (10..15).
  static CodedBlock unused(unsigned typeCode);
};

}  // namespace zet::testing
