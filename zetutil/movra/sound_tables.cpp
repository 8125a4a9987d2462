#include "sound_tables.h"

#include <cmath>

namespace zet {

const std::array<std::uint32_t, kSoundBandTableSize> kSoundBandFrequencies = {
    0,    100,  200,  300,  400,  510,  630,  770,  920,  1080, 1270,  1480,  1720,
    2000, 2320, 2700, 3150, 3700, 4400, 5300, 6400, 7700, 9500, 12000, 15500,
};

const std::array<std::uint32_t, kSoundRunCodes> kSoundRunGroups = {
    2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15, 16, 32, 64,
};

namespace {

std::array<float, kSoundQuantiserIndices> buildPowers(float sign) {
  std::array<float, kSoundQuantiserIndices> powers{};
  for (unsigned v = 0; v < kSoundQuantiserIndices; ++v) {
    const float exponent = static_cast<float>(v) * kSoundQuantiserExponent;
    powers[v] = std::pow(10.0f, sign * exponent);
  }
  return powers;
}

}  // namespace

const std::array<float, kSoundQuantiserIndices>& soundQuantiserSteps() {
  static const std::array<float, kSoundQuantiserIndices> steps = buildPowers(1.0f);
  return steps;
}

const std::array<float, kSoundQuantiserIndices>& soundQuantiserReciprocals() {
  static const std::array<float, kSoundQuantiserIndices> reciprocals = buildPowers(-1.0f);
  return reciprocals;
}

}  // namespace zet
