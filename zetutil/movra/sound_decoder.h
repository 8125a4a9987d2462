// The sound decoder: turns the blocks of a track's sound packets into 16-bit
// PCM, one block at a time, carrying the overlap from each block to the next.
//
// Blocks come from files, so every block is read with the end of the data it
// lies in: a block that does not fit is refused without reading past the
// end, and leaves the decoder as it was.
#pragma once

#include <cstdint>

namespace zet {

struct MovraAudioDecoder;

struct MovraAudioBlock {
  // False when the block's fields run past the end of the data; the other
  // members are then empty.
  bool ok = false;
  // The decoder's output buffer, valid until the next call: the block's new
  // samples, channels interleaved.
  const std::int16_t* samples = nullptr;
  std::uint32_t bytes = 0;
  // Where the following block starts: the word after the last bit used.
  const std::uint8_t* next = nullptr;
};

// A decoder for `sampleRate` Hz (1 .. 65535) and 1 or 2 channels, coded with
// the cosine variant when `dct` is set, else with the Fourier variant. Null
// for other rates or channel counts, or when memory runs out. One allocation
// holds the record and every table.
MovraAudioDecoder* MovraAudioOpen(std::uint32_t sampleRate, std::uint32_t channels, bool dct);

// Decodes the block at `data`, which may use the bytes up to `end`.
MovraAudioBlock MovraAudioDecodeBlock(MovraAudioDecoder* decoder, const std::uint8_t* data,
                                      const std::uint8_t* end);

// Bytes of 16-bit output every block of this decoder yields: at most 7680
// (3840 samples of a 44.1 kHz stereo block).
std::uint32_t MovraAudioBlockBytes(const MovraAudioDecoder* decoder);

void MovraAudioClose(MovraAudioDecoder* decoder);

}  // namespace zet
