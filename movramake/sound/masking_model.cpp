#include "masking_model.h"

#include <algorithm>
#include <cmath>

#include "spreading_function.h"

namespace movra {

namespace {

constexpr float kPowerFloor = 0.0005f;

// How far a bin strays from the straight-line prediction out of the two
// blocks before, turned into its weight toward the band's tonality.
float tonalContribution(float magnitude, float phase, float magnitude1, float phase1,
                        float magnitude2, float phase2) {
  const float predictedMagnitude = 2.0f * magnitude1 - magnitude2;
  const float predictedPhase = 2.0f * phase1 - phase2;
  const float denominator = magnitude + std::fabs(predictedMagnitude);
  float measure = 0.5f;
  if (denominator >= 2.5f) {
    const float phaseError = predictedPhase - phase;
    const float magnitudeError = predictedMagnitude - magnitude;
    measure = std::sqrt(phaseError * phaseError + magnitudeError * magnitudeError) / denominator;
    if (measure > 0.5f || measure < 0.05f) measure = 0.5f;
  }
  return magnitude * (-0.43f * std::log(measure) - 0.29f);
}

BandValues spread(const BandValues& values, std::uint32_t bands) {
  BandValues spreadValues{};
  for (std::uint32_t k = 0; k < bands; ++k) {
    float sum = 0.0f;
    for (std::uint32_t j = 0; j < bands; ++j) {
      sum += spreading(static_cast<int>(k) - static_cast<int>(j)) * values[j];
    }
    spreadValues[k] = sum;
  }
  return spreadValues;
}

}  // namespace

BandValues spreadingNormalisation(const zet::SoundStreamLayout& layout) {
  BandValues ones{};
  std::fill_n(ones.begin(), layout.bandCount, 1.0f);
  BandValues normalisation = spread(ones, layout.bandCount);
  for (std::uint32_t k = 0; k < layout.bandCount; ++k) normalisation[k] = 1.0f / normalisation[k];
  return normalisation;
}

BandValues allowedNoise(const zet::SoundStreamLayout& layout, const float* spectrum,
                        SpectrumHistory& history, float level, const BandValues& normalisation) {
  const std::uint32_t bands = layout.bandCount;
  BandValues energy{};
  BandValues tonalEnergy{};
  for (std::uint32_t i = 0; i < bands; ++i) {
    float sumMagnitude = 0.0f;
    float sumContribution = 0.0f;
    const std::uint32_t first = layout.bandLimits[i], last = layout.bandLimits[i + 1];
    for (std::uint32_t b = first; b < last; ++b) {
      // Bin 0 holds the block's mean, which says nothing about masking.
      const float re = spectrum[2 * b];
      const float im = b == 0 ? 0.0f : spectrum[2 * b + 1];
      float power = b == 0 ? 1.0f : re * re + im * im;
      float phase = 0.0f;
      if (power <= kPowerFloor) {
        power = kPowerFloor;
      } else {
        phase = std::atan2(-im, re);
      }
      const float magnitude = std::sqrt(power);
      sumContribution +=
          tonalContribution(magnitude, phase, history.magnitude1[b], history.phase1[b],
                            history.magnitude2[b], history.phase2[b]);
      sumMagnitude += magnitude;
      energy[i] += power;
      history.magnitude2[b] = history.magnitude1[b];
      history.phase2[b] = history.phase1[b];
      history.magnitude1[b] = magnitude;
      history.phase1[b] = phase;
    }
    const float bins = static_cast<float>(last - first);
    const float tonality = sumMagnitude < 2.5f * bins ? 0.0f : sumContribution / sumMagnitude;
    tonalEnergy[i] = tonality * energy[i];
  }

  const BandValues spreadEnergy = spread(energy, bands);
  const BandValues spreadTonal = spread(tonalEnergy, bands);
  const float qualityOffset = level >= 48.0f ? 12.0f : level / 4.0f;
  BandValues allowed{};
  for (std::uint32_t k = 0; k < bands; ++k) {
    const float s = spreadEnergy[k];
    const float tonality = s <= kPowerFloor ? 0.0f : std::clamp(spreadTonal[k] / s, 0.0f, 1.0f);
    const float loudness = 10.0f * std::log10(s);
    const float offset = tonality * (14.5f + static_cast<float>(k)) + (1.0f - tonality) * 5.5f +
                         12.0f - qualityOffset;
    const float noise = loudness < offset ? 0.0f : std::pow(10.0f, (loudness - offset) / 10.0f);
    allowed[k] = noise * normalisation[k];
  }
  return allowed;
}

}  // namespace movra
