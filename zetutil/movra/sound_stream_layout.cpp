#include "sound_stream_layout.h"

#include <algorithm>

namespace zet {

std::optional<SoundStreamLayout> soundStreamLayout(std::uint32_t sampleRate, std::uint32_t channels,
                                                   SoundVariant variant) {
  if (sampleRate == 0 || sampleRate > kSoundHighestRate || channels < 1 || channels > 2) {
    return std::nullopt;
  }
  SoundStreamLayout layout;
  layout.sampleRate = sampleRate;
  layout.channels = channels;
  layout.variant = variant;
  layout.baseLength = sampleRate < 22050 ? 512 : sampleRate < 44100 ? 1024 : 2048;
  const bool fft = variant == SoundVariant::Fft;
  layout.transformLength = fft ? layout.baseLength * channels : layout.baseLength;
  layout.codedChannels = fft ? 1 : channels;
  layout.effectiveRate = fft ? sampleRate * channels : sampleRate;
  layout.blockSamples = layout.baseLength * channels;
  layout.overlapSamples = layout.blockSamples / 16;
  layout.halfRate = (layout.effectiveRate + 1) / 2;

  const std::uint32_t halfLength = layout.transformLength / 2;
  while (layout.bandCount < kSoundBandTableSize &&
         kSoundBandFrequencies[layout.bandCount] < layout.halfRate) {
    const std::uint32_t k = layout.bandCount++;
    layout.bandLimits[k] = kSoundBandFrequencies[k] * halfLength / layout.halfRate;
    layout.bandStarts[k] = 2 * std::max(1u, layout.bandLimits[k]);
  }
  layout.bandLimits[layout.bandCount] = halfLength;
  layout.bandStarts[layout.bandCount] = layout.transformLength;
  return layout;
}

}  // namespace zet
