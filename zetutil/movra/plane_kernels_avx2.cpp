#include <immintrin.h>

#include "inverse_transform.h"
#include "plane_kernels.h"

namespace zet {

namespace {

struct Avx2Ops {
  static __m256i add(__m256i a, __m256i b) { return _mm256_add_epi32(a, b); }
  static __m256i sub(__m256i a, __m256i b) { return _mm256_sub_epi32(a, b); }
  static __m256i scale(std::int32_t constant, __m256i x) {
    return _mm256_srai_epi32(_mm256_mullo_epi32(_mm256_set1_epi32(constant), x),
                             kTransformProductShift);
  }
};

// Written out without loops so that the whole matrix stays in registers.
inline void transpose(__m256i (&r)[8]) {
  const __m256i t0 = _mm256_unpacklo_epi32(r[0], r[1]);
  const __m256i t1 = _mm256_unpackhi_epi32(r[0], r[1]);
  const __m256i t2 = _mm256_unpacklo_epi32(r[2], r[3]);
  const __m256i t3 = _mm256_unpackhi_epi32(r[2], r[3]);
  const __m256i t4 = _mm256_unpacklo_epi32(r[4], r[5]);
  const __m256i t5 = _mm256_unpackhi_epi32(r[4], r[5]);
  const __m256i t6 = _mm256_unpacklo_epi32(r[6], r[7]);
  const __m256i t7 = _mm256_unpackhi_epi32(r[6], r[7]);
  const __m256i u0 = _mm256_unpacklo_epi64(t0, t2);
  const __m256i u1 = _mm256_unpackhi_epi64(t0, t2);
  const __m256i u2 = _mm256_unpacklo_epi64(t1, t3);
  const __m256i u3 = _mm256_unpackhi_epi64(t1, t3);
  const __m256i u4 = _mm256_unpacklo_epi64(t4, t6);
  const __m256i u5 = _mm256_unpackhi_epi64(t4, t6);
  const __m256i u6 = _mm256_unpacklo_epi64(t5, t7);
  const __m256i u7 = _mm256_unpackhi_epi64(t5, t7);
  r[0] = _mm256_permute2x128_si256(u0, u4, 0x20);
  r[1] = _mm256_permute2x128_si256(u1, u5, 0x20);
  r[2] = _mm256_permute2x128_si256(u2, u6, 0x20);
  r[3] = _mm256_permute2x128_si256(u3, u7, 0x20);
  r[4] = _mm256_permute2x128_si256(u0, u4, 0x31);
  r[5] = _mm256_permute2x128_si256(u1, u5, 0x31);
  r[6] = _mm256_permute2x128_si256(u2, u6, 0x31);
  r[7] = _mm256_permute2x128_si256(u3, u7, 0x31);
}

void inverseTransformAvx2(const std::int32_t* coefficients, const std::int32_t* quantiser,
                          std::uint8_t* result) {
  __m256i rows[8];
  for (unsigned row = 0; row < 8; ++row) {
    const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(coefficients + row * 8));
    const __m256i q = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(quantiser + row * 8));
    rows[row] = _mm256_srai_epi32(_mm256_mullo_epi32(c, q), kTransformProductShift);
  }
  // The vertical pass works on whole rows; transposing lets the same code do
  // the horizontal pass, and transposing back restores the row order.
  inverseTransformPass<Avx2Ops>(rows);
  transpose(rows);
  inverseTransformPass<Avx2Ops>(rows);
  transpose(rows);
  const __m256i rounding = _mm256_set1_epi32(kTransformRounding);
  const __m256i lowByte = _mm256_set1_epi32(0xFF);
  for (__m256i& row : rows) {
    row = _mm256_and_si256(
        _mm256_srai_epi32(_mm256_add_epi32(row, rounding), kTransformOutputShift), lowByte);
  }
  // Packing works inside each 128-bit half: the bytes come out as the first
  // four and last four of rows 0-3 by halves, and one permute puts the
  // 4-byte pieces back in row order.
  const __m256i rowOrder = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
  for (unsigned row = 0; row < 8; row += 4) {
    const __m256i words01 = _mm256_packs_epi32(rows[row], rows[row + 1]);
    const __m256i words23 = _mm256_packs_epi32(rows[row + 2], rows[row + 3]);
    const __m256i bytes = _mm256_packus_epi16(words01, words23);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(result + row * 8),
                        _mm256_permutevar8x32_epi32(bytes, rowOrder));
  }
}

}  // namespace

// The byte-wide block routines move 8 or 16 bytes per row, which SSE2
// already does in one instruction; only the transform gains from AVX2.
const PlaneKernels& avx2PlaneKernels() {
  static const PlaneKernels kernels = {inverseTransformAvx2, sse2PlaneKernels().addBlock,
                                       sse2PlaneKernels().doubleBlock};
  return kernels;
}

}  // namespace zet
