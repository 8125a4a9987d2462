// The inner loops of the sound transforms and of the decoder's sample
// output, with plain, SSE2 and AVX2 variants that give the same results to
// the bit (they do the same single-precision operations in the same order,
// and none is built with fused multiply-add). One table is chosen per
// process from the processor's features.
#pragma once

#include <cstdint>

namespace zet {

struct SoundKernels {
  // Forward complex FFT of `size` points (a power of two, at least 4), in
  // place on separate real and imaginary arrays: input in bit-reversed
  // order, output in natural order. The stage that joins halves of `h`
  // points multiplies by e^(-i pi j / h), j < h, read from
  // twiddleReal[h + j] and twiddleImag[h + j]. Called with the two arrays
  // swapped it computes the unnormalised inverse transform.
  void (*complexFft)(float* real, float* imag, std::uint32_t size, const float* twiddleReal,
                     const float* twiddleImag);
  // 16-bit samples from transform output: x * scale rounded to the nearest
  // integer (ties to even) and clamped to -32768 .. 32767, NaN giving 0.
  // With `second` set the two channels are interleaved, `first` leading;
  // `frames` counts samples per channel.
  void (*toPcm16)(const float* first, const float* second, float scale, std::int16_t* out,
                  std::uint32_t frames);
};

// The variants each instruction set provides, for tests and benchmarks.
const SoundKernels& plainSoundKernels();
const SoundKernels* sse2SoundKernels();  // null where the build has no SSE2 variant
const SoundKernels* avx2SoundKernels();  // null where the build has no AVX2 variant

// The fastest variant this processor runs.
const SoundKernels& soundKernels();

}  // namespace zet
