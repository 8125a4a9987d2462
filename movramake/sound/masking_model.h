// The masking model: how much quantisation noise each band of a block can
// hide, from the block's analysis spectrum. Tonal bands (whose bins follow
// the course of the two blocks before) mask less than noisy ones.
#pragma once

#include <array>
#include <cstdint>

#include "sound_stream_layout.h"

namespace movra {

// Magnitude and phase of every analysis bin in the previous block (1) and
// the one before (2), for one coded channel; all 0 before the first block.
struct SpectrumHistory {
  float* magnitude1 = nullptr;
  float* phase1 = nullptr;
  float* magnitude2 = nullptr;
  float* phase2 = nullptr;
};

using BandValues = std::array<float, zet::kSoundBandTableSize>;

// 1 / (sum of the spreading weights every band receives from all bands).
BandValues spreadingNormalisation(const zet::SoundStreamLayout& layout);

// The noise energy each band may carry (in the squared units of
// `spectrum`), for the packed, scaled analysis spectrum of one channel's
// block at quality level `level`; moves this block into the history.
BandValues allowedNoise(const zet::SoundStreamLayout& layout, const float* spectrum,
                        SpectrumHistory& history, float level, const BandValues& normalisation);

}  // namespace movra
