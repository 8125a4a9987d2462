// The window level of compression: shares the byte pool of the look-ahead
// window (the frames' targets plus the bank carried from earlier frames,
// less what sound will take) among the buffered frames in proportion to
// their estimated sizes, compresses the oldest frame (or all of them for
// the movie's last frames) and writes the packets.
#pragma once

#include <cstdint>

#include "encoder_handle.h"

namespace movra {

// `lastFrames`: the movie's last frame has arrived (or the file is being
// closed), so every buffered frame is compressed.
void compressWindow(Encoder& encoder, bool lastFrames);

// The smallest budget that can still carry a block type for every block
// and area of every plane.
std::uint64_t budgetFloor(const Encoder& encoder);

}  // namespace movra
