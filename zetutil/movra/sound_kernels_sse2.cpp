#include <emmintrin.h>

#include "sound_kernel_parts.h"
#include "sound_kernels.h"

namespace zet {

void fftStageSse2(float* real, float* imag, std::uint32_t size, std::uint32_t half,
                  const float* twiddleReal, const float* twiddleImag) {
  const float* wr = twiddleReal + half;
  const float* wi = twiddleImag + half;
  for (std::uint32_t s = 0; s < size; s += 2 * half) {
    float* ar = real + s;
    float* ai = imag + s;
    float* br = ar + half;
    float* bi = ai + half;
    for (std::uint32_t j = 0; j < half; j += 4) {
      const __m128 xr = _mm_loadu_ps(br + j), xi = _mm_loadu_ps(bi + j);
      const __m128 cr = _mm_loadu_ps(wr + j), ci = _mm_loadu_ps(wi + j);
      const __m128 tr = _mm_sub_ps(_mm_mul_ps(xr, cr), _mm_mul_ps(xi, ci));
      const __m128 ti = _mm_add_ps(_mm_mul_ps(xr, ci), _mm_mul_ps(xi, cr));
      const __m128 yr = _mm_loadu_ps(ar + j), yi = _mm_loadu_ps(ai + j);
      _mm_storeu_ps(br + j, _mm_sub_ps(yr, tr));
      _mm_storeu_ps(bi + j, _mm_sub_ps(yi, ti));
      _mm_storeu_ps(ar + j, _mm_add_ps(yr, tr));
      _mm_storeu_ps(ai + j, _mm_add_ps(yi, ti));
    }
  }
}

namespace {

void complexFftSse2(float* real, float* imag, std::uint32_t size, const float* twiddleReal,
                    const float* twiddleImag) {
  fftFirstStagesPlain(real, imag, size);
  for (std::uint32_t half = 4; half < size; half *= 2) {
    fftStageSse2(real, imag, size, half, twiddleReal, twiddleImag);
  }
}

// Four samples: NaN to 0, clamped, then converted with the default rounding
// (nearest, ties to even).
inline __m128i samplesFrom(const float* x, __m128 scale) {
  __m128 y = _mm_mul_ps(_mm_loadu_ps(x), scale);
  y = _mm_and_ps(y, _mm_cmpord_ps(y, y));
  y = _mm_min_ps(_mm_max_ps(y, _mm_set1_ps(-32768.0f)), _mm_set1_ps(32767.0f));
  return _mm_cvtps_epi32(y);
}

void toPcm16Sse2(const float* first, const float* second, float scale, std::int16_t* out,
                 std::uint32_t frames) {
  const __m128 factor = _mm_set1_ps(scale);
  std::uint32_t f = 0;
  if (second == nullptr) {
    for (; f + 8 <= frames; f += 8) {
      const __m128i low = samplesFrom(first + f, factor);
      const __m128i high = samplesFrom(first + f + 4, factor);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + f), _mm_packs_epi32(low, high));
    }
    toPcm16Plain(first + f, nullptr, scale, out + f, frames - f);
    return;
  }
  for (; f + 4 <= frames; f += 4) {
    const __m128i a = samplesFrom(first + f, factor);
    const __m128i b = samplesFrom(second + f, factor);
    const __m128i packed = _mm_packs_epi32(_mm_unpacklo_epi32(a, b), _mm_unpackhi_epi32(a, b));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * f), packed);
  }
  toPcm16Plain(first + f, second + f, scale, out + 2 * f, frames - f);
}

const SoundKernels kSse2Kernels = {complexFftSse2, toPcm16Sse2};

}  // namespace

const SoundKernels* sse2SoundKernels() { return &kSse2Kernels; }

}  // namespace zet
