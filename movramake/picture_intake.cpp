#include "picture_intake.h"

#include <algorithm>
#include <cstring>

namespace movra {
namespace {

struct Pixel {
  int blue, green, red, alpha;
};

Pixel pixelAt(const std::uint8_t* row, std::uint32_t column) {
  const std::uint8_t* p = row + std::size_t{column} * 4;
  return {p[0], p[1], p[2], p[3]};
}

std::uint8_t lumaOf(const Pixel& p) {
  return static_cast<std::uint8_t>(16 + (263 * p.red + 516 * p.green + 100 * p.blue) / 1024);
}

// Both chroma values of a 2 x 2 cell come from its sums; C++ division
// truncates toward zero, as the format's converter expects.
std::uint8_t chromaOf(int weighted) { return static_cast<std::uint8_t>(128 + weighted / 4096); }

void padRow(std::uint8_t* row, std::uint32_t used, std::uint32_t padded) {
  std::memset(row + used, row[used - 1], padded - used);
}

void copyLastRowDown(std::uint8_t* plane, std::uint32_t rowBytes, std::uint32_t usedRows,
                     std::uint32_t paddedRows) {
  const std::uint8_t* last = plane + std::size_t{usedRows - 1} * rowBytes;
  for (std::uint32_t row = usedRows; row < paddedRows; ++row) {
    std::memcpy(plane + std::size_t{row} * rowBytes, last, rowBytes);
  }
}

}  // namespace

void takePicture(const std::uint8_t* pixels, const PictureLayout& layout, const FramePlanes& out) {
  const PlaneGeometry& g = layout.planes;
  const std::uint32_t chromaColumns = (layout.width + 1) / 2;
  const std::uint32_t chromaRows = (layout.height + 1) / 2;
  std::uint8_t* luma = out.plane[kLuma];
  std::uint8_t* cr = out.plane[kCr];
  std::uint8_t* cb = out.plane[kCb];
  std::uint8_t* alpha = out.plane[kAlpha];

  for (std::uint32_t pair = 0; pair < chromaRows; ++pair) {
    const std::uint32_t top = pair * 2;
    const std::uint32_t bottom = std::min(top + 1, layout.height - 1);
    const std::uint8_t* topRow = pixels + static_cast<std::ptrdiff_t>(top) * layout.pitch;
    const std::uint8_t* bottomRow = pixels + static_cast<std::ptrdiff_t>(bottom) * layout.pitch;
    std::uint8_t* lumaTop = luma + std::size_t{top} * g.lumaWidth;
    std::uint8_t* lumaBottom = luma + std::size_t{bottom} * g.lumaWidth;
    std::uint8_t* alphaTop = alpha ? alpha + std::size_t{top} * g.lumaWidth : nullptr;
    std::uint8_t* alphaBottom = alpha ? alpha + std::size_t{bottom} * g.lumaWidth : nullptr;
    std::uint8_t* crRow = cr ? cr + std::size_t{pair} * g.chromaWidth : nullptr;
    std::uint8_t* cbRow = cb ? cb + std::size_t{pair} * g.chromaWidth : nullptr;

    for (std::uint32_t cell = 0; cell < chromaColumns; ++cell) {
      const std::uint32_t left = cell * 2;
      const std::uint32_t right = std::min(left + 1, layout.width - 1);
      const Pixel p0 = pixelAt(topRow, left), p1 = pixelAt(topRow, right);
      const Pixel p2 = pixelAt(bottomRow, left), p3 = pixelAt(bottomRow, right);
      lumaTop[left] = lumaOf(p0);
      lumaTop[right] = lumaOf(p1);
      lumaBottom[left] = lumaOf(p2);
      lumaBottom[right] = lumaOf(p3);
      if (alpha) {
        alphaTop[left] = static_cast<std::uint8_t>(p0.alpha);
        alphaTop[right] = static_cast<std::uint8_t>(p1.alpha);
        alphaBottom[left] = static_cast<std::uint8_t>(p2.alpha);
        alphaBottom[right] = static_cast<std::uint8_t>(p3.alpha);
      }
      if (cr) {
        const int reds = p0.red + p1.red + p2.red + p3.red;
        const int greens = p0.green + p1.green + p2.green + p3.green;
        const int blues = p0.blue + p1.blue + p2.blue + p3.blue;
        crRow[cell] = chromaOf(450 * reds - 377 * greens - 73 * blues);
        cbRow[cell] = chromaOf(450 * blues - 298 * greens - 152 * reds);
      }
    }
    padRow(lumaTop, layout.width, g.lumaWidth);
    padRow(lumaBottom, layout.width, g.lumaWidth);
    if (alpha) {
      padRow(alphaTop, layout.width, g.lumaWidth);
      padRow(alphaBottom, layout.width, g.lumaWidth);
    }
    if (cr) {
      padRow(crRow, chromaColumns, g.chromaWidth);
      padRow(cbRow, chromaColumns, g.chromaWidth);
    }
  }

  copyLastRowDown(luma, g.lumaWidth, layout.height, g.lumaHeight);
  if (alpha) copyLastRowDown(alpha, g.lumaWidth, layout.height, g.lumaHeight);
  if (cr) {
    copyLastRowDown(cr, g.chromaWidth, chromaRows, g.chromaHeight);
    copyLastRowDown(cb, g.chromaWidth, chromaRows, g.chromaHeight);
  }
}

}  // namespace movra
