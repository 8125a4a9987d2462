#include <emmintrin.h>

#include <cstring>

#include "block_sad.h"

namespace movra {
namespace {

std::uint32_t total(__m128i sums) {
  return static_cast<std::uint32_t>(_mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
}

std::uint32_t sad64Sse2(const std::uint8_t* a, const std::uint8_t* b) {
  __m128i sums = _mm_setzero_si128();
  for (unsigned i = 0; i < 64; i += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
    sums = _mm_add_epi64(sums, _mm_sad_epu8(x, y));
  }
  return total(sums);
}

__m128i twoRows(const std::uint8_t* first, const std::uint8_t* second) {
  std::uint64_t low = 0, high = 0;
  std::memcpy(&low, first, 8);
  std::memcpy(&high, second, 8);
  return _mm_set_epi64x(static_cast<long long>(high), static_cast<long long>(low));
}

// Two rows at a time, abandoning once half the block already passes the limit.
std::uint32_t sadBoundedSse2(const std::uint8_t* block, std::size_t pitch, const std::uint8_t* samples,
                             std::uint32_t limit) {
  __m128i sums = _mm_setzero_si128();
  for (unsigned row = 0; row < 8; row += 2) {
    const __m128i x = twoRows(block + row * pitch, block + (row + 1) * pitch);
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(samples + row * 8));
    sums = _mm_add_epi64(sums, _mm_sad_epu8(x, y));
    if (row == 2 && total(sums) > limit) return total(sums);
  }
  return total(sums);
}

constexpr SadKernels kSse2 = {sad64Sse2, sadBoundedSse2};

}  // namespace

const SadKernels& sse2SadKernels() { return kSse2; }

}  // namespace movra
