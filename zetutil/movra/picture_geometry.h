// Plane and display sizes of a house video picture.
#pragma once

#include <cstdint>

namespace zet {

struct PictureGeometry {
  std::uint32_t coded_width = 0;
  std::uint32_t coded_height = 0;
  // Chroma planes are half size rounded up, then padded to whole 8x8 blocks;
  // the luma planes are twice the chroma planes so that every luma block
  // pair has a chroma block.
  std::uint32_t chroma_pitch = 0;
  std::uint32_t chroma_rows = 0;
  std::uint32_t luma_pitch = 0;
  std::uint32_t luma_rows = 0;
  std::uint32_t display_width = 0;
  std::uint32_t display_height = 0;

  std::uint64_t lumaBytes() const { return std::uint64_t{luma_pitch} * luma_rows; }
  std::uint64_t chromaBytes() const { return std::uint64_t{chroma_pitch} * chroma_rows; }
  // One frame set: the Y plane followed by the two chroma planes.
  std::uint64_t frameSetBytes() const { return lumaBytes() + 2 * chromaBytes(); }
};

// `scaleMode` is 0..6; any other value keeps the coded size.
PictureGeometry pictureGeometry(std::uint32_t width, std::uint32_t height, std::uint32_t scaleMode);

// True when the scale mode doubles the picture's width, its height.
bool scaleModeDoublesWidth(std::uint32_t scaleMode);
bool scaleModeDoublesHeight(std::uint32_t scaleMode);

}  // namespace zet
