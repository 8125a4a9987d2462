#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "hearing_threshold.h"
#include "masking_model.h"
#include "quantiser_choice.h"
#include "sound_quality.h"
#include "spreading_function.h"
#include "sound_stream_layout.h"

namespace movra {
namespace {

TEST(HearingThresholdTest, FollowsItsFormulaAndIsInfiniteAtZeroHertz) {
  EXPECT_TRUE(std::isinf(hearingThresholdDb(0.0f)));
  EXPECT_NEAR(hearingThresholdDb(1.0f), 3.64 - 6.5 * std::exp(-0.6 * 2.3 * 2.3) + 0.001, 1e-5);
  EXPECT_NEAR(hearingThresholdDb(3.3f), 3.64 * std::pow(3.3, -0.8) - 6.5 + 0.001 * std::pow(3.3, 4),
              1e-5);
  EXPECT_NEAR(hearingThresholdDb(16.0f), 65.93, 0.01);
}

// 8000 Hz over 512 coefficients: coefficient k stands for k x 4000 / 512
// whole Hz, so coefficient 64 is 500 Hz (0.5 kHz, not 0 kHz) and only the
// coefficient at 0 Hz is out of hearing.
TEST(HearingThresholdTest, CoefficientFrequenciesKeepTheirFractionOfAKilohertz) {
  std::vector<float> thresholds(512);
  fillHearingThresholds(512, 4000, thresholds.data());
  EXPECT_TRUE(std::isinf(thresholds[0]));
  EXPECT_EQ(thresholds[1], hearingThresholdDb(0.007f));
  EXPECT_EQ(thresholds[64], hearingThresholdDb(0.5f));
  EXPECT_EQ(thresholds[511], hearingThresholdDb(3.992f));
  for (std::size_t k = 1; k < thresholds.size(); ++k)
    ASSERT_TRUE(std::isfinite(thresholds[k])) << k;
}

TEST(SoundQualityTest, LevelRisesSteeplyToQuality4ThenEvenlyTo96) {
  EXPECT_EQ(soundQualityLevel(0), 0.0f);
  EXPECT_EQ(soundQualityLevel(1), 9.0f);
  EXPECT_EQ(soundQualityLevel(4), 36.0f);
  EXPECT_NEAR(soundQualityLevel(50), 36.0 + 46.0 * 60.0 / 95.0, 1e-5);
  EXPECT_EQ(soundQualityLevel(99), 96.0f);
}

TEST(MaskingModelTest, SpreadingNormalisationCountsOnlyTheBandsThatExist) {
  EXPECT_EQ(spreading(0), 1.0f);
  EXPECT_EQ(spreading(-3), 0.0000038f);
  EXPECT_EQ(spreading(7), 0.0000004f);
  EXPECT_EQ(spreading(-4), 0.0f);
  EXPECT_EQ(spreading(8), 0.0f);
  const zet::SoundStreamLayout layout = *zet::soundStreamLayout(44100, 1, zet::SoundVariant::Dct);
  const BandValues normalisation = spreadingNormalisation(layout);
  float all = 0;
  for (int d = -3; d <= 7; ++d) all += spreading(d);
  EXPECT_NEAR(normalisation[12], 1.0f / all, 1e-6);
  // Band 0 receives from itself and the three bands above it only.
  EXPECT_NEAR(normalisation[0], 1.0f / (1.0f + 0.13477f + 0.0010497f + 0.0000038f), 1e-6);
}

TEST(MaskingModelTest, SilentBlockAllowsNoNoise) {
  const zet::SoundStreamLayout layout = *zet::soundStreamLayout(22050, 1, zet::SoundVariant::Dct);
  std::vector<float> spectrum(layout.transformLength, 0.0f),
      history(2 * layout.transformLength, 0.0f);
  SpectrumHistory past{history.data(), history.data() + 512, history.data() + 1024,
                       history.data() + 1536};
  const BandValues allowed =
      allowedNoise(layout, spectrum.data(), past, 0.0f, spreadingNormalisation(layout));
  for (std::uint32_t k = 0; k < layout.bandCount; ++k) EXPECT_EQ(allowed[k], 0.0f) << k;
  // The block's magnitudes (the floor power's root, and 1 for bin 0) move into the history.
  EXPECT_EQ(past.magnitude1[0], 1.0f);
  EXPECT_NEAR(past.magnitude1[100], std::sqrt(0.0005f), 1e-7);
}

TEST(QuantiserChoiceTest, SearchFindsTheCoarsestStepWithinTheAllowedNoise) {
  // Zeros round to zero at any step: the search climbs to the top.
  const std::vector<float> zeros(16, 0.0f);
  EXPECT_EQ(searchQuantiser(zeros.data(), 16, 0.0f), 255);
  // No step leaves 0.3 without error when none is allowed.
  const std::vector<float> small = {0.3f};
  EXPECT_EQ(searchQuantiser(small.data(), 1, 0.0f), 0);
  // 1000 with 1 allowed: steps up to about 2 keep the error at most 1.
  const std::vector<float> value = {1000.0f};
  const std::uint8_t index = searchQuantiser(value.data(), 1, 1.0f);
  const float step = std::pow(10.0f, 0.0664f * index);
  const float rounded = std::round(1000.0f / step) * step;
  EXPECT_LE((1000.0f - rounded) * (1000.0f - rounded), 1.0f);
  EXPECT_GE(index, 1);
}

TEST(QuantiserChoiceTest, HearingFloorRaisesQuietBandsOnly) {
  EXPECT_EQ(applyHearingFloor(255, 96.0f, 50.0f), 255);
  EXPECT_EQ(applyHearingFloor(40, 0.0f, 20.0f), 40);  // 20 dB <= 0.664 x 40
  EXPECT_EQ(applyHearingFloor(0, 0.0f, -5.0f), 0);
  EXPECT_EQ(applyHearingFloor(0, 20.0f, 0.0f), 16);  // round(10.3319 x 1.5060241)
  EXPECT_EQ(applyHearingFloor(10, 96.0f, 200.0f), 255);
}

}  // namespace
}  // namespace movra
