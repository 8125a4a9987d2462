#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "sound_bit_writer.h"
#include "sound_decoder.h"
#include "sound_float.h"
#include "sound_stream_layout.h"
#include "sound_tables.h"

namespace zet {
namespace {

std::uint32_t floatField(std::uint32_t mantissa, std::uint32_t exponent, bool negative = false) {
  return exponent | mantissa << 5 | (negative ? 1u : 0u) << 28;
}

TEST(SoundFloatTest, DecodesMantissaTimesPowerOfTwo) {
  EXPECT_EQ(decodeSoundFloat(floatField(1000, 23)), 1000.0f);
  EXPECT_EQ(decodeSoundFloat(floatField(1u << 22, 20)), 524288.0f);
  EXPECT_EQ(decodeSoundFloat(floatField(3, 22, true)), -1.5f);
  EXPECT_EQ(decodeSoundFloat(floatField(1, 0)), std::ldexp(1.0f, -23));
  for (std::uint32_t exponent = 24; exponent < 32; ++exponent) {
    EXPECT_EQ(decodeSoundFloat(floatField(0x7FFFFF, exponent)), 0.0f) << exponent;
  }
}

TEST(SoundFloatTest, EncodedValuesComeBackWithinHalfAMantissaStep) {
  for (float value : {0.0f, 0.3f, 0.5f, 1.0f, -1.5f, 2.5f, 1234.567f, -98765.4f, 2097152.0f,
                      8388606.5f, 8388607.0f}) {
    const std::uint32_t field = encodeSoundFloat(value);
    const auto exponent = static_cast<int>(field & 31);
    ASSERT_LE(exponent, 23) << value;
    EXPECT_NEAR(decodeSoundFloat(field), value, std::ldexp(0.5, exponent - 23)) << value;
  }
  // Beyond what the exponent can say, the largest value it can.
  EXPECT_EQ(decodeSoundFloat(encodeSoundFloat(-1e9f)), -8388607.0f);
}

// Writes a block field by field, as the encoder would.
class BlockBuilder {
 public:
  explicit BlockBuilder(const SoundStreamLayout& layout)
      : layout_(layout), bytes_(16384), writer_(bytes_.data(), bytes_.size()) {
    if (layout.variant == SoundVariant::Dct) writer_.write(0, 2);
  }

  void beginChannel(std::uint32_t first, std::uint32_t second,
                    const std::vector<std::uint8_t>& quantisers) {
    writer_.write(first, kSoundFloatBits);
    writer_.write(second, kSoundFloatBits);
    for (std::uint32_t k = 0; k < layout_.bandCount; ++k) {
      writer_.write(k < quantisers.size() ? quantisers[k] : 0, 8);
    }
    index_ = 2;
  }
  void beginChannel(std::uint32_t first, std::uint32_t second = 0) {
    beginChannel(first, second, {});
  }

  // A group of 8 (`runCode` < 0) or a run, with one value per coefficient
  // it covers.
  void group(int runCode, unsigned width, const std::vector<int>& values) {
    if (runCode < 0) {
      writer_.write(0, 1);
    } else {
      writer_.write(1u | static_cast<std::uint32_t>(runCode) << 1, 5);
    }
    writer_.write(width, 4);
    for (int v : values) {
      const auto magnitude = static_cast<std::uint32_t>(std::abs(v));
      writer_.write(magnitude, width);
      if (magnitude != 0) writer_.write(v < 0 ? 1 : 0, 1);
    }
    index_ += static_cast<std::uint32_t>(values.size());
  }

  // Runs of zeros up to the end of the channel.
  void silenceToEnd() {
    while (index_ < layout_.transformLength) {
      writer_.write(1u | 15u << 1, 5);
      writer_.write(0, 4);
      index_ += 512;
    }
  }

  std::uint32_t index() const { return index_; }

  std::vector<std::uint8_t> finish() {
    writer_.padToWord();
    return {bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(writer_.bytesWritten())};
  }

 private:
  SoundStreamLayout layout_;
  std::vector<std::uint8_t> bytes_;
  SoundBitWriter writer_;
  std::uint32_t index_ = 0;
};

class Decoder {
 public:
  Decoder(std::uint32_t rate, std::uint32_t channels, bool dct)
      : decoder_(MovraAudioOpen(rate, channels, dct)) {}
  ~Decoder() { MovraAudioClose(decoder_); }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  MovraAudioBlock decode(const std::vector<std::uint8_t>& block, std::size_t usable) {
    return MovraAudioDecodeBlock(decoder_, block.data(), block.data() + usable);
  }
  std::vector<std::int16_t> samples(const std::vector<std::uint8_t>& block) {
    const MovraAudioBlock result = decode(block, block.size());
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.next, block.data() + block.size());
    return {result.samples, result.samples + result.bytes / 2};
  }
  MovraAudioDecoder* get() { return decoder_; }

 private:
  MovraAudioDecoder* decoder_;
};

// 22050 Hz mono: n = 1024, so the output scale 2 / 32 is exact and a first
// coefficient of 16 x L decodes to the constant L.
std::vector<std::uint8_t> constantBlock(float level) {
  const SoundStreamLayout layout = *soundStreamLayout(22050, 1, SoundVariant::Dct);
  BlockBuilder block(layout);
  block.beginChannel(encodeSoundFloat(16.0f * level));
  block.silenceToEnd();
  return block.finish();
}

TEST(SoundDecoderTest, RefusesRatesAndChannelsWithoutALayout) {
  EXPECT_EQ(MovraAudioOpen(0, 1, true), nullptr);
  EXPECT_EQ(MovraAudioOpen(22050, 0, true), nullptr);
  EXPECT_EQ(MovraAudioOpen(22050, 3, false), nullptr);
}

TEST(SoundDecoderTest, FirstBlockIsNotBlendedAndTheSecondIs) {
  Decoder decoder(22050, 1, true);
  EXPECT_EQ(MovraAudioBlockBytes(decoder.get()), 1920u);
  const std::vector<std::int16_t> first = decoder.samples(constantBlock(100));
  ASSERT_EQ(first.size(), 960u);
  EXPECT_EQ(first, std::vector<std::int16_t>(960, 100));

  const std::vector<std::int16_t> second = decoder.samples(constantBlock(-60));
  ASSERT_EQ(second.size(), 960u);
  for (int i = 0; i < 64; ++i) {
    const int blended = static_cast<int>(std::floor((100.0 * (64 - i) - 60.0 * i) / 64));
    EXPECT_EQ(second[static_cast<std::size_t>(i)], blended) << i;
  }
  for (std::size_t i = 64; i < 960; ++i) ASSERT_EQ(second[i], -60) << i;
}

TEST(SoundDecoderTest, NegativeBlendRoundsTowardMinusInfinity) {
  Decoder decoder(22050, 1, true);
  decoder.samples(constantBlock(-3));
  const std::vector<std::int16_t> next = decoder.samples(constantBlock(0));
  // floor(-189 / 64) = -3, where truncation would give -2.
  EXPECT_EQ(next[1], -3);
  EXPECT_EQ(next[43], -1);  // floor(-63 / 64)
  EXPECT_EQ(next[63], -1);  // floor(-3 / 64)
  EXPECT_EQ(next[64], 0);
}

TEST(SoundDecoderTest, ExponentsAbove23DecodeAsZero) {
  const SoundStreamLayout layout = *soundStreamLayout(22050, 1, SoundVariant::Dct);
  BlockBuilder block(layout);
  block.beginChannel(floatField(0x400000, 27), floatField(0x7FFFFF, 24, true));
  block.silenceToEnd();
  Decoder decoder(22050, 1, true);
  EXPECT_EQ(decoder.samples(block.finish()), std::vector<std::int16_t>(960, 0));
}

// y(k) = sum a(j) cos(pi j (k + 1/2) / n) x 2 / sqrt(n), in double precision.
std::vector<double> expectedCosineOutput(const std::vector<double>& a) {
  const std::size_t n = a.size();
  const auto length = static_cast<double>(n);
  std::vector<double> y(n);
  for (std::size_t k = 0; k < n; ++k) {
    const double middle = static_cast<double>(k) + 0.5;
    double sum = 0;
    for (std::size_t j = 0; j < n; ++j) {
      sum += a[j] * std::cos(std::numbers::pi * static_cast<double>(j) * middle / length);
    }
    y[k] = sum * 2 / std::sqrt(length);
  }
  return y;
}

void expectWithinOne(const std::vector<std::int16_t>& got, const std::vector<double>& expected,
                     std::size_t count) {
  ASSERT_GE(got.size(), count);
  for (std::size_t k = 0; k < count; ++k) ASSERT_NEAR(got[k], expected[k], 1.0) << k;
}

// 8000 Hz: 18 bands whose quantisers all differ, every coefficient +/-1, so
// a coefficient given the step of a neighbouring band shows in the output.
TEST(SoundDecoderTest, EachCoefficientTakesTheStepOfItsBand) {
  const SoundStreamLayout layout = *soundStreamLayout(8000, 1, SoundVariant::Dct);
  std::vector<std::uint8_t> quantisers;
  for (std::uint32_t k = 0; k < layout.bandCount; ++k)
    quantisers.push_back(static_cast<std::uint8_t>(3 * k));
  BlockBuilder block(layout);
  block.beginChannel(0, 0, quantisers);
  std::vector<double> expected(512, 0.0);
  std::uint32_t band = 0;
  while (block.index() < 512) {
    std::vector<int> values;
    for (std::uint32_t i = block.index(); i < std::min(512u, block.index() + 8); ++i) {
      const int sign = (i * 7919) % 3 == 0 ? -1 : 1;
      values.push_back(sign);
      while (i >= layout.bandStarts[band + 1]) ++band;
      expected[i] = sign * static_cast<double>(soundQuantiserSteps()[quantisers[band]]);
    }
    block.group(-1, 1, values);
  }
  Decoder decoder(8000, 1, true);
  expectWithinOne(decoder.samples(block.finish()), expectedCosineOutput(expected), 480);
}

// Code 15 asks for 64 groups (512 coefficients) but the block has only 510
// left: the run stops at the end, and the block ends right after it.
TEST(SoundDecoderTest, RunLongerThanTheBlockIsCutAtItsEnd) {
  const SoundStreamLayout layout = *soundStreamLayout(11025, 1, SoundVariant::Dct);
  BlockBuilder block(layout);
  block.beginChannel(0);
  block.group(15, 1, std::vector<int>(510, 1));
  std::vector<double> expected(512, 1.0);
  expected[0] = expected[1] = 0.0;
  Decoder decoder(11025, 1, true);
  expectWithinOne(decoder.samples(block.finish()), expectedCosineOutput(expected), 480);
}

TEST(SoundDecoderTest, CosineStereoInterleavesItsTwoChannels) {
  const SoundStreamLayout layout = *soundStreamLayout(44100, 2, SoundVariant::Dct);
  const float scale = 2.0f / std::sqrt(2048.0f);
  BlockBuilder block(layout);
  block.beginChannel(encodeSoundFloat(10.0f / scale));
  block.silenceToEnd();
  block.beginChannel(encodeSoundFloat(-20.0f / scale));
  block.silenceToEnd();
  Decoder decoder(44100, 2, true);
  const std::vector<std::int16_t> samples = decoder.samples(block.finish());
  ASSERT_EQ(samples.size(), 3840u);
  for (std::size_t i = 0; i < samples.size(); i += 2) {
    ASSERT_EQ(samples[i], 10) << i;
    ASSERT_EQ(samples[i + 1], -20) << i;
  }
}

// The Fourier variant carries the interleaved channels as one signal: R(n/2)
// alone gives +c, -c, +c ... so left and right come out as +c and -c.
TEST(SoundDecoderTest, FourierStereoKeepsTheTransformsSampleOrder) {
  const SoundStreamLayout layout = *soundStreamLayout(44100, 2, SoundVariant::Fft);
  BlockBuilder block(layout);
  block.beginChannel(0, encodeSoundFloat(2.0f * 32.0f * 50.0f));  // scale 2 / 64
  block.silenceToEnd();
  Decoder decoder(44100, 2, false);
  const std::vector<std::int16_t> samples = decoder.samples(block.finish());
  ASSERT_EQ(samples.size(), 3840u);
  for (std::size_t i = 0; i < samples.size(); i += 2) {
    ASSERT_EQ(samples[i], 50) << i;
    ASSERT_EQ(samples[i + 1], -50) << i;
  }
}

TEST(SoundDecoderTest, BlockRunningPastItsDataIsRefusedAndChangesNothing) {
  Decoder decoder(22050, 1, true);
  decoder.samples(constantBlock(100));
  const std::vector<std::uint8_t> next = constantBlock(-60);
  // The block's 262 bits end in its 33rd byte.
  for (std::size_t usable : {std::size_t{0}, std::size_t{3}, std::size_t{32}}) {
    const MovraAudioBlock refused = decoder.decode(next, usable);
    EXPECT_FALSE(refused.ok) << usable;
    EXPECT_EQ(refused.bytes, 0u);
  }
  // The tail of the first block is still there to blend with.
  const std::vector<std::int16_t> samples = decoder.samples(next);
  EXPECT_EQ(samples[0], 100);
  EXPECT_EQ(samples[100], -60);
}

TEST(SoundDecoderTest, BlockWhosePaddingIsMissingStillDecodes) {
  Decoder decoder(22050, 1, true);
  const std::vector<std::uint8_t> block = constantBlock(9);
  const MovraAudioBlock result = decoder.decode(block, 33);
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.samples[0], 9);
  EXPECT_EQ(result.next, block.data() + 33);
}

TEST(SoundDecoderTest, ConsecutiveBlocksStartAtTheWordAfterTheLastBitUsed) {
  std::vector<std::uint8_t> packet = constantBlock(5);
  const std::size_t firstSize = packet.size();
  const std::vector<std::uint8_t> second = constantBlock(7);
  packet.insert(packet.end(), second.begin(), second.end());
  Decoder decoder(22050, 1, true);
  const MovraAudioBlock first = decoder.decode(packet, packet.size());
  ASSERT_TRUE(first.ok);
  EXPECT_EQ(first.next, packet.data() + firstSize);
  const MovraAudioBlock following =
      MovraAudioDecodeBlock(decoder.get(), first.next, packet.data() + packet.size());
  ASSERT_TRUE(following.ok);
  EXPECT_EQ(following.next, packet.data() + packet.size());
  EXPECT_EQ(following.samples[900], 7);
}

}  // namespace
}  // namespace zet
