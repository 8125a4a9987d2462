// Turns a 32-bit picture (bytes B, G, R, A) into the planes the encoder
// codes: luma and alpha at full size, Cr and Cb at half size in both
// directions, all padded to whole blocks by repeating the last real column
// and row.
#pragma once

#include <cstddef>
#include <cstdint>

#include "encoder_settings.h"
#include "frame_planes.h"

namespace movra {

struct PictureLayout {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::ptrdiff_t pitch = 0;  // bytes from one row to the next; negative for bottom-up
  PlaneGeometry planes;
};

// Fills the planes present in `out` (chroma and alpha may be null).
void takePicture(const std::uint8_t* pixels, const PictureLayout& layout, const FramePlanes& out);

}  // namespace movra
