#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "sound_round_trip.h"
#include "test_signals.h"

namespace movra::testing {
namespace {

constexpr std::array<std::uint32_t, 5> kRates = {8000, 11025, 22050, 44100, 48000};

// The lowest signal-to-noise ratio (dB) each case may decode to, at each of
// kRates: 1 dB under what the encoder reached when these were set. The
// threshold of hearing drops what lies above about 15.5 kHz (most of the
// noise at 44100 Hz and above), and the Fourier coding of stereo at 22050 Hz
// and above treats the channels' difference as such high sound.
struct FloorRow {
  TestSignal signal;
  std::uint32_t quality;
  bool dct;
  std::uint32_t channels;
  std::array<double, kRates.size()> floors;
};

const FloorRow kFloors[] = {
    {TestSignal::Sweep, 0, true, 1, {17.0, 17.5, 17.5, 11.5, 10.5}},
    {TestSignal::Sweep, 0, true, 2, {16.5, 18.0, 17.5, 11.5, 10.5}},
    {TestSignal::Sweep, 0, false, 1, {16.5, 18.0, 17.5, 11.5, 10.5}},
    {TestSignal::Sweep, 0, false, 2, {17.0, 17.5, 10.5, 8.5, 8.0}},
    {TestSignal::Sweep, 4, true, 1, {8.5, 8.5, 9.5, 7.0, 6.5}},
    {TestSignal::Sweep, 4, true, 2, {8.5, 8.5, 9.0, 7.0, 6.5}},
    {TestSignal::Sweep, 4, false, 1, {8.5, 9.0, 9.0, 7.0, 6.5}},
    {TestSignal::Sweep, 4, false, 2, {9.0, 9.5, 7.0, 6.0, 5.5}},
    {TestSignal::Sweep, 50, true, 1, {4.0, 5.0, 4.5, 4.0, 3.5}},
    {TestSignal::Sweep, 50, true, 2, {4.0, 5.0, 5.0, 4.0, 3.5}},
    {TestSignal::Sweep, 50, false, 1, {4.0, 4.5, 5.0, 4.0, 3.5}},
    {TestSignal::Sweep, 50, false, 2, {4.5, 5.0, 4.0, 3.5, 3.0}},
    {TestSignal::Sweep, 99, true, 1, {-0.5, -0.5, -0.5, -0.5, -0.5}},
    {TestSignal::Sweep, 99, true, 2, {-0.5, -0.5, -0.5, -0.5, -0.5}},
    {TestSignal::Sweep, 99, false, 1, {-0.5, -0.5, -0.5, -0.5, -0.5}},
    {TestSignal::Sweep, 99, false, 2, {-0.5, -0.5, -0.5, -0.5, -0.5}},
    {TestSignal::Noise, 0, true, 1, {19.5, 20.0, 20.0, 4.0, 3.5}},
    {TestSignal::Noise, 0, true, 2, {19.0, 19.5, 20.5, 4.0, 3.0}},
    {TestSignal::Noise, 0, false, 1, {19.5, 20.0, 20.0, 4.0, 3.5}},
    {TestSignal::Noise, 0, false, 2, {19.0, 19.5, 10.5, 3.0, 2.5}},
    {TestSignal::Noise, 4, true, 1, {10.0, 10.5, 11.0, 2.5, 2.0}},
    {TestSignal::Noise, 4, true, 2, {9.5, 10.5, 11.5, 2.5, 2.0}},
    {TestSignal::Noise, 4, false, 1, {10.0, 10.5, 11.5, 2.5, 2.0}},
    {TestSignal::Noise, 4, false, 2, {10.0, 10.5, 6.0, 2.0, 1.5}},
    {TestSignal::Noise, 50, true, 1, {6.0, 7.0, 4.5, 1.0, 0.5}},
    {TestSignal::Noise, 50, true, 2, {5.5, 6.0, 4.5, 0.5, 0.5}},
    {TestSignal::Noise, 50, false, 1, {6.0, 6.5, 4.5, 1.0, 0.5}},
    {TestSignal::Noise, 50, false, 2, {5.5, 5.5, 3.0, 0.5, 0.5}},
    {TestSignal::Noise, 99, true, 1, {-0.5, -0.5, -0.5, -0.5, -0.5}},
    {TestSignal::Noise, 99, true, 2, {-0.5, -0.5, -0.5, -0.5, -0.5}},
    {TestSignal::Noise, 99, false, 1, {-0.5, -0.5, -0.5, -0.5, -0.5}},
    {TestSignal::Noise, 99, false, 2, {-0.5, -0.5, -0.5, -0.5, -0.5}},
    {TestSignal::ClippedSquare, 0, true, 1, {18.5, 21.0, 21.5, 20.0, 20.0}},
    {TestSignal::ClippedSquare, 0, true, 2, {17.5, 20.5, 20.5, 19.5, 19.5}},
    {TestSignal::ClippedSquare, 0, false, 1, {21.5, 21.5, 21.5, 20.0, 20.5}},
    {TestSignal::ClippedSquare, 0, false, 2, {20.5, 21.0, 11.5, 11.0, 11.0}},
    {TestSignal::ClippedSquare, 4, true, 1, {9.5, 11.5, 11.5, 10.5, 13.0}},
    {TestSignal::ClippedSquare, 4, true, 2, {9.0, 11.0, 11.0, 10.5, 12.0}},
    {TestSignal::ClippedSquare, 4, false, 1, {12.0, 12.5, 12.0, 11.0, 15.0}},
    {TestSignal::ClippedSquare, 4, false, 2, {14.0, 11.0, 8.5, 8.0, 9.0}},
    {TestSignal::ClippedSquare, 50, true, 1, {7.0, 9.0, 8.0, 7.5, 9.0}},
    {TestSignal::ClippedSquare, 50, true, 2, {6.5, 8.5, 8.0, 7.5, 9.0}},
    {TestSignal::ClippedSquare, 50, false, 1, {11.0, 10.0, 9.5, 8.5, 9.5}},
    {TestSignal::ClippedSquare, 50, false, 2, {11.0, 8.5, 7.0, 7.0, 7.5}},
    {TestSignal::ClippedSquare, 99, true, 1, {0.0, 2.0, 4.0, 4.5, 5.0}},
    {TestSignal::ClippedSquare, 99, true, 2, {-0.5, 0.5, 2.5, 4.0, 4.0}},
    {TestSignal::ClippedSquare, 99, false, 1, {4.0, 1.5, 4.0, 5.0, 5.0}},
    {TestSignal::ClippedSquare, 99, false, 2, {4.0, 2.5, 4.0, 4.5, 4.5}},
    {TestSignal::SpeechBursts, 0, true, 1, {18.5, 18.5, 18.5, 19.0, 18.5}},
    {TestSignal::SpeechBursts, 0, true, 2, {18.0, 18.5, 18.5, 18.5, 19.0}},
    {TestSignal::SpeechBursts, 0, false, 1, {18.0, 19.5, 19.0, 19.0, 18.0}},
    {TestSignal::SpeechBursts, 0, false, 2, {18.5, 19.0, 12.0, 12.0, 12.0}},
    {TestSignal::SpeechBursts, 4, true, 1, {10.5, 8.5, 8.5, 9.5, 10.0}},
    {TestSignal::SpeechBursts, 4, true, 2, {10.5, 9.0, 9.0, 9.5, 9.5}},
    {TestSignal::SpeechBursts, 4, false, 1, {10.0, 10.0, 10.0, 10.0, 10.0}},
    {TestSignal::SpeechBursts, 4, false, 2, {10.0, 10.0, 8.0, 8.5, 8.5}},
    {TestSignal::SpeechBursts, 50, true, 1, {4.5, 6.5, 7.0, 7.0, 6.0}},
    {TestSignal::SpeechBursts, 50, true, 2, {4.0, 6.0, 6.5, 7.0, 5.5}},
    {TestSignal::SpeechBursts, 50, false, 1, {6.5, 6.5, 7.0, 7.5, 6.5}},
    {TestSignal::SpeechBursts, 50, false, 2, {6.5, 7.0, 6.0, 6.0, 6.0}},
    {TestSignal::SpeechBursts, 99, true, 1, {-0.5, -0.5, -0.5, -0.5, -0.5}},
    {TestSignal::SpeechBursts, 99, true, 2, {-0.5, -0.5, -0.5, -0.5, -0.5}},
    {TestSignal::SpeechBursts, 99, false, 1, {-0.5, -0.5, -0.5, -0.5, -0.5}},
    {TestSignal::SpeechBursts, 99, false, 2, {-0.5, -0.5, -0.5, -0.5, -0.5}},
};

struct RoundTripCase {
  TestSignal signal;
  std::uint32_t rate, channels, quality;
  bool dct;
  double floor;
};

std::vector<RoundTripCase> allCases() {
  std::vector<RoundTripCase> cases;
  for (const FloorRow& row : kFloors) {
    for (std::size_t r = 0; r < kRates.size(); ++r) {
      cases.push_back({row.signal, kRates[r], row.channels, row.quality, row.dct, row.floors[r]});
    }
  }
  for (std::uint32_t rate : kRates) {
    for (std::uint32_t quality : {0u, 4u, 50u, 99u}) {
      for (bool dct : {true, false}) {
        for (std::uint32_t channels : {1u, 2u}) {
          cases.push_back({TestSignal::Silence, rate, channels, quality, dct, 0.0});
        }
      }
    }
  }
  return cases;
}

std::string caseName(const ::testing::TestParamInfo<RoundTripCase>& info) {
  const RoundTripCase& c = info.param;
  return signalName(c.signal) + "_" + std::to_string(c.rate) + "Hz_" +
         (c.channels == 1 ? "mono" : "stereo") + "_" + (c.dct ? "Dct" : "Fft") + "_q" +
         std::to_string(c.quality);
}

// Four blocks and a third: the masking model's history is full from the
// third block on, and the last block is a short one.
std::uint32_t framesFor(std::uint32_t rate) {
  const std::uint32_t base = rate < 22050 ? 512 : rate < 44100 ? 1024 : 2048;
  return 4 * (base - base / 16) + base / 3;
}

class SoundRoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(SoundRoundTripTest, DecodesAtLeastAsCleanAsItsFloor) {
  const RoundTripCase& c = GetParam();
  const std::vector<std::int16_t> input =
      makeSignal(c.signal, c.rate, c.channels, framesFor(c.rate));
  const RoundTrip result = roundTrip(input, c.rate, c.channels, c.dct, c.quality);
  ASSERT_TRUE(result.decodable);
  ASSERT_EQ(result.output.size(), input.size());
  if (c.signal == TestSignal::Silence) {
    EXPECT_EQ(result.output, input);
  } else {
    EXPECT_GE(signalToNoise(input, result.output), c.floor);
  }
}

INSTANTIATE_TEST_SUITE_P(Signals, SoundRoundTripTest, ::testing::ValuesIn(allCases()), caseName);

}  // namespace
}  // namespace movra::testing
