// One sound track of a file being written: its table entries, how much
// sound it still owes the movie, and the running compression ratio the
// budget planner uses to set bytes aside for sound.
#pragma once

#include <cstdint>

#include "movramake.h"
#include "sound_encoder.h"

namespace movra {

// Set in a track's format word when it is coded with the cosine transform.
inline constexpr std::uint32_t kDctTrackFormat = 0x10000000;

struct SoundTrack {
  std::uint32_t trackId = 0;
  std::uint32_t sampleRate = 0;
  std::uint32_t bits = 0;
  std::uint32_t channels = 0;
  // Source bytes the callback returned and compressed bytes written; they
  // start as 45 and 10, the ratio assumed before any sound is coded.
  std::uint64_t sourceBytesSeen = 45;
  std::uint64_t compressedBytes = 10;
  std::uint32_t formatWord = 0;
  std::uint32_t largestPacket = 0;  // largest decoded size of one packet
  std::uint32_t leadBytes = 0;      // decoded sound the first frame carries ahead of the picture
  std::uint32_t bytesPerSecond = 0;
  std::uint64_t remaining = 0;  // decoded bytes still owed to the movie
  std::uint64_t delivered = 0;
  std::uint32_t quality = 0;
  MovraSoundEncoder* encoder = nullptr;
  std::uint64_t leadingSilence = 0;  // zero bytes handed out before the callback's sound
  std::uint32_t userValue = 0;
  MovraMakeSoundCallback callback = nullptr;
};

// A track for a movie of `frameCount` frames at rateNum / rateDiv frames per
// second, without its encoder.
SoundTrack makeSoundTrack(const MovraMakeTrack& descriptor, std::uint32_t frameCount,
                          std::uint32_t rateNum, std::uint32_t rateDiv);

// Decoded sound bytes of `frames` frames of the track.
std::uint64_t soundBytesOfFrames(const SoundTrack& track, std::uint64_t frames, std::uint32_t rateNum,
                                 std::uint32_t rateDiv);

}  // namespace movra
