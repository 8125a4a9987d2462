#include <emmintrin.h>

#include "inverse_transform.h"
#include "plane_kernels.h"

namespace zet {

namespace {

// SSE2 has no 32-bit low multiply; two 32x32->64 multiplies on the even and
// odd lanes give the same low halves.
inline __m128i multiplyLow(__m128i a, __m128i b) {
  const __m128i even = _mm_mul_epu32(a, b);
  const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(a, 32), _mm_srli_epi64(b, 32));
  return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                            _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
}

struct Sse2Ops {
  static __m128i add(__m128i a, __m128i b) { return _mm_add_epi32(a, b); }
  static __m128i sub(__m128i a, __m128i b) { return _mm_sub_epi32(a, b); }
  static __m128i scale(std::int32_t constant, __m128i x) {
    return _mm_srai_epi32(multiplyLow(_mm_set1_epi32(constant), x), kTransformProductShift);
  }
};

inline __m128i dequantise(__m128i coefficients, __m128i quantiser) {
  return _mm_srai_epi32(multiplyLow(coefficients, quantiser), kTransformProductShift);
}

inline void transpose4x4(__m128i& r0, __m128i& r1, __m128i& r2, __m128i& r3) {
  const __m128i t0 = _mm_unpacklo_epi32(r0, r1);
  const __m128i t1 = _mm_unpacklo_epi32(r2, r3);
  const __m128i t2 = _mm_unpackhi_epi32(r0, r1);
  const __m128i t3 = _mm_unpackhi_epi32(r2, r3);
  r0 = _mm_unpacklo_epi64(t0, t1);
  r1 = _mm_unpackhi_epi64(t0, t1);
  r2 = _mm_unpacklo_epi64(t2, t3);
  r3 = _mm_unpackhi_epi64(t2, t3);
}

// An 8x8 matrix of 32-bit values as left halves (columns 0-3) and right
// halves (columns 4-7) of its rows.
struct Matrix {
  __m128i left[8];
  __m128i right[8];
};

void transpose(Matrix& m) {
  transpose4x4(m.left[0], m.left[1], m.left[2], m.left[3]);
  transpose4x4(m.right[0], m.right[1], m.right[2], m.right[3]);
  transpose4x4(m.left[4], m.left[5], m.left[6], m.left[7]);
  transpose4x4(m.right[4], m.right[5], m.right[6], m.right[7]);
  for (unsigned i = 0; i < 4; ++i) {
    const __m128i upperRight = m.right[i];
    m.right[i] = m.left[i + 4];
    m.left[i + 4] = upperRight;
  }
}

void transformRows(Matrix& m) {
  inverseTransformPass<Sse2Ops>(m.left);
  inverseTransformPass<Sse2Ops>(m.right);
}

void inverseTransformSse2(const std::int32_t* coefficients, const std::int32_t* quantiser,
                          std::uint8_t* result) {
  Matrix m;
  for (unsigned row = 0; row < 8; ++row) {
    const auto* c = reinterpret_cast<const __m128i*>(coefficients + row * 8);
    const auto* q = reinterpret_cast<const __m128i*>(quantiser + row * 8);
    m.left[row] = dequantise(_mm_loadu_si128(c), _mm_loadu_si128(q));
    m.right[row] = dequantise(_mm_loadu_si128(c + 1), _mm_loadu_si128(q + 1));
  }
  // The vertical pass works on whole rows; transposing lets the same code do
  // the horizontal pass, and transposing back restores the row order.
  transformRows(m);
  transpose(m);
  transformRows(m);
  transpose(m);
  const __m128i rounding = _mm_set1_epi32(kTransformRounding);
  const __m128i lowByte = _mm_set1_epi32(0xFF);
  for (unsigned row = 0; row < 8; row += 2) {
    __m128i words[4];
    for (unsigned half = 0; half < 2; ++half) {
      const __m128i left = _mm_srai_epi32(_mm_add_epi32(m.left[row + half], rounding), kTransformOutputShift);
      const __m128i right = _mm_srai_epi32(_mm_add_epi32(m.right[row + half], rounding), kTransformOutputShift);
      words[half * 2] = _mm_and_si128(left, lowByte);
      words[half * 2 + 1] = _mm_and_si128(right, lowByte);
    }
    const __m128i first = _mm_packs_epi32(words[0], words[1]);
    const __m128i second = _mm_packs_epi32(words[2], words[3]);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(result + row * 8), _mm_packus_epi16(first, second));
  }
}

void addBlockSse2(std::uint8_t* destination, std::size_t pitch, const std::uint8_t* delta) {
  for (unsigned row = 0; row < 8; ++row) {
    auto* line = reinterpret_cast<__m128i*>(destination + row * pitch);
    const __m128i sum = _mm_add_epi8(_mm_loadl_epi64(line),
                                     _mm_loadl_epi64(reinterpret_cast<const __m128i*>(delta + row * 8)));
    _mm_storel_epi64(line, sum);
  }
}

void doubleBlockSse2(std::uint8_t* destination, std::size_t pitch, const std::uint8_t* block) {
  for (unsigned row = 0; row < 8; ++row) {
    const __m128i source = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(block + row * 8));
    const __m128i doubled = _mm_unpacklo_epi8(source, source);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + (row * 2) * pitch), doubled);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + (row * 2 + 1) * pitch), doubled);
  }
}

constexpr PlaneKernels kSse2Kernels = {inverseTransformSse2, addBlockSse2, doubleBlockSse2};

}  // namespace

const PlaneKernels& sse2PlaneKernels() { return kSse2Kernels; }

}  // namespace zet
