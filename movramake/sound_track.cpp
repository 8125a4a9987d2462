#include "sound_track.h"

#include "scaled_arithmetic.h"

namespace movra {
namespace {

constexpr std::uint32_t kSixteenBitFormat = 0x40000000;
constexpr std::uint32_t kStereoFormat = 0x20000000;
constexpr std::uint32_t kFftFormat = 0x80000000;
constexpr std::uint32_t kFirstFftCodecValue = 100;

}  // namespace

std::uint64_t soundBytesOfFrames(const SoundTrack& track, std::uint64_t frames, std::uint32_t rateNum,
                                 std::uint32_t rateDiv) {
  return mulDiv(std::uint64_t{track.bytesPerSecond} * frames, rateDiv, rateNum);
}

SoundTrack makeSoundTrack(const MovraMakeTrack& descriptor, std::uint32_t frameCount,
                          std::uint32_t rateNum, std::uint32_t rateDiv) {
  SoundTrack track;
  track.trackId = descriptor.track_id;
  track.sampleRate = descriptor.sample_rate;
  track.bits = descriptor.bits;
  track.channels = descriptor.channels;
  track.formatWord = descriptor.sample_rate | (descriptor.bits == 16 ? kSixteenBitFormat : 0) |
                     (descriptor.channels == 2 ? kStereoFormat : 0) |
                     (descriptor.codec_quality < kFirstFftCodecValue ? kDctTrackFormat : kFftFormat);
  track.bytesPerSecond = descriptor.sample_rate * descriptor.channels * 2;
  track.leadBytes = track.bytesPerSecond * 3 / 4;
  const std::uint64_t movieBytes = soundBytesOfFrames(track, frameCount, rateNum, rateDiv);
  track.remaining = movieBytes > ~std::uint64_t{0} - 3 ? movieBytes & ~std::uint64_t{3}
                                                       : (movieBytes + 3) & ~std::uint64_t{3};
  track.quality = descriptor.codec_quality % 100;
  track.userValue = descriptor.user_value;
  track.callback = descriptor.callback;
  return track;
}

}  // namespace movra
