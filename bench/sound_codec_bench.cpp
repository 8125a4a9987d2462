// Sound coding and decoding speed for 44.1 kHz stereo on one thread, as
// multiples of real time (the "realtime" counter: seconds of sound handled
// per second), for both transform variants at the best quality and at
// quality 4. The sound is the tests' speech-like bursts over a sweep.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "sound_decoder.h"
#include "sound_encoder.h"
#include "test_signals.h"

namespace {

using movra::testing::TestSignal;

constexpr std::uint32_t kRate = 44100;
constexpr std::uint32_t kChannels = 2;
constexpr std::uint32_t kSeconds = 4;

std::vector<std::int16_t> benchmarkSound() {
  const std::uint32_t frames = kRate * kSeconds;
  std::vector<std::int16_t> sound =
      movra::testing::makeSignal(TestSignal::SpeechBursts, kRate, kChannels, frames);
  const std::vector<std::int16_t> sweep =
      movra::testing::makeSignal(TestSignal::Sweep, kRate, kChannels, frames);
  for (std::size_t i = 0; i < sound.size(); ++i) {
    sound[i] = static_cast<std::int16_t>(sound[i] / 2 + sweep[i] / 4);
  }
  return sound;
}

// Codes the whole sound; calls `onBlock` with each coded block.
template <typename OnBlock>
void encodeAll(const std::vector<std::int16_t>& sound, bool dct, std::uint32_t quality,
               OnBlock onBlock) {
  movra::MovraSoundEncoder* encoder = movra::createSoundEncoder(kRate, kChannels, dct);
  std::size_t next = 0;
  std::uint64_t decoded = 0;
  while (decoded < sound.size() * 2) {
    const movra::SoundInputWindow window = movra::soundEncoderInputWindow(encoder);
    const std::size_t bytes = std::min<std::size_t>(window.bytes, (sound.size() - next) * 2);
    std::memcpy(window.buffer, sound.data() + next, bytes);
    next += bytes / 2;
    const movra::SoundCodedBlock block =
        movra::encodeSoundBlock(encoder, static_cast<std::uint32_t>(bytes), quality);
    decoded += block.decodedBytes;
    onBlock(block);
  }
  movra::releaseSoundEncoder(encoder);
}

void setRealTimeCounter(benchmark::State& state) {
  state.counters["realtime"] =
      benchmark::Counter(kSeconds, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_SoundEncode(benchmark::State& state) {
  const bool dct = state.range(0) != 0;
  const auto quality = static_cast<std::uint32_t>(state.range(1));
  const std::vector<std::int16_t> sound = benchmarkSound();
  for (auto _ : state) {
    encodeAll(sound, dct, quality,
              [](const movra::SoundCodedBlock& block) { benchmark::DoNotOptimize(block.bytes); });
  }
  setRealTimeCounter(state);
}

void BM_SoundDecode(benchmark::State& state) {
  const bool dct = state.range(0) != 0;
  const auto quality = static_cast<std::uint32_t>(state.range(1));
  std::vector<std::uint8_t> coded;
  std::vector<std::size_t> blockEnds;
  encodeAll(benchmarkSound(), dct, quality, [&](const movra::SoundCodedBlock& block) {
    coded.insert(coded.end(), block.bytes, block.bytes + block.size);
    blockEnds.push_back(coded.size());
  });
  for (auto _ : state) {
    zet::MovraAudioDecoder* decoder = zet::MovraAudioOpen(kRate, kChannels, dct);
    const std::uint8_t* next = coded.data();
    for (std::size_t end : blockEnds) {
      const zet::MovraAudioBlock block =
          zet::MovraAudioDecodeBlock(decoder, next, coded.data() + end);
      benchmark::DoNotOptimize(block.samples);
      next = block.next;
    }
    zet::MovraAudioClose(decoder);
  }
  state.counters["bytes_per_second_of_sound"] = static_cast<double>(coded.size()) / kSeconds;
  setRealTimeCounter(state);
}

void variants(benchmark::internal::Benchmark* b) {
  b->ArgNames({"dct", "quality"});
  for (int dct : {1, 0}) {
    for (int quality : {0, 4}) b->Args({dct, quality});
  }
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_SoundEncode)->Apply(variants);
BENCHMARK(BM_SoundDecode)->Apply(variants);

}  // namespace

BENCHMARK_MAIN();
