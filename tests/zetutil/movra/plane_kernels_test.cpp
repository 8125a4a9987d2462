#include <gtest/gtest.h>

#include <platform/cpu.h>

#include <array>
#include <random>
#include <vector>

#include "expected_plane.h"
#include "plane_kernels.h"
#include "quantiser_tables.h"
#include "test_seed.h"

namespace zet {
namespace {

struct Variant {
  const char* name;
  const PlaneKernels* kernels;
};

// The vector variants this processor can run.
std::vector<Variant> vectorVariants() {
  std::vector<Variant> variants;
  if (platform::cpuFeatures().sse2) variants.push_back({"sse2", &sse2PlaneKernels()});
  if (platform::cpuFeatures().avx2) variants.push_back({"avx2", &avx2PlaneKernels()});
  return variants;
}

std::array<std::uint8_t, 64> transform(const PlaneKernels& kernels, const std::array<std::int32_t, 64>& c,
                                       const std::int32_t* q) {
  std::array<std::uint8_t, 64> out{};
  kernels.inverseTransform(c.data(), q, out.data());
  return out;
}

TEST(PlaneKernelsTest, InverseTransformOfKnownBlocks) {
  // With multipliers of 2048 the dequantised values are the coefficients.
  std::array<std::int32_t, 64> unit{};
  unit.fill(2048);
  const std::array<std::uint8_t, 8> ramp = {10, 8, 6, 2, 254, 250, 248, 246};

  std::array<std::int32_t, 64> horizontal{};
  horizontal[1] = 2560;  // row 0, column 1
  std::array<std::int32_t, 64> vertical{};
  vertical[8] = 2560;  // row 1, column 0
  std::array<std::int32_t, 64> dcOnly{};
  dcOnly[0] = 100;

  std::vector<Variant> variants = vectorVariants();
  variants.push_back({"plain", &plainPlaneKernels()});
  for (const Variant& v : variants) {
    SCOPED_TRACE(v.name);
    const auto h = transform(*v.kernels, horizontal, unit.data());
    const auto w = transform(*v.kernels, vertical, unit.data());
    for (unsigned i = 0; i < 64; ++i) {
      EXPECT_EQ(h[i], ramp[i % 8]) << i;
      EXPECT_EQ(w[i], ramp[i / 8]) << i;
    }
    // 100 x 65536 >> 11 = 3200, and (3200 + 127) >> 8 = 12 everywhere.
    const auto flat = transform(*v.kernels, dcOnly, intraQuantisers()[0].data());
    for (std::uint8_t value : flat) EXPECT_EQ(value, 12);
  }
}

TEST(PlaneKernelsTest, PlainInverseTransformMatchesTheFormulasOnRandomBlocks) {
  std::mt19937 random(testing::testSeed());
  std::uniform_int_distribution<int> small(-300, 300);
  for (int round = 0; round < 2000; ++round) {
    std::array<std::int32_t, 64> c{};
    std::vector<std::int64_t> wide(64);
    for (unsigned i = 0; i < 64; ++i) {
      c[i] = random() % 4 == 0 ? small(random) : 0;
      wide[i] = c[i];
    }
    const std::int32_t* q = (round % 2 ? interQuantisers() : intraQuantisers())[round % 16].data();
    const auto expected = testing::referenceInverseTransform(wide, q);
    const auto actual = transform(plainPlaneKernels(), c, q);
    ASSERT_EQ(std::vector<std::uint8_t>(actual.begin(), actual.end()), expected) << "round " << round;
  }
}

// Each vector variant against the plain one: realistic coefficients, and
// any 32-bit values at all, as a damaged stream could give.
TEST(PlaneKernelsTest, VectorInverseTransformsMatchPlain) {
  std::mt19937 random(testing::testSeed());
  std::uniform_int_distribution<std::int32_t> any(INT32_MIN, INT32_MAX);
  std::uniform_int_distribution<int> small(-2048, 2047);
  for (const Variant& v : vectorVariants()) {
    SCOPED_TRACE(v.name);
    for (int round = 0; round < 4000; ++round) {
      std::array<std::int32_t, 64> c{};
      std::array<std::int32_t, 64> q{};
      const bool wild = round % 2 == 1;
      for (unsigned i = 0; i < 64; ++i) {
        c[i] = wild ? any(random) : (random() % 3 == 0 ? small(random) : 0);
        q[i] = wild ? any(random) : intraQuantisers()[round % 16][i];
      }
      ASSERT_EQ(transform(*v.kernels, c, q.data()), transform(plainPlaneKernels(), c, q.data()))
          << "round " << round;
    }
  }
}

TEST(PlaneKernelsTest, VectorBlockRoutinesMatchPlain) {
  std::mt19937 random(testing::testSeed());
  const std::size_t pitch = 40;
  for (const Variant& v : vectorVariants()) {
    SCOPED_TRACE(v.name);
    for (int round = 0; round < 200; ++round) {
      std::vector<std::uint8_t> picture(pitch * 20);
      std::array<std::uint8_t, 64> block{};
      for (auto& b : picture) b = static_cast<std::uint8_t>(random());
      for (auto& b : block) b = static_cast<std::uint8_t>(random());
      const std::size_t at = random() % 8;  // any alignment

      std::vector<std::uint8_t> plain = picture;
      std::vector<std::uint8_t> vector = picture;
      plainPlaneKernels().addBlock(plain.data() + at, pitch, block.data());
      v.kernels->addBlock(vector.data() + at, pitch, block.data());
      ASSERT_EQ(vector, plain) << "add, round " << round;

      plainPlaneKernels().doubleBlock(plain.data() + at, pitch, block.data());
      v.kernels->doubleBlock(vector.data() + at, pitch, block.data());
      ASSERT_EQ(vector, plain) << "double, round " << round;
    }
  }
}

TEST(PlaneKernelsTest, ChosenVariantIsOneOfTheVariants) {
  const PlaneKernels& chosen = planeKernels();
  const bool known = &chosen == &plainPlaneKernels() || &chosen == &sse2PlaneKernels() ||
                     &chosen == &avx2PlaneKernels();
  EXPECT_TRUE(known);
  if (platform::cpuFeatures().avx2) {
    EXPECT_EQ(&chosen, &avx2PlaneKernels());
  }
}

}  // namespace
}  // namespace zet
