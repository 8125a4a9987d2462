// Generated sound for the codec's tests and benchmarks: 16-bit samples,
// channels interleaved. The right channel of a stereo signal is mostly the
// left one (as in most recordings) with a quarter of a signal of its own, so
// that swapped or mixed channels show.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace movra::testing {

enum class TestSignal { Sweep, Noise, Silence, ClippedSquare, SpeechBursts };

std::string signalName(TestSignal signal);

std::vector<std::int16_t> makeSignal(TestSignal signal, std::uint32_t rate, std::uint32_t channels,
                                     std::uint32_t frames);

}  // namespace movra::testing
