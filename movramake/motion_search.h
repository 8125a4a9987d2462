// Finds the motion vector of an 8 x 8 block: the offset, within 15 pixels
// and inside the reference plane, whose reference block is closest to the
// source block.
#pragma once

#include <cstdint>

#include "block_view.h"

namespace movra {

struct MotionVector {
  std::int8_t dx = 0;
  std::int8_t dy = 0;
};

struct MotionSearchArea {
  const std::uint8_t* reference = nullptr;
  std::size_t pitch = 0;
  std::uint32_t width = 0;   // plane width and height, multiples of 8
  std::uint32_t height = 0;
};

// `source` holds the block's 64 samples; (x, y) is its position in pixels.
// Offsets are visited 0, 1, ... up to the positive limit, then from the
// negative limit up to -1, rows outermost; only a strictly smaller SAD
// replaces the best, so the first offset in that order wins ties.
MotionVector searchMotion(const MotionSearchArea& area, std::uint32_t x, std::uint32_t y,
                          const std::uint8_t* source);

}  // namespace movra
