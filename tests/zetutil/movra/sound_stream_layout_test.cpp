#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "sound_stream_layout.h"
#include "sound_tables.h"

namespace zet {
namespace {

TEST(SoundTablesTest, BandAndRunTablesHoldTheFormatsValues) {
  EXPECT_EQ(kSoundBandFrequencies.front(), 0u);
  EXPECT_EQ(kSoundBandFrequencies[5], 510u);
  EXPECT_EQ(kSoundBandFrequencies[13], 2000u);
  EXPECT_EQ(kSoundBandFrequencies.back(), 15500u);
  EXPECT_EQ(kSoundRunGroups[0], 2u);
  EXPECT_EQ(kSoundRunGroups[5], 8u);
  EXPECT_EQ(kSoundRunGroups[13], 16u);
  EXPECT_EQ(kSoundRunGroups[14], 32u);
  EXPECT_EQ(kSoundRunGroups[15], 64u);
}

TEST(SoundTablesTest, QuantiserStepsFollowTheirSinglePrecisionRule) {
  EXPECT_EQ(std::bit_cast<std::uint32_t>(kSoundQuantiserExponent), 0x3D87FCB9u);
  const auto& steps = soundQuantiserSteps();
  const auto& reciprocals = soundQuantiserReciprocals();
  EXPECT_EQ(steps[0], 1.0f);
  EXPECT_EQ(reciprocals[0], 1.0f);
  for (unsigned v = 0; v < kSoundQuantiserIndices; ++v) {
    const double exponent = static_cast<double>(static_cast<float>(v) * kSoundQuantiserExponent);
    EXPECT_NEAR(steps[v] / std::pow(10.0, exponent), 1.0, 1e-6) << v;
    EXPECT_NEAR(reciprocals[v] * std::pow(10.0, exponent), 1.0, 1e-6) << v;
  }
  EXPECT_NEAR(steps[128], 3.1e8, 0.1e8);
}

struct LayoutCase {
  std::uint32_t rate, channels;
  SoundVariant variant;
  std::uint32_t transformLength, codedChannels, blockSamples, overlap, halfRate, bands;
};

class SoundStreamLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(SoundStreamLayoutTest, DerivesLengthsAndBands) {
  const LayoutCase& c = GetParam();
  const std::optional<SoundStreamLayout> layout = soundStreamLayout(c.rate, c.channels, c.variant);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->transformLength, c.transformLength);
  EXPECT_EQ(layout->codedChannels, c.codedChannels);
  EXPECT_EQ(layout->blockSamples, c.blockSamples);
  EXPECT_EQ(layout->overlapSamples, c.overlap);
  EXPECT_EQ(layout->halfRate, c.halfRate);
  EXPECT_EQ(layout->bandCount, c.bands);
  EXPECT_EQ(layout->yieldSamples(), c.blockSamples - c.overlap);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, SoundStreamLayoutTest,
                         ::testing::Values(
                             // 22050 Hz mono: blocks of 1024, 960 new samples (1920 bytes) each.
                             LayoutCase{22050, 1, SoundVariant::Dct, 1024, 1, 1024, 64, 11025, 23},
                             // 44100 Hz stereo as one interleaved signal at 88200 Hz, all 25 bands.
                             LayoutCase{44100, 2, SoundVariant::Fft, 4096, 1, 4096, 256, 44100, 25},
                             LayoutCase{44100, 2, SoundVariant::Dct, 2048, 2, 4096, 256, 22050, 25},
                             // 11025 Hz mono: the bands up to 5300 Hz lie below 5513 Hz.
                             LayoutCase{11025, 1, SoundVariant::Dct, 512, 1, 512, 32, 5513, 20},
                             // 8000 Hz mono: the edges 0 .. 3700 lie below 4000.
                             LayoutCase{8000, 1, SoundVariant::Dct, 512, 1, 512, 32, 4000, 18},
                             LayoutCase{48000, 1, SoundVariant::Fft, 2048, 1, 2048, 128, 24000,
                                        25}));

TEST(SoundStreamLayoutTest, RefusesRatesAndChannelsNoBlockCanCarry) {
  EXPECT_FALSE(soundStreamLayout(0, 1, SoundVariant::Dct));
  EXPECT_FALSE(soundStreamLayout(65536, 1, SoundVariant::Dct));
  EXPECT_FALSE(soundStreamLayout(22050, 0, SoundVariant::Fft));
  EXPECT_FALSE(soundStreamLayout(22050, 3, SoundVariant::Dct));
  EXPECT_TRUE(soundStreamLayout(1, 1, SoundVariant::Dct));
  EXPECT_TRUE(soundStreamLayout(65535, 2, SoundVariant::Fft));
}

TEST(SoundStreamLayoutTest, BandEdgesOf11025Hz) {
  const SoundStreamLayout layout = *soundStreamLayout(11025, 1, SoundVariant::Dct);
  // 100 Hz of 5513 Hz over 256 bins is bin 4; band 0 starts after the floats.
  EXPECT_EQ(layout.bandLimits[0], 0u);
  EXPECT_EQ(layout.bandLimits[1], 4u);
  EXPECT_EQ(layout.bandLimits[19], 5300u * 256 / 5513);
  EXPECT_EQ(layout.bandLimits[20], 256u);
  EXPECT_EQ(layout.bandStarts[0], 2u);
  EXPECT_EQ(layout.bandStarts[1], 8u);
  EXPECT_EQ(layout.bandStarts[20], 512u);
}

// Every coefficient from 2 on belongs to exactly one band, at every rate the
// format carries: the band starts climb strictly up to the transform length.
bool bandsCoverEveryCoefficient(const SoundStreamLayout& layout) {
  if (layout.bandCount < 1 || layout.bandStarts[0] != 2) return false;
  for (std::uint32_t k = 0; k < layout.bandCount; ++k) {
    if (layout.bandStarts[k] >= layout.bandStarts[k + 1]) return false;
    if (layout.bandLimits[k] >= layout.bandLimits[k + 1]) return false;
  }
  return layout.bandStarts[layout.bandCount] == layout.transformLength;
}

TEST(SoundStreamLayoutTest, BandsCoverEveryCoefficientAtEveryRate) {
  for (SoundVariant variant : {SoundVariant::Dct, SoundVariant::Fft}) {
    for (std::uint32_t channels = 1; channels <= 2; ++channels) {
      for (std::uint32_t rate = 1; rate <= kSoundHighestRate; ++rate) {
        if (!bandsCoverEveryCoefficient(*soundStreamLayout(rate, channels, variant))) {
          FAIL() << rate << " Hz, " << channels << " channels, variant "
                 << static_cast<int>(variant);
        }
      }
    }
  }
}

}  // namespace
}  // namespace zet
