#include "picture_geometry.h"

namespace zet {
namespace {

std::uint32_t roundUpTo8(std::uint32_t value) { return (value + 7) & ~std::uint32_t{7}; }

}  // namespace

bool scaleModeDoublesWidth(std::uint32_t scaleMode) { return scaleMode >= 3 && scaleMode <= 5; }

bool scaleModeDoublesHeight(std::uint32_t scaleMode) {
  return scaleMode == 1 || scaleMode == 2 || scaleMode == 4 || scaleMode == 5;
}

PictureGeometry pictureGeometry(std::uint32_t width, std::uint32_t height, std::uint32_t scaleMode) {
  PictureGeometry geometry;
  geometry.coded_width = width;
  geometry.coded_height = height;
  geometry.chroma_pitch = roundUpTo8(width / 2 + width % 2);
  geometry.chroma_rows = roundUpTo8(height / 2 + height % 2);
  geometry.luma_pitch = 2 * geometry.chroma_pitch;
  geometry.luma_rows = 2 * geometry.chroma_rows;
  geometry.display_width = scaleModeDoublesWidth(scaleMode) ? 2 * width : width;
  geometry.display_height = scaleModeDoublesHeight(scaleMode) ? 2 * height : height;
  return geometry;
}

}  // namespace zet
