// The four transforms of the sound codec for one length n (a power of two,
// 512 .. 4096), all built on one complex FFT of n / 2 points. Spectra are
// packed as the block format carries them: R0, R(n/2), R1, I1, R2, I2 ...
// with R(k) = sum x(j) cos(2 pi j k / n) and I(k) = sum x(j) sin(2 pi j k / n).
//
// The tables and the work area live in memory the caller provides (so that
// a decoder or encoder keeps everything in its one allocation); a transform
// is used by one thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sound_kernels.h"

namespace zet {

class SoundTransform {
 public:
  static std::size_t memoryBytes(std::uint32_t length);

  // `memory`: memoryBytes(length) bytes on a 32-byte boundary.
  SoundTransform(std::uint32_t length, void* memory, const SoundKernels& kernels = soundKernels());

  std::uint32_t length() const { return length_; }

  // Signal to packed spectrum, unnormalised.
  void forwardRealDft(float* data);
  // Packed spectrum to signal:
  // x(k) = (R0 + R(n/2) cos(pi k)) / 2 + sum over 0 < j < n/2 of
  //        R(j) cos(2 pi j k / n) + I(j) sin(2 pi j k / n).
  void inverseRealDft(float* data);
  // C(k) = sum x(j) cos(pi (j + 1/2) k / n), unnormalised.
  void forwardDct(float* data);
  // x(k) = sum a(j) cos(pi j (k + 1/2) / n), no extra weight on a(0).
  void inverseDct(float* data);

 private:
  void loadBitReversed(const float* data);

  std::uint32_t length_;
  std::uint32_t half_;  // points of the complex FFT
  const SoundKernels* kernels_;
  float* twiddleReal_;  // e^(-i pi j / h) at h + j
  float* twiddleImag_;
  float* splitCos_;  // cos and sin of 2 pi k / n, k <= n / 4
  float* splitSin_;
  float* dctCos_;  // cos and sin of pi k / (2 n), k <= n / 2
  float* dctSin_;
  std::uint32_t* bitReversed_;
  float* real_;  // the complex FFT's work arrays
  float* imag_;
  float* spare_;  // n floats for the cosine transforms' reordering
};

}  // namespace zet
