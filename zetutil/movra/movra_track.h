// A sound track of an open house video reader. Sound input reads a movie's
// sound through these; the sound decoder behind them arrives with the audio
// codec, and until then no track opens.
#pragma once

#include <cstdint>

#include "movra_reader.h"

namespace zet {

struct MovraTrack {
  std::uint32_t sample_rate = 0;      // Hz
  std::uint32_t bits = 0;             // per output sample: 16, or 8
  std::uint32_t channels = 0;         // 1 or 2
  std::uint32_t output_bytes = 0;     // what one frame's sound can fill: the caller's buffer size
  MovraReader* reader = nullptr;
  void* decoder = nullptr;
  std::uint32_t index = 0;            // position in the track tables
};

// The caller's buffer for one frame of track `i`: its largest decoded size
// rounded up to whole 32-bit words, halved for an 8-bit track.
std::uint32_t trackOutputBytes(std::uint32_t trackBufferSize, std::uint32_t trackFormat);

// Null for a null reader, `i` >= tracks, a track without a codec the reader
// knows, or when no sound decoder is available.
MovraTrack* MovraTrackOpen(MovraReader* reader, std::uint32_t i);

}  // namespace zet
