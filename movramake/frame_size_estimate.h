// How many bytes each frame of the look-ahead window is likely to need,
// relative to the others: the window's pool is shared out in proportion.
#pragma once

#include <cstdint>

#include "encoder_settings.h"
#include "frame_planes.h"

namespace movra {

// A key frame: the entropy of all its planes, x 3 / 2. Another frame: the
// entropy of the bytes that changed by more than 2 since `previous`.
std::uint64_t estimateFrameBytes(const FramePlanes& frame, const FramePlanes& previous, bool key,
                                 const PlaneGeometry& geometry);

}  // namespace movra
