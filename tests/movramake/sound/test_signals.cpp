#include "test_signals.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace movra::testing {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// A frequency sweep from 50 Hz to 0.45 x the rate, rising exponentially.
double sweep(double t, double duration, double rate, int voice) {
  const double low = 50.0 * (voice + 1), high = 0.45 * rate;
  const double k = std::log(high / low) / duration;
  return 0.5 * std::sin(kTwoPi * low * (std::exp(k * t) - 1) / k);
}

// A vowel-like tone (150 Hz with falling harmonics) in bursts of 120 ms
// with 80 ms pauses, each burst faded in and out over 10 ms.
double speech(double t, int voice) {
  const double period = 0.2, burst = 0.12, edge = 0.01;
  const double phase = std::fmod(t + 0.05 * voice, period);
  if (phase >= burst) return 0.0;
  const double envelope = std::min({1.0, phase / edge, (burst - phase) / edge});
  const double pitch = 150.0 * (1 + 0.2 * voice) * (1 + 0.05 * std::sin(kTwoPi * 3 * t));
  double tone = 0;
  for (int h = 1; h <= 12; ++h) tone += std::sin(kTwoPi * pitch * h * t) / h;
  return 0.35 * envelope * tone;
}

}  // namespace

std::string signalName(TestSignal signal) {
  switch (signal) {
    case TestSignal::Sweep:
      return "Sweep";
    case TestSignal::Noise:
      return "Noise";
    case TestSignal::Silence:
      return "Silence";
    case TestSignal::ClippedSquare:
      return "ClippedSquare";
    case TestSignal::SpeechBursts:
      return "SpeechBursts";
  }
  return "";
}

// One channel's voice: `voice` 1 gives a variant of the signal of its own.
double voiceSample(TestSignal signal, double t, double duration, double rate, int voice,
                   std::uint32_t& noise) {
  switch (signal) {
    case TestSignal::Sweep:
      return sweep(t, duration, rate, voice);
    case TestSignal::Noise:
      noise = noise * 1664525u + 1013904223u;
      return 0.3 * (static_cast<double>(noise >> 8) / (1 << 23) - 1.0);
    case TestSignal::Silence:
      return 0.0;
    // A square wave driven 20% past full scale, flattened at the rails.
    case TestSignal::ClippedSquare:
      return 1.2 * (std::sin(kTwoPi * 220.0 * (voice + 1) * t) >= 0 ? 1 : -1);
    case TestSignal::SpeechBursts:
      return speech(t, voice);
  }
  return 0.0;
}

std::vector<std::int16_t> makeSignal(TestSignal signal, std::uint32_t rate, std::uint32_t channels,
                                     std::uint32_t frames) {
  std::vector<std::int16_t> samples(std::size_t{frames} * channels);
  std::uint32_t noise = 0x12345678;
  const double duration = static_cast<double>(frames) / rate;
  const auto toSample = [](double x) {
    return static_cast<std::int16_t>(std::lround(std::clamp(x, -1.0, 1.0) * 32767.0));
  };
  for (std::uint32_t f = 0; f < frames; ++f) {
    const double t = static_cast<double>(f) / rate;
    const double left = voiceSample(signal, t, duration, rate, 0, noise);
    if (channels == 1) {
      samples[f] = toSample(left);
      continue;
    }
    const double own = voiceSample(signal, t, duration, rate, 1, noise);
    samples[2 * std::size_t{f}] = toSample(left);
    samples[2 * std::size_t{f} + 1] = toSample(0.75 * std::clamp(left, -1.0, 1.0) + 0.25 * own);
  }
  return samples;
}

}  // namespace movra::testing
