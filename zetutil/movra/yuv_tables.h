// Lookup tables of the YUV to RGB conversion. They never change after they
// are built, so any number of converters on any threads share them; the
// older colour layout is a choice made per call, not a table swap.
#pragma once

#include <array>
#include <cstdint>

namespace zet {

struct YuvTables {
  std::array<std::int32_t, 256> luma;      // L(Y), 0..254
  std::array<std::int32_t, 256> crRed;     // Cr's share of red
  std::array<std::int32_t, 256> crGreen;   // Cr's share of green
  std::array<std::int32_t, 256> cbGreen;   // Cb's share of green
  std::array<std::int32_t, 256> cbBlue;    // Cb's share of blue
  std::array<std::uint8_t, 256> grey;      // grey pictures: Y straight to a grey level
};

const YuvTables& yuvTables();

// Lowest and highest sums of a luma term and its chroma terms; the clamp
// table covers exactly this range (the blue sum reaches -258).
extern const std::int32_t kYuvClampLowest;
extern const std::int32_t kYuvClampHighest;

// The clamp table, positioned so that origin[sum] = min(max(sum, 0), 255)
// for kYuvClampLowest <= sum <= kYuvClampHighest: no branch per channel.
const std::uint8_t* yuvClampOrigin();

}  // namespace zet
