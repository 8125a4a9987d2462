#include "sound_kernel_parts.h"
#include "sound_kernels.h"

namespace zet {

void fftFirstStagesPlain(float* real, float* imag, std::uint32_t size) {
  for (std::uint32_t s = 0; s < size; s += 4) {
    float* r = real + s;
    float* i = imag + s;
    const float r0 = r[0] + r[1], i0 = i[0] + i[1];
    const float r1 = r[0] - r[1], i1 = i[0] - i[1];
    const float r2 = r[2] + r[3], i2 = i[2] + i[3];
    const float r3 = r[2] - r[3], i3 = i[2] - i[3];
    // The second half of the odd pair is turned by -i.
    r[0] = r0 + r2;
    i[0] = i0 + i2;
    r[2] = r0 - r2;
    i[2] = i0 - i2;
    r[1] = r1 + i3;
    i[1] = i1 - r3;
    r[3] = r1 - i3;
    i[3] = i1 + r3;
  }
}

void fftStagePlain(float* real, float* imag, std::uint32_t size, std::uint32_t half,
                   const float* twiddleReal, const float* twiddleImag) {
  const float* wr = twiddleReal + half;
  const float* wi = twiddleImag + half;
  for (std::uint32_t s = 0; s < size; s += 2 * half) {
    float* ar = real + s;
    float* ai = imag + s;
    float* br = ar + half;
    float* bi = ai + half;
    for (std::uint32_t j = 0; j < half; ++j) {
      const float tr = br[j] * wr[j] - bi[j] * wi[j];
      const float ti = br[j] * wi[j] + bi[j] * wr[j];
      br[j] = ar[j] - tr;
      bi[j] = ai[j] - ti;
      ar[j] = ar[j] + tr;
      ai[j] = ai[j] + ti;
    }
  }
}

namespace {

// Nearest integer, ties to even, for |x| <= 2^22: adding 1.5 x 2^23 leaves
// no fraction bits, so the addition itself rounds in the default mode.
inline float roundTiesEven(float x) {
  constexpr float kShift = 12582912.0f;
  const float shifted = x + kShift;
  return shifted - kShift;
}

inline std::int16_t sampleFrom(float x, float scale) {
  float y = x * scale;
  if (y != y) y = 0.0f;
  // Clamped before the conversion: an out-of-range float has no integer value.
  if (y < -32768.0f) y = -32768.0f;
  if (y > 32767.0f) y = 32767.0f;
  return static_cast<std::int16_t>(roundTiesEven(y));
}

void complexFftPlain(float* real, float* imag, std::uint32_t size, const float* twiddleReal,
                     const float* twiddleImag) {
  fftFirstStagesPlain(real, imag, size);
  for (std::uint32_t half = 4; half < size; half *= 2) {
    fftStagePlain(real, imag, size, half, twiddleReal, twiddleImag);
  }
}

}  // namespace

void toPcm16Plain(const float* first, const float* second, float scale, std::int16_t* out,
                  std::uint32_t frames) {
  if (second == nullptr) {
    for (std::uint32_t f = 0; f < frames; ++f) out[f] = sampleFrom(first[f], scale);
    return;
  }
  for (std::uint32_t f = 0; f < frames; ++f) {
    out[2 * f] = sampleFrom(first[f], scale);
    out[2 * f + 1] = sampleFrom(second[f], scale);
  }
}

const SoundKernels& plainSoundKernels() {
  static const SoundKernels kernels = {complexFftPlain, toPcm16Plain};
  return kernels;
}

}  // namespace zet
