// The plane decoder: turns the coded data of one plane of a frame packet
// (alpha, luma or one chroma plane) into 8-bit samples.
//
// The reader calls it once per plane, in the order alpha, luma, first chroma,
// second chroma. A plane's data may come from a damaged file, so the data is
// passed with its end: nothing past `dataEnd` is ever read, nothing outside
// the destination plane is ever written, and every break of the coding rules
// makes the call fail instead of trusting the stream.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zet {

// Decode flag: colour values use the older sign-and-magnitude form (files of
// versions 'f', 'g' and 'h').
inline constexpr std::uint32_t kPlaneOlderColourValues = 0x00008000;

// Bytes of the nine value buffers the decoder fills while it works through a
// plane, for a movie whose luma pitch is `lumaPitch` (the largest plane pitch
// of the movie; chroma planes use the same buffers). The reader reserves one
// piece of this size per movie, 4-byte aligned or better, and passes it to
// every call.
std::size_t planeValueBuffersBytes(std::uint32_t lumaPitch);

struct PlaneValueBuffers {
  std::uint8_t* memory = nullptr;  // planeValueBuffersBytes(lumaPitch) bytes
  std::uint32_t lumaPitch = 0;     // the pitch the piece was sized for
};

struct PlaneDecodeResult {
  // False when the plane's data breaks the coding rules or runs past
  // `dataEnd`; the destination then holds a partly decoded plane, and the
  // caller keeps showing the previous picture.
  bool ok = false;
  // On success: the word after the last one the plane took bits from, which
  // is where a following plane without a size prefix starts. Never past
  // `dataEnd`.
  const std::uint8_t* next = nullptr;
};

// Decodes one plane of `width` x `height` samples (multiples of 8, width at
// most the buffers' luma pitch) into `destination`, reading the previous
// picture's plane from `previous` for the block types that copy from it.
// Both planes have rows `pitch` bytes apart. They are distinct buffers, or
// the same buffer when every frame of the movie is a key frame; a damaged
// stream that copies from the previous picture in that case stays defined.
// `flags` takes kPlaneOlderColourValues; other bits are ignored.
PlaneDecodeResult MovraPlaneDecode(std::uint8_t* destination, const std::uint8_t* previous,
                                   std::uint32_t width, std::uint32_t height, std::uint32_t pitch,
                                   const std::uint8_t* data, const std::uint8_t* dataEnd,
                                   const PlaneValueBuffers& valueBuffers, std::uint32_t flags);

}  // namespace zet
