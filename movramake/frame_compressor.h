// Compresses one frame of the look-ahead window under a byte budget: the
// candidate passes, the bandwidth allocation, the merge of the two
// resolutions and the coding of every plane, which also rebuilds the
// picture the decoder will show as the reference for the next frame.
#pragma once

#include <cstdint>
#include <optional>

#include "encoder_handle.h"
#include "file_writer.h"

namespace movra {

// The coded planes are in the handle's encoded-plane buffers. Empty when
// the frame's work buffers cannot be allocated or a coded plane does not
// fit its buffer.
std::optional<EncodedFrame> compressFrame(Encoder& encoder, unsigned slot, std::uint32_t budgetBytes);

}  // namespace movra
