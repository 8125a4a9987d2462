// Built with -mavx2. Only intrinsics and this file's own functions are used
// here, so no inline function shared with other files is compiled with AVX2.
#include <immintrin.h>

#include "sound_kernel_parts.h"
#include "sound_kernels.h"

namespace zet {

namespace {

void fftStageAvx2(float* real, float* imag, std::uint32_t size, std::uint32_t half,
                  const float* twiddleReal, const float* twiddleImag) {
  const float* wr = twiddleReal + half;
  const float* wi = twiddleImag + half;
  for (std::uint32_t s = 0; s < size; s += 2 * half) {
    float* ar = real + s;
    float* ai = imag + s;
    float* br = ar + half;
    float* bi = ai + half;
    for (std::uint32_t j = 0; j < half; j += 8) {
      const __m256 xr = _mm256_loadu_ps(br + j), xi = _mm256_loadu_ps(bi + j);
      const __m256 cr = _mm256_loadu_ps(wr + j), ci = _mm256_loadu_ps(wi + j);
      const __m256 tr = _mm256_sub_ps(_mm256_mul_ps(xr, cr), _mm256_mul_ps(xi, ci));
      const __m256 ti = _mm256_add_ps(_mm256_mul_ps(xr, ci), _mm256_mul_ps(xi, cr));
      const __m256 yr = _mm256_loadu_ps(ar + j), yi = _mm256_loadu_ps(ai + j);
      _mm256_storeu_ps(br + j, _mm256_sub_ps(yr, tr));
      _mm256_storeu_ps(bi + j, _mm256_sub_ps(yi, ti));
      _mm256_storeu_ps(ar + j, _mm256_add_ps(yr, tr));
      _mm256_storeu_ps(ai + j, _mm256_add_ps(yi, ti));
    }
  }
}

void complexFftAvx2(float* real, float* imag, std::uint32_t size, const float* twiddleReal,
                    const float* twiddleImag) {
  fftFirstStagesPlain(real, imag, size);
  fftStageSse2(real, imag, size, 4, twiddleReal, twiddleImag);
  for (std::uint32_t half = 8; half < size; half *= 2) {
    fftStageAvx2(real, imag, size, half, twiddleReal, twiddleImag);
  }
}

inline __m256i samplesFrom(const float* x, __m256 scale) {
  __m256 y = _mm256_mul_ps(_mm256_loadu_ps(x), scale);
  y = _mm256_and_ps(y, _mm256_cmp_ps(y, y, _CMP_ORD_Q));
  y = _mm256_min_ps(_mm256_max_ps(y, _mm256_set1_ps(-32768.0f)), _mm256_set1_ps(32767.0f));
  return _mm256_cvtps_epi32(y);
}

void toPcm16Avx2(const float* first, const float* second, float scale, std::int16_t* out,
                 std::uint32_t frames) {
  const __m256 factor = _mm256_set1_ps(scale);
  std::uint32_t f = 0;
  if (second == nullptr) {
    for (; f + 16 <= frames; f += 16) {
      const __m256i low = samplesFrom(first + f, factor);
      const __m256i high = samplesFrom(first + f + 8, factor);
      // The pack works within 128-bit lanes; the permute puts the lanes back in order.
      const __m256i packed = _mm256_permute4x64_epi64(_mm256_packs_epi32(low, high), 0xD8);
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + f), packed);
    }
    toPcm16Plain(first + f, nullptr, scale, out + f, frames - f);
    return;
  }
  for (; f + 8 <= frames; f += 8) {
    const __m256i a = samplesFrom(first + f, factor);
    const __m256i b = samplesFrom(second + f, factor);
    // Within each 128-bit lane the unpacks give a0 b0 a1 b1 and a2 b2 a3 b3,
    // and the lane-wise pack leaves the eight pairs in order.
    const __m256i low = _mm256_unpacklo_epi32(a, b);
    const __m256i high = _mm256_unpackhi_epi32(a, b);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 2 * f), _mm256_packs_epi32(low, high));
  }
  toPcm16Plain(first + f, second + f, scale, out + 2 * f, frames - f);
}

const SoundKernels kAvx2Kernels = {complexFftAvx2, toPcm16Avx2};

}  // namespace

const SoundKernels* avx2SoundKernels() { return &kAvx2Kernels; }

}  // namespace zet
