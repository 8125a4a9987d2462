// The parameters a sound stream's sample rate, channel count and transform
// variant fix for every block: lengths, overlap and band layout. The decoder
// and the encoder derive them from here so that they always agree.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "sound_tables.h"

namespace zet {

enum class SoundVariant : std::uint8_t {
  Dct,  // each channel coded apart with a cosine transform
  Fft,  // the interleaved channels coded as one signal with a real Fourier transform
};

// A track's format word keeps the rate in 16 bits.
inline constexpr std::uint32_t kSoundHighestRate = 65535;

struct SoundStreamLayout {
  std::uint32_t sampleRate = 0;
  std::uint32_t channels = 0;
  SoundVariant variant = SoundVariant::Dct;
  std::uint32_t baseLength = 0;       // 512 below 22050 Hz, 1024 below 44100 Hz, else 2048
  std::uint32_t transformLength = 0;  // coefficients per coded channel
  std::uint32_t codedChannels = 0;
  std::uint32_t effectiveRate = 0;   // the rate the transform sees
  std::uint32_t blockSamples = 0;    // samples of all channels in one block
  std::uint32_t overlapSamples = 0;  // samples each block shares with the next
  std::uint32_t halfRate = 0;
  std::uint32_t bandCount = 0;
  // Band k spans the spectrum bins bandLimits[k] .. bandLimits[k + 1] - 1,
  // that is the coefficients 2 x bandLimits[k] .. 2 x bandLimits[k + 1] - 1.
  std::array<std::uint32_t, kSoundBandTableSize + 1> bandLimits{};
  // The coefficients of a coded block that each band's step applies to:
  // bandStarts[k] .. bandStarts[k + 1] - 1. Band 0 starts at 2 because the
  // first two coefficients travel as floats; bandStarts[bandCount] is the
  // transform length.
  std::array<std::uint32_t, kSoundBandTableSize + 1> bandStarts{};

  std::uint32_t blockBytes() const { return blockSamples * 2; }
  std::uint32_t overlapBytes() const { return overlapSamples * 2; }
  // New samples each block adds to the decoded sound.
  std::uint32_t yieldSamples() const { return blockSamples - overlapSamples; }
};

// The layout for 1 .. kSoundHighestRate Hz and 1 or 2 channels; nothing for
// other values, which no block could be coded or decoded with.
std::optional<SoundStreamLayout> soundStreamLayout(std::uint32_t sampleRate, std::uint32_t channels,
                                                   SoundVariant variant);

}  // namespace zet
