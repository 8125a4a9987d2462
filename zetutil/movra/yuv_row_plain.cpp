#include <utility>

#include "yuv_row_converter.h"
#include "yuv_tables.h"

namespace zet {
namespace {

void putPixel(std::uint8_t*& destination, bool doubleWidth, std::uint8_t blue, std::uint8_t green,
              std::uint8_t red, std::uint8_t alpha) {
  for (int copy = doubleWidth ? 2 : 1; copy > 0; --copy) {
    destination[0] = blue;
    destination[1] = green;
    destination[2] = red;
    destination[3] = alpha;
    destination += 4;
  }
}

}  // namespace

void convertColourRowsPlain(const YuvRows& rows) {
  const YuvTables& tables = yuvTables();
  const std::uint8_t* clamp = yuvClampOrigin();
  for (std::size_t line = 0; line < rows.lines; ++line) {
    std::uint8_t* destination = rows.destination[line];
    const std::uint8_t* luma = rows.luma[line];
    const std::uint8_t* alpha = rows.alpha[line];
    for (std::size_t i = 0; i < rows.pixels; ++i) {
      const std::uint8_t cr = rows.cr[i / 2];
      const std::uint8_t cb = rows.cb[i / 2];
      const std::int32_t l = tables.luma[luma[i]];
      std::uint8_t red = clamp[l + tables.crRed[cr]];
      const std::uint8_t green = clamp[l + tables.crGreen[cr] + tables.cbGreen[cb]];
      std::uint8_t blue = clamp[l + tables.cbBlue[cb]];
      if (rows.redBlueSwapped) std::swap(red, blue);
      putPixel(destination, rows.doubleWidth, blue, green, red, alpha ? alpha[i] : 0);
    }
  }
}

void convertGreyRows(const YuvRows& rows) {
  const YuvTables& tables = yuvTables();
  for (std::size_t line = 0; line < rows.lines; ++line) {
    std::uint8_t* destination = rows.destination[line];
    const std::uint8_t* luma = rows.luma[line];
    const std::uint8_t* alpha = rows.alpha[line];
    for (std::size_t i = 0; i < rows.pixels; ++i) {
      const std::uint8_t grey = tables.grey[luma[i]];
      putPixel(destination, rows.doubleWidth, grey, grey, grey, alpha ? alpha[i] : 0);
    }
  }
}

YuvRows remainingRows(const YuvRows& rows, std::size_t done) {
  YuvRows rest = rows;
  const std::size_t destinationBytes = done * (rows.doubleWidth ? 8 : 4);
  for (std::size_t line = 0; line < rows.lines; ++line) {
    rest.destination[line] += destinationBytes;
    rest.luma[line] += done;
    if (rest.alpha[line]) rest.alpha[line] += done;
  }
  rest.cr += done / 2;
  rest.cb += done / 2;
  rest.pixels -= done;
  return rest;
}

}  // namespace zet
