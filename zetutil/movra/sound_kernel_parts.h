// Pieces the kernel variants share, so that the work every variant leaves
// to plain code is done by the very same code.
#pragma once

#include <cstdint>

namespace zet {

// The first two FFT stages (twiddles 1 and -i) as one radix-4 pass.
void fftFirstStagesPlain(float* real, float* imag, std::uint32_t size);

// One radix-2 stage joining halves of `half` points.
void fftStagePlain(float* real, float* imag, std::uint32_t size, std::uint32_t half,
                   const float* twiddleReal, const float* twiddleImag);

// The stage with halves of 4 points, four butterflies at a time; the AVX2
// variant uses it below its own width.
void fftStageSse2(float* real, float* imag, std::uint32_t size, std::uint32_t half,
                  const float* twiddleReal, const float* twiddleImag);

void toPcm16Plain(const float* first, const float* second, float scale, std::int16_t* out,
                  std::uint32_t frames);

}  // namespace zet
