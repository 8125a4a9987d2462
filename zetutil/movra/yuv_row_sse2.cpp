// Eight pixels at a time with SSE2, exactly as the table version: the
// tables' truncating divisions are redone in 32-bit lanes.
#include <emmintrin.h>

#include <cstring>
#include <utility>

#include "yuv_row_converter.h"

namespace zet {
namespace {

// Per-pixel chroma shares of eight pixels (four chroma samples), 16-bit.
struct ChromaShares {
  __m128i red, green, blue;
};

// A factor split so that pmaddwd on (d, 256 d) pairs gives d x factor:
// both halves fit 16 bits for every factor of the conversion.
__m128i splitFactor(int factor) {
  const int low = factor % 256;
  const int high = factor / 256;
  return _mm_set1_epi32(static_cast<int>(static_cast<unsigned>(high) << 16 | (static_cast<unsigned>(low) & 0xFFFF)));
}

// product / 32768, truncated toward zero, for each 32-bit lane.
__m128i divideBy32768(__m128i product) {
  const __m128i bias = _mm_and_si128(_mm_srai_epi32(product, 31), _mm_set1_epi32(32767));
  return _mm_srai_epi32(_mm_add_epi32(product, bias), 15);
}

// Each lane's value as the two 16-bit halves of the lane: one per pixel of the pair.
__m128i forPixelPairs(__m128i lanes) {
  return _mm_or_si128(_mm_and_si128(lanes, _mm_set1_epi32(0xFFFF)), _mm_slli_epi32(lanes, 16));
}

// (d, 256 d) pairs for four chroma bytes, d = v - 128.
__m128i chromaPairs(const std::uint8_t* samples) {
  std::int32_t four;
  std::memcpy(&four, samples, 4);
  const __m128i zero = _mm_setzero_si128();
  const __m128i words = _mm_unpacklo_epi8(_mm_cvtsi32_si128(four), zero);
  const __m128i d = _mm_sub_epi32(_mm_unpacklo_epi16(words, zero), _mm_set1_epi32(128));
  return _mm_or_si128(_mm_and_si128(d, _mm_set1_epi32(0xFFFF)), _mm_slli_epi32(d, 24));
}

__m128i share(__m128i pairs, int factor) {
  return forPixelPairs(divideBy32768(_mm_madd_epi16(pairs, splitFactor(factor))));
}

ChromaShares chromaShares(const std::uint8_t* cr, const std::uint8_t* cb) {
  const __m128i crPairs = chromaPairs(cr);
  const __m128i cbPairs = chromaPairs(cb);
  return {share(crPairs, 52299), _mm_add_epi16(share(crPairs, -26639), share(cbPairs, -12837)),
          share(cbPairs, 66101)};
}

// L(Y) for eight pixels: (min(max(Y - 16, 0), 219) x 38154) / 32768.
__m128i lumaTerms(const std::uint8_t* luma) {
  const __m128i y = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(luma)), _mm_setzero_si128());
  const __m128i c = _mm_min_epi16(_mm_subs_epu16(y, _mm_set1_epi16(16)), _mm_set1_epi16(219));
  return _mm_mulhi_epu16(_mm_slli_epi16(c, 1), _mm_set1_epi16(static_cast<short>(38154)));
}

void storePixels(std::uint8_t* destination, bool doubleWidth, __m128i blue, __m128i green, __m128i red,
                 __m128i alpha) {
  const __m128i blueGreen = _mm_unpacklo_epi8(blue, green);
  const __m128i redAlpha = _mm_unpacklo_epi8(red, alpha);
  const __m128i first = _mm_unpacklo_epi16(blueGreen, redAlpha);
  const __m128i second = _mm_unpackhi_epi16(blueGreen, redAlpha);
  auto* out = reinterpret_cast<__m128i*>(destination);
  if (doubleWidth) {
    _mm_storeu_si128(out, _mm_unpacklo_epi32(first, first));
    _mm_storeu_si128(out + 1, _mm_unpackhi_epi32(first, first));
    _mm_storeu_si128(out + 2, _mm_unpacklo_epi32(second, second));
    _mm_storeu_si128(out + 3, _mm_unpackhi_epi32(second, second));
  } else {
    _mm_storeu_si128(out, first);
    _mm_storeu_si128(out + 1, second);
  }
}

}  // namespace

void convertColourRowsSse2(const YuvRows& rows) {
  const std::size_t pixelBytes = rows.doubleWidth ? 8 : 4;
  std::size_t i = 0;
  for (; i + 8 <= rows.pixels; i += 8) {
    const ChromaShares shares = chromaShares(rows.cr + i / 2, rows.cb + i / 2);
    for (std::size_t line = 0; line < rows.lines; ++line) {
      const __m128i l = lumaTerms(rows.luma[line] + i);
      __m128i red = _mm_packus_epi16(_mm_add_epi16(l, shares.red), _mm_setzero_si128());
      const __m128i green = _mm_packus_epi16(_mm_add_epi16(l, shares.green), _mm_setzero_si128());
      __m128i blue = _mm_packus_epi16(_mm_add_epi16(l, shares.blue), _mm_setzero_si128());
      if (rows.redBlueSwapped) std::swap(red, blue);
      const __m128i alpha = rows.alpha[line]
                                ? _mm_loadl_epi64(reinterpret_cast<const __m128i*>(rows.alpha[line] + i))
                                : _mm_setzero_si128();
      storePixels(rows.destination[line] + i * pixelBytes, rows.doubleWidth, blue, green, red, alpha);
    }
  }
  if (i < rows.pixels) convertColourRowsPlain(remainingRows(rows, i));
}

}  // namespace zet
