#include "sound_transform.h"

#include <cmath>
#include <numbers>

#include "aligned_pieces.h"

namespace zet {

namespace {

struct TransformPieces {
  std::size_t twiddleReal, twiddleImag, splitCos, splitSin, dctCos, dctSin, bitReversed, real, imag,
      spare, total;
};

TransformPieces planPieces(std::uint32_t length) {
  const std::size_t half = length / 2;
  AlignedPieces plan;
  TransformPieces pieces{};
  pieces.twiddleReal = plan.reserve(half * sizeof(float));
  pieces.twiddleImag = plan.reserve(half * sizeof(float));
  pieces.splitCos = plan.reserve((half / 2 + 1) * sizeof(float));
  pieces.splitSin = plan.reserve((half / 2 + 1) * sizeof(float));
  pieces.dctCos = plan.reserve((half + 1) * sizeof(float));
  pieces.dctSin = plan.reserve((half + 1) * sizeof(float));
  pieces.bitReversed = plan.reserve(half * sizeof(std::uint32_t));
  pieces.real = plan.reserve(half * sizeof(float));
  pieces.imag = plan.reserve(half * sizeof(float));
  pieces.spare = plan.reserve(length * sizeof(float));
  pieces.total = plan.size();
  return pieces;
}

template <typename T>
T* piece(void* memory, std::size_t offset) {
  return reinterpret_cast<T*>(static_cast<unsigned char*>(memory) + offset);
}

// cos and sin of pi x numerator / denominator, exact where the angle is a
// multiple of a right angle so that the variants' shortcuts for those
// twiddles give the same values as the tables.
void unitVector(std::uint64_t numerator, std::uint64_t denominator, float& c, float& s) {
  if (2 * numerator == denominator) {
    c = 0.0f;
    s = 1.0f;
    return;
  }
  const double angle =
      std::numbers::pi * static_cast<double>(numerator) / static_cast<double>(denominator);
  c = static_cast<float>(std::cos(angle));
  s = static_cast<float>(std::sin(angle));
}

}  // namespace

std::size_t SoundTransform::memoryBytes(std::uint32_t length) { return planPieces(length).total; }

SoundTransform::SoundTransform(std::uint32_t length, void* memory, const SoundKernels& kernels)
    : length_(length), half_(length / 2), kernels_(&kernels) {
  const TransformPieces pieces = planPieces(length);
  twiddleReal_ = piece<float>(memory, pieces.twiddleReal);
  twiddleImag_ = piece<float>(memory, pieces.twiddleImag);
  splitCos_ = piece<float>(memory, pieces.splitCos);
  splitSin_ = piece<float>(memory, pieces.splitSin);
  dctCos_ = piece<float>(memory, pieces.dctCos);
  dctSin_ = piece<float>(memory, pieces.dctSin);
  bitReversed_ = piece<std::uint32_t>(memory, pieces.bitReversed);
  real_ = piece<float>(memory, pieces.real);
  imag_ = piece<float>(memory, pieces.imag);
  spare_ = piece<float>(memory, pieces.spare);

  twiddleReal_[0] = 1.0f;
  twiddleImag_[0] = 0.0f;
  for (std::uint32_t h = 1; h < half_; h *= 2) {
    for (std::uint32_t j = 0; j < h; ++j) {
      float c, s;
      unitVector(j, h, c, s);
      twiddleReal_[h + j] = c;
      twiddleImag_[h + j] = -s;
    }
  }
  for (std::uint32_t k = 0; k <= half_ / 2; ++k)
    unitVector(2 * k, length_, splitCos_[k], splitSin_[k]);
  for (std::uint32_t k = 0; k <= half_; ++k) unitVector(k, 2 * length_, dctCos_[k], dctSin_[k]);

  unsigned bits = 0;
  while ((1u << bits) < half_) ++bits;
  for (std::uint32_t m = 0; m < half_; ++m) {
    std::uint32_t reversed = 0;
    for (unsigned b = 0; b < bits; ++b) reversed |= ((m >> b) & 1u) << (bits - 1 - b);
    bitReversed_[m] = reversed;
  }
}

void SoundTransform::loadBitReversed(const float* data) {
  for (std::uint32_t m = 0; m < half_; ++m) {
    const std::uint32_t to = bitReversed_[m];
    real_[to] = data[2 * m];
    imag_[to] = data[2 * m + 1];
  }
}

// The even and odd samples ride as one complex signal z(m) = x(2m) + i x(2m+1);
// its spectrum Z gives the real signal's X(k) = E(k) + e^(-2 pi i k / n) O(k)
// with E(k) = (Z(k) + conj Z(M-k)) / 2 and O(k) = (Z(k) - conj Z(M-k)) / 2i.
void SoundTransform::forwardRealDft(float* data) {
  loadBitReversed(data);
  kernels_->complexFft(real_, imag_, half_, twiddleReal_, twiddleImag_);
  const std::uint32_t m = half_;
  data[0] = real_[0] + imag_[0];
  data[1] = real_[0] - imag_[0];
  for (std::uint32_t k = 1; k < m / 2; ++k) {
    const float ar = real_[k], ai = imag_[k];
    const float br = real_[m - k], bi = -imag_[m - k];
    const float er = (ar + br) * 0.5f, ei = (ai + bi) * 0.5f;
    const float oddReal = (ai - bi) * 0.5f, oddImag = -(ar - br) * 0.5f;
    const float c = splitCos_[k], s = splitSin_[k];
    const float wr = c * oddReal + s * oddImag;
    const float wi = c * oddImag - s * oddReal;
    data[2 * k] = er + wr;
    data[2 * k + 1] = -(ei + wi);
    data[2 * (m - k)] = er - wr;
    data[2 * (m - k) + 1] = ei - wi;
  }
  data[m] = real_[m / 2];
  data[m + 1] = imag_[m / 2];
}

// The forward steps undone: Z(k) = E(k) + i O(k) with E and O the spectra of
// the even and odd samples, and the inverse complex FFT (the forward one on
// swapped arrays) gives x(2m) + i x(2m+1) directly in the scale above.
void SoundTransform::inverseRealDft(float* data) {
  const std::uint32_t m = half_;
  const float r0 = data[0], rm = data[1];
  real_[0] = (r0 + rm) * 0.5f;
  imag_[0] = (r0 - rm) * 0.5f;
  for (std::uint32_t k = 1; k < m / 2; ++k) {
    const float rk = data[2 * k], ik = data[2 * k + 1];
    const float rj = data[2 * (m - k)], ij = data[2 * (m - k) + 1];
    const float er = (rk + rj) * 0.5f, ei = (ij - ik) * 0.5f;
    const float fr = (rk - rj) * 0.5f, fi = -(ik + ij) * 0.5f;
    const float c = splitCos_[k], s = splitSin_[k];
    const float oddReal = c * fr - s * fi;
    const float oddImag = c * fi + s * fr;
    const std::uint32_t at = bitReversed_[k], mirrored = bitReversed_[m - k];
    real_[at] = er - oddImag;
    imag_[at] = ei + oddReal;
    real_[mirrored] = er + oddImag;
    imag_[mirrored] = oddReal - ei;
  }
  real_[bitReversed_[m / 2]] = data[m];
  imag_[bitReversed_[m / 2]] = data[m + 1];
  kernels_->complexFft(imag_, real_, half_, twiddleReal_, twiddleImag_);
  for (std::uint32_t j = 0; j < m; ++j) {
    data[2 * j] = real_[j];
    data[2 * j + 1] = imag_[j];
  }
}

// Reordered as v = x(0), x(2), x(4) ... x(5), x(3), x(1), the cosine
// transform is the real part of e^(-i pi k / 2n) V(k).
void SoundTransform::forwardDct(float* data) {
  const std::uint32_t n = length_;
  for (std::uint32_t j = 0; j < n / 2; ++j) {
    spare_[j] = data[2 * j];
    spare_[n - 1 - j] = data[2 * j + 1];
  }
  forwardRealDft(spare_);
  data[0] = spare_[0];
  data[n / 2] = spare_[1] * dctCos_[n / 2];
  for (std::uint32_t k = 1; k < n / 2; ++k) {
    const float r = spare_[2 * k], i = spare_[2 * k + 1];
    const float c = dctCos_[k], s = dctSin_[k];
    data[k] = r * c - i * s;
    data[n - k] = r * s + i * c;
  }
}

// The forward steps backwards: V(k) = e^(i pi k / 2n) (C(k) - i C(n-k)) with
// C(0) = 2 a(0), whose half-scaled inverse real transform is v.
void SoundTransform::inverseDct(float* data) {
  const std::uint32_t n = length_;
  spare_[0] = 2.0f * data[0];
  spare_[1] = std::numbers::sqrt2_v<float> * data[n / 2];
  for (std::uint32_t k = 1; k < n / 2; ++k) {
    const float a = data[k], b = data[n - k];
    const float c = dctCos_[k], s = dctSin_[k];
    spare_[2 * k] = a * c + b * s;
    spare_[2 * k + 1] = b * c - a * s;
  }
  inverseRealDft(spare_);
  for (std::uint32_t j = 0; j < n / 2; ++j) {
    data[2 * j] = spare_[j];
    data[2 * j + 1] = spare_[n - 1 - j];
  }
}

}  // namespace zet
