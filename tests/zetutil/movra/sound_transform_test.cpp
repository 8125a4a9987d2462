#include <gtest/gtest.h>

#include <platform/cpu.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <random>
#include <vector>

#include "block_allocator.h"
#include "sound_kernels.h"
#include "sound_transform.h"
#include "test_seed.h"

namespace zet {
namespace {

// A transform with its memory, for one length and kernel variant.
class TransformUnderTest {
 public:
  TransformUnderTest(std::uint32_t length, const SoundKernels& kernels)
      : memory_(allocateBlock(static_cast<std::uint32_t>(SoundTransform::memoryBytes(length)))),
        transform_(length, memory_, kernels) {}
  ~TransformUnderTest() { releaseBlock(memory_); }
  TransformUnderTest(const TransformUnderTest&) = delete;
  TransformUnderTest& operator=(const TransformUnderTest&) = delete;

  SoundTransform& operator*() { return transform_; }
  SoundTransform* operator->() { return &transform_; }

 private:
  void* memory_;
  SoundTransform transform_;
};

// The four definitions summed directly in double precision, for the
// outputs at the ends, around the middle and at every 29th index; the
// cosines come from a table of cos(pi m / 4n).
class Reference {
 public:
  explicit Reference(std::uint32_t length) : n_(length), cos_(8 * length) {
    for (std::size_t m = 0; m < cos_.size(); ++m) {
      cos_[m] = std::cos(std::numbers::pi * static_cast<double>(m) / (4.0 * n_));
    }
    for (std::uint32_t k = 0; k < n_; ++k) {
      if (k < 3 || k + 3 > n_ || (k + 2 >= n_ / 2 && k <= n_ / 2 + 2) || k % 29 == 0) {
        checked_.push_back(k);
      }
    }
  }

  const std::vector<std::uint32_t>& checked() const { return checked_; }

  // Output position p holds R(p / 2) or I(p / 2); position 1 holds R(n / 2).
  std::vector<double> forwardRealDft(const std::vector<float>& x) const {
    std::vector<double> out(n_);
    for (std::uint32_t p : checked_) {
      const std::uint32_t k = p == 1 ? n_ / 2 : p / 2;
      const bool imaginary = p > 1 && p % 2 == 1;
      double sum = 0;
      for (std::uint32_t j = 0; j < n_; ++j) {
        sum += x[j] * (imaginary ? sine(8ull * j * k) : cosine(8ull * j * k));
      }
      out[p] = sum;
    }
    return out;
  }

  std::vector<double> inverseRealDft(const std::vector<float>& a) const {
    std::vector<double> out(n_);
    for (std::uint32_t k : checked_) {
      double sum = (a[0] + a[1] * (k % 2 ? -1.0 : 1.0)) / 2;
      for (std::uint32_t j = 1; j < n_ / 2; ++j) {
        sum += a[2 * j] * cosine(8ull * j * k) + a[2 * j + 1] * sine(8ull * j * k);
      }
      out[k] = sum;
    }
    return out;
  }

  // cos(pi (j + 1/2) k / n) = cos(pi x 2 (2j + 1) k / 4n), and alike below.
  std::vector<double> forwardDct(const std::vector<float>& x) const {
    std::vector<double> out(n_);
    for (std::uint32_t k : checked_) {
      double sum = 0;
      for (std::uint32_t j = 0; j < n_; ++j) sum += x[j] * cosine(2ull * (2 * j + 1) * k);
      out[k] = sum;
    }
    return out;
  }

  std::vector<double> inverseDct(const std::vector<float>& a) const {
    std::vector<double> out(n_);
    for (std::uint32_t k : checked_) {
      double sum = 0;
      for (std::uint32_t j = 0; j < n_; ++j) sum += a[j] * cosine(2ull * j * (2 * k + 1));
      out[k] = sum;
    }
    return out;
  }

 private:
  // cos(pi m / 4n) for a whole multiple m.
  double cosine(unsigned long long m) const { return cos_[m % cos_.size()]; }
  // sin(2 pi j k / n) = cos(2 pi j k / n - pi / 2): m = 8jk, minus 2n.
  double sine(unsigned long long m) const { return cos_[(m + cos_.size() - 2 * n_) % cos_.size()]; }

  std::uint32_t n_;
  std::vector<double> cos_;
  std::vector<std::uint32_t> checked_;
};

std::vector<float> randomSignal(std::uint32_t length, std::mt19937& random) {
  std::uniform_real_distribution<float> sample(-32768.0f, 32767.0f);
  std::vector<float> x(length);
  for (float& v : x) v = sample(random);
  return x;
}

// Largest difference at the checked outputs, as a fraction of the largest
// expected value.
double relativeError(const std::vector<float>& got, const std::vector<double>& expected,
                     const std::vector<std::uint32_t>& checked) {
  double largest = 0, error = 0;
  for (std::uint32_t i : checked) {
    largest = std::max(largest, std::fabs(expected[i]));
    error = std::max(error, std::fabs(got[i] - expected[i]));
  }
  return error / largest;
}

class SoundTransformTest : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(SoundTransformTest, EveryTransformMatchesItsDefinition) {
  const std::uint32_t n = GetParam();
  std::mt19937 random(testing::testSeed());
  TransformUnderTest transform(n, plainSoundKernels());
  const Reference reference(n);
  const std::vector<float> x = randomSignal(n, random);

  std::vector<float> data = x;
  transform->forwardRealDft(data.data());
  EXPECT_LT(relativeError(data, reference.forwardRealDft(x), reference.checked()), 2e-6);
  data = x;
  transform->inverseRealDft(data.data());
  EXPECT_LT(relativeError(data, reference.inverseRealDft(x), reference.checked()), 2e-6);
  data = x;
  transform->forwardDct(data.data());
  EXPECT_LT(relativeError(data, reference.forwardDct(x), reference.checked()), 2e-6);
  data = x;
  transform->inverseDct(data.data());
  EXPECT_LT(relativeError(data, reference.inverseDct(x), reference.checked()), 2e-6);
}

// The codec's scales make each inverse undo its forward transform: the
// Fourier pair scales by n / 2, the cosine pair (with C(0) halved) too.
TEST_P(SoundTransformTest, InversesUndoTheForwardTransforms) {
  const std::uint32_t n = GetParam();
  std::mt19937 random(testing::testSeed());
  TransformUnderTest transform(n, soundKernels());
  const std::vector<float> x = randomSignal(n, random);
  const double scale = 2.0 / n;

  std::vector<float> data = x;
  transform->forwardRealDft(data.data());
  transform->inverseRealDft(data.data());
  for (std::uint32_t i = 0; i < n; ++i) ASSERT_NEAR(data[i] * scale, x[i], 0.05) << i;

  data = x;
  transform->forwardDct(data.data());
  data[0] *= 0.5f;
  transform->inverseDct(data.data());
  for (std::uint32_t i = 0; i < n; ++i) ASSERT_NEAR(data[i] * scale, x[i], 0.05) << i;
}

INSTANTIATE_TEST_SUITE_P(Lengths, SoundTransformTest, ::testing::Values(512u, 1024u, 2048u, 4096u));

struct Variant {
  const char* name;
  const SoundKernels* kernels;
};

std::vector<Variant> vectorVariants() {
  std::vector<Variant> variants;
  if (platform::cpuFeatures().sse2 && sse2SoundKernels())
    variants.push_back({"sse2", sse2SoundKernels()});
  if (platform::cpuFeatures().avx2 && avx2SoundKernels())
    variants.push_back({"avx2", avx2SoundKernels()});
  return variants;
}

TEST(SoundKernelsTest, VectorTransformsGiveThePlainResultToTheBit) {
  std::mt19937 random(testing::testSeed());
  for (const Variant& variant : vectorVariants()) {
    for (std::uint32_t n : {512u, 1024u, 2048u, 4096u}) {
      TransformUnderTest plain(n, plainSoundKernels());
      TransformUnderTest vector(n, *variant.kernels);
      const std::vector<float> x = randomSignal(n, random);
      for (auto step : {&SoundTransform::forwardRealDft, &SoundTransform::inverseRealDft,
                        &SoundTransform::forwardDct, &SoundTransform::inverseDct}) {
        std::vector<float> expected = x, got = x;
        ((*plain).*step)(expected.data());
        ((*vector).*step)(got.data());
        ASSERT_EQ(got, expected) << variant.name << " length " << n;
      }
    }
  }
}

TEST(SoundKernelsTest, SamplesRoundTiesToEvenAndClampWithNanAsSilence) {
  const float nan = std::nanf("");
  const float infinity = INFINITY;
  const std::vector<float> in = {0.5f,        1.5f,     2.5f,      -0.5f,    -1.5f,    -2.5f,
                                 0.49999997f, -7.25f,   32767.4f,  32767.5f, 40000.0f, -32768.6f,
                                 -1e30f,      infinity, -infinity, nan,      3e9f,     -3e9f};
  const std::vector<std::int16_t> expected = {0,      2,     2,      0,     -2,    -2,
                                              0,      -7,    32767,  32767, 32767, -32768,
                                              -32768, 32767, -32768, 0,     32767, -32768};
  std::vector<Variant> variants = vectorVariants();
  variants.push_back({"plain", &plainSoundKernels()});
  for (const Variant& variant : variants) {
    // Repeated so that the vector loops, not only their tails, see every value.
    std::vector<float> samples;
    std::vector<std::int16_t> want;
    for (int r = 0; r < 4; ++r) {
      samples.insert(samples.end(), in.begin(), in.end());
      want.insert(want.end(), expected.begin(), expected.end());
    }
    std::vector<std::int16_t> out(samples.size());
    variant.kernels->toPcm16(samples.data(), nullptr, 1.0f, out.data(),
                             static_cast<std::uint32_t>(samples.size()));
    EXPECT_EQ(out, want) << variant.name;
  }
}

TEST(SoundKernelsTest, VectorSampleOutputMatchesPlainForOneAndTwoChannels) {
  std::mt19937 random(testing::testSeed());
  std::uniform_real_distribution<float> value(-1.2e6f, 1.2e6f);
  for (const Variant& variant : vectorVariants()) {
    for (std::uint32_t frames : {1u, 7u, 64u, 2047u, 2048u}) {
      std::vector<float> first(frames), second(frames);
      for (std::uint32_t i = 0; i < frames; ++i) {
        first[i] = value(random);
        second[i] = value(random);
      }
      const float scale = 2.0f / std::sqrt(2048.0f);
      for (bool stereo : {false, true}) {
        const std::size_t count = stereo ? 2 * frames : frames;
        std::vector<std::int16_t> expected(count), got(count);
        const float* other = stereo ? second.data() : nullptr;
        plainSoundKernels().toPcm16(first.data(), other, scale, expected.data(), frames);
        variant.kernels->toPcm16(first.data(), other, scale, got.data(), frames);
        ASSERT_EQ(got, expected) << variant.name << " frames " << frames << " stereo " << stereo;
      }
    }
  }
}

}  // namespace
}  // namespace zet
