// Writes the house video file of an encoder: the header, the three track
// tables and the frame index at creation, one packet per compressed frame,
// and rewrites of the header and index so that the file plays up to the
// last rewrite while it is still growing.
#pragma once

#include <array>
#include <cstdint>

#include "encoder_handle.h"

namespace movra {

// Header, track tables and an empty index, from offset 0 (under the writer
// lock).
void writeFileStart(Encoder& encoder);

// Records where frame `frames_written` starts, with its key flag. The
// caller holds the writer lock.
void recordFrameStart(Encoder& encoder, bool key);

struct EncodedFrame {
  // Coded bytes of luma, Cr, Cb and alpha (multiples of 4); 0 for a plane
  // the movie does not carry.
  std::array<std::uint32_t, kPlaneCount> planeBytes{};
};

// Writes the sound packets and the planes of the frame whose start was
// recorded, counts it as written and returns its packet size. The caller
// holds the writer lock. Sets `failed` (with an error report) when the file
// was short-written or the packet ends past the file's 32-bit offsets; the
// frame is then not counted.
std::uint32_t writeFramePacket(Encoder& encoder, const EncodedFrame& frame);

// Header fields, track tables and index rewritten in place; false when the
// file did not become free within 250 ms.
bool rewriteHeader(Encoder& encoder);

// Pending bits padded, the buffer written and the file committed to disk,
// under the writer lock.
void flushToDisk(Encoder& encoder);

// After a compression call: rewrites the header (and flushes) once 200000
// bytes were added or a minute passed since the last rewrite.
void rewriteHeaderWhenDue(Encoder& encoder);

// The size of the output: the larger of its end and the write position.
std::uint64_t outputSize(Encoder& encoder);

}  // namespace movra
