// A sound track of an open house video reader: sound input reads a movie's
// sound through these, one frame's packet at a time. A track is opened after
// its reader and closed before it.
#pragma once

#include <cstdint>

#include "movra_reader.h"
#include "sound_decoder.h"

namespace zet {

struct MovraTrack {
  std::uint32_t sample_rate = 0;      // Hz
  std::uint32_t bits = 0;             // per output sample: 16, or 8
  std::uint32_t channels = 0;         // 1 or 2
  std::uint32_t output_bytes = 0;     // what one frame's sound can fill: the caller's buffer size
  MovraReader* reader = nullptr;
  MovraAudioDecoder* decoder = nullptr;
  std::uint32_t index = 0;            // position in the track tables
};

// The caller's buffer for one frame of track `i`: its largest decoded size
// rounded up to whole 32-bit words, halved for an 8-bit track.
std::uint32_t trackOutputBytes(std::uint32_t trackBufferSize, std::uint32_t trackFormat);

// Null for a null reader, `i` >= tracks, a track without a codec the reader
// knows, a rate of 0 (the format word's low 16 bits), or when memory runs
// out. The Fourier variant wins when both codec bits are set.
MovraTrack* MovraTrackOpen(MovraReader* reader, std::uint32_t i);

// Decodes the track's sound of the frame whose packet the reader holds into
// `dest` (output_bytes bytes): 16-bit little-endian samples, or for an 8-bit
// track each sample's high byte plus 128. Returns the bytes written: the
// packet's decoded size (halved for 8 bits), or less when its blocks end
// early, do not decode, or would not fit the buffer; 0 for a frame without
// sound for the track.
std::uint32_t MovraTrackDecode(MovraTrack* track, std::uint8_t* dest);

void MovraTrackClose(MovraTrack* track);

}  // namespace zet
