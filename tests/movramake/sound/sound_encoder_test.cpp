#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <tuple>
#include <vector>

#include "sound_bit_writer.h"
#include "sound_block_writer.h"
#include "sound_decoder.h"
#include "sound_encoder.h"
#include "sound_round_trip.h"
#include "sound_stream_layout.h"

namespace movra {
namespace {

class Encoder {
 public:
  Encoder(std::uint32_t rate, std::uint32_t channels, bool dct)
      : encoder_(createSoundEncoder(rate, channels, dct)) {}
  ~Encoder() { releaseSoundEncoder(encoder_); }
  Encoder(const Encoder&) = delete;
  Encoder& operator=(const Encoder&) = delete;

  SoundInputWindow window() { return soundEncoderInputWindow(encoder_); }
  SoundCodedBlock encode(std::uint32_t delivered, std::uint32_t quality = 4) {
    return encodeSoundBlock(encoder_, delivered, quality);
  }

 private:
  MovraSoundEncoder* encoder_;
};

TEST(SoundEncoderTest, RefusesRatesAndChannelsNoTrackCanCarry) {
  EXPECT_EQ(createSoundEncoder(0, 1, true), nullptr);
  EXPECT_EQ(createSoundEncoder(65536, 1, true), nullptr);
  EXPECT_EQ(createSoundEncoder(22050, 0, false), nullptr);
  EXPECT_EQ(createSoundEncoder(22050, 3, true), nullptr);
}

// 22050 Hz mono: blocks of 2048 bytes sharing 128 with the next; each block
// yields 1920 bytes until the sound delivered is used up.
TEST(SoundEncoderTest, WindowAndYieldFollowTheBlockAndItsOverlap) {
  Encoder encoder(22050, 1, true);
  SoundInputWindow first = encoder.window();
  EXPECT_EQ(first.bytes, 2048u);
  std::fill_n(first.buffer, first.bytes, std::uint8_t{0x11});
  EXPECT_EQ(encoder.encode(2048).decodedBytes, 1920u);

  const SoundInputWindow second = encoder.window();
  EXPECT_EQ(second.bytes, 1920u);
  EXPECT_EQ(second.buffer, first.buffer + 128);
  EXPECT_EQ(encoder.encode(1920).decodedBytes, 1920u);
  // A short block yields its new bytes and the overlap carried into it.
  EXPECT_EQ(encoder.encode(1000).decodedBytes, 1128u);
  EXPECT_EQ(encoder.encode(0).decodedBytes, 0u);
  // Asking for more than the window holds codes the window only.
  Encoder other(22050, 1, true);
  EXPECT_EQ(other.encode(100000).decodedBytes, 1920u);
}

TEST(SoundEncoderTest, StereoFourierBlocksCodeOneInterleavedSignal) {
  Encoder encoder(44100, 2, false);
  EXPECT_EQ(encoder.window().bytes, 8192u);
  EXPECT_EQ(encoder.encode(8192).decodedBytes, 7680u);
  EXPECT_EQ(encoder.window().bytes, 8192u - 512u);
}

// The largest block there can be: step 1 in every band and every magnitude
// clamped to 15 bits, each group of 8 written apart. It fits the encoder's
// output buffer of one and a half blocks of PCM, and decodes.
TEST(SoundEncoderTest, LargestPossibleBlockFitsTheOutputBufferAndDecodes) {
  for (const auto& [rate, channels, dct] :
       {std::tuple{8000u, 1u, true}, std::tuple{44100u, 2u, true}, std::tuple{44100u, 2u, false}}) {
    const zet::SoundStreamLayout layout = *zet::soundStreamLayout(
        rate, channels, dct ? zet::SoundVariant::Dct : zet::SoundVariant::Fft);
    const std::uint32_t capacity = layout.blockBytes() / 2 * 3;
    std::vector<std::uint8_t> block(capacity);
    zet::SoundBitWriter writer(block.data(), block.size());
    std::vector<float> coefficients(layout.transformLength), floor(layout.transformLength, 0.0f);
    for (std::size_t i = 0; i < coefficients.size(); ++i) coefficients[i] = i % 3 ? 1e6f : -1e6f;
    const std::vector<std::uint8_t> quantisers(zet::kSoundBandTableSize, 0);
    std::vector<std::int32_t> quantised(layout.transformLength);
    if (dct) writer.write(0, 2);
    for (std::uint32_t c = 0; c < layout.codedChannels; ++c) {
      writeCodedChannel(writer, layout, coefficients.data(), quantisers.data(), floor.data(),
                        quantised.data());
    }
    writer.padToWord();
    ASSERT_FALSE(writer.overflowed()) << rate << " Hz";
    EXPECT_GT(writer.bytesWritten(), layout.blockBytes()) << rate << " Hz";

    zet::MovraAudioDecoder* decoder = zet::MovraAudioOpen(rate, channels, dct);
    const zet::MovraAudioBlock decoded =
        zet::MovraAudioDecodeBlock(decoder, block.data(), block.data() + writer.bytesWritten());
    EXPECT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.next, block.data() + writer.bytesWritten());
    zet::MovraAudioClose(decoder);
  }
}

// A steady tone decoded block after block: where one block's output meets
// the next (the blended overlap and its two ends) the sound moves no further
// from one sample to the next than it does anywhere else.
class SoundJoinTest
    : public ::testing::TestWithParam<std::tuple<std::uint32_t, std::uint32_t, bool>> {};

TEST_P(SoundJoinTest, NoClickWhereBlocksJoin) {
  const auto [rate, channels, dct] = GetParam();
  const std::uint32_t base = rate < 22050 ? 512 : rate < 44100 ? 1024 : 2048;
  const std::uint32_t yieldFrames = base - base / 16, overlapFrames = base / 16;
  const std::uint32_t frames = 8 * yieldFrames;
  std::vector<std::int16_t> tone(std::size_t{frames} * channels);
  for (std::uint32_t f = 0; f < frames; ++f) {
    const double t = static_cast<double>(f) / rate;
    const double left = 0.5 * std::sin(2 * std::numbers::pi * 440 * t);
    const double right = 0.75 * left + 0.125 * std::sin(2 * std::numbers::pi * 660 * t);
    tone[std::size_t{f} * channels] = static_cast<std::int16_t>(std::lround(left * 32767));
    if (channels == 2)
      tone[2 * std::size_t{f} + 1] = static_cast<std::int16_t>(std::lround(right * 32767));
  }
  const testing::RoundTrip result = testing::roundTrip(tone, rate, channels, dct, 0);
  ASSERT_TRUE(result.decodable);
  ASSERT_EQ(result.output.size(), tone.size());

  std::vector<bool> atJoin(frames, false);
  for (std::uint32_t join = yieldFrames; join < frames - 1; join += yieldFrames) {
    for (std::uint32_t f = join - 1; f <= std::min(frames - 2, join + overlapFrames); ++f) {
      atJoin[f] = true;
    }
  }
  for (std::uint32_t c = 0; c < channels; ++c) {
    int largestAtJoin = 0, largestElsewhere = 0;
    for (std::uint32_t f = 0; f + 1 < frames; ++f) {
      const int step = std::abs(result.output[std::size_t{f + 1} * channels + c] -
                                result.output[std::size_t{f} * channels + c]);
      int& largest = atJoin[f] ? largestAtJoin : largestElsewhere;
      largest = std::max(largest, step);
    }
    EXPECT_LE(largestAtJoin, largestElsewhere) << "channel " << c;
    EXPECT_GT(largestAtJoin, 0) << "channel " << c;
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, SoundJoinTest,
                         ::testing::Combine(::testing::Values(8000u, 22050u, 44100u),
                                            ::testing::Values(1u, 2u), ::testing::Bool()));

}  // namespace
}  // namespace movra
