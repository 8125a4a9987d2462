#include "transform_coding.h"

#include <gtest/gtest.h>

#include <random>

namespace movra {
namespace {

TEST(TransformCoding, EncoderQuantisersMatchTheirTellingRows) {
  const std::uint32_t intraRow[8] = {524288, 377991, 401273, 375470, 524288, 561930, 704551, 1382027};
  const std::uint32_t interRow[8] = {524288, 355756, 377668, 396329, 466034, 593149, 815796, 1600242};
  for (unsigned p = 0; p < 8; ++p) {
    EXPECT_EQ(encoderQuantiser(QuantiserKind::kIntra, 0, p), intraRow[p]) << p;
    EXPECT_EQ(encoderQuantiser(QuantiserKind::kInter, 0, p), interRow[p]) << p;
  }
  for (QuantiserKind kind : {QuantiserKind::kIntra, QuantiserKind::kInter}) {
    EXPECT_EQ(encoderQuantiser(kind, 1, 0), 393216u);
    EXPECT_EQ(encoderQuantiser(kind, 15, 0), 11916u);
  }
}

TEST(TransformCoding, AFlatBlockHasOnlyADcAndRebuildsExactly) {
  std::array<std::int32_t, 64> samples{};
  samples.fill(100);
  const Coefficients quantised = quantise(forwardTransform(samples), QuantiserKind::kIntra, 0);
  EXPECT_TRUE(onlyDc(quantised));
  EXPECT_EQ(quantised[0], 800);  // 8 x 8 x 100 x 256 x 2^19 / 2^30
  const BlockSamples rebuilt = reconstructIntra(quantised, 0);
  for (const std::uint8_t value : rebuilt) EXPECT_EQ(value, 100);
}

TEST(TransformCoding, FinestQuantiserRebuildsTexturedBlocksClosely) {
  std::mt19937 random(9);
  for (int trial = 0; trial < 50; ++trial) {
    std::array<std::int32_t, 64> samples{};
    BlockSamples original{};
    for (unsigned p = 0; p < 64; ++p) {
      original[p] = static_cast<std::uint8_t>(random());
      samples[p] = original[p];
    }
    const Coefficients quantised = quantise(forwardTransform(samples), QuantiserKind::kIntra, 0);
    for (unsigned p = 1; p < 64; ++p) EXPECT_LT(std::abs(quantised[p]), 1 << 15);
    const BlockSamples rebuilt = reconstructIntra(quantised, 0);
    // The decoder keeps the low 8 bits without clamping, so values near 0
    // and 255 may wrap around: the distance is taken around the circle.
    for (unsigned p = 0; p < 64; ++p) {
      const int distance = std::abs(rebuilt[p] - original[p]);
      EXPECT_LE(std::min(distance, 256 - distance), 3) << p;
    }
  }
}

}  // namespace
}  // namespace movra
