// The psychoacoustic sound encoder: codes 16-bit PCM, block by block, into
// the sound blocks that house video frame packets and compressed sound
// files carry.
//
// Both libraries carry it: it is built once as the position-independent
// static library zet_sound_encoder, which movramake links to code its
// tracks and zetutil's compressed-sound writer links too. The block format
// itself (stream layout, tables, transforms, bit writer) comes from
// zetutil/movra's zet_movra_format, the very code the decoder uses, so the
// two sides cannot disagree about a block. Memory comes from zetmalloc of
// whichever library the encoder is linked into.
#pragma once

#include <cstdint>

namespace movra {

struct MovraSoundEncoder;

struct SoundInputWindow {
  std::uint8_t* buffer = nullptr;
  // The whole block the first time, afterwards the block less the overlap
  // that the encoder keeps at the front.
  std::uint32_t bytes = 0;
};

struct SoundCodedBlock {
  const std::uint8_t* bytes = nullptr;  // valid until the next call
  std::uint32_t size = 0;               // a multiple of 4
  std::uint32_t decodedBytes = 0;       // 16-bit PCM bytes the block yields
};

// An encoder for `sampleRate` Hz (1 .. 65535, what a track's format word
// holds) and 1 or 2 channels, with the cosine coding when `dctCoding` is set,
// else the Fourier coding. Null for other rates or channel counts, or when
// memory runs out.
MovraSoundEncoder* createSoundEncoder(std::uint32_t sampleRate, std::uint32_t channels,
                                      bool dctCoding);

// Where the next block's new samples go (16-bit little-endian, channels
// interleaved).
SoundInputWindow soundEncoderInputWindow(MovraSoundEncoder* encoder);

// Codes the block whose `delivered` new bytes (at most the window's size)
// were just stored in the input window, at `quality` 0 (best) .. 99.
SoundCodedBlock encodeSoundBlock(MovraSoundEncoder* encoder, std::uint32_t delivered,
                                 std::uint32_t quality);

void releaseSoundEncoder(MovraSoundEncoder* encoder);

}  // namespace movra
