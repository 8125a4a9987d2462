// Converters from 4:2:0 YUV lines to 32-bit pixels (bytes B, G, R, A).
//
// A call converts one line, or two lines that share a chroma line, starting
// at an even source pixel so that pixels 2i and 2i + 1 take chroma sample i.
// Every variant gives exactly the plain version's pixels.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zet {

struct YuvRows {
  std::uint8_t* destination[2] = {};
  const std::uint8_t* luma[2] = {};
  const std::uint8_t* alpha[2] = {};  // null: the fourth byte of each pixel is 0
  std::size_t lines = 1;              // 1 or 2
  const std::uint8_t* cr = nullptr;   // chroma of the first pixel pair
  const std::uint8_t* cb = nullptr;
  std::size_t pixels = 0;
  bool redBlueSwapped = false;  // older colour layout: red and blue results exchange
  bool doubleWidth = false;     // each pixel written twice along the line
};

using YuvRowsConverter = void (*)(const YuvRows&);

void convertColourRowsPlain(const YuvRows& rows);
void convertColourRowsSse2(const YuvRows& rows);
void convertColourRowsAvx2(const YuvRows& rows);

// Grey pictures: chroma is ignored and each pixel is its luma's grey level.
void convertGreyRows(const YuvRows& rows);

// The fastest colour converter this processor runs, chosen once.
YuvRowsConverter bestColourRowsConverter();

// The rows that remain after the first `done` pixels (an even count).
YuvRows remainingRows(const YuvRows& rows, std::size_t done);

}  // namespace zet
