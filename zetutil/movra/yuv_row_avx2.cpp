// Sixteen pixels at a time with AVX2, exactly as the table version. This
// file is compiled for AVX2, so it holds nothing that other files share:
// only its own internal helpers and the entry point, which runs only after
// the processor has been seen to support AVX2.
#include <immintrin.h>

#include "yuv_row_converter.h"

namespace zet {
namespace {

struct ChromaShares {
  __m256i red, green, blue;
};

// (v - 128) x factor / 32768, truncated toward zero, for eight chroma
// samples, each result repeated for the two pixels of its pair.
__m256i share(__m256i d, int factor) {
  const __m256i product = _mm256_mullo_epi32(d, _mm256_set1_epi32(factor));
  const __m256i bias = _mm256_and_si256(_mm256_srai_epi32(product, 31), _mm256_set1_epi32(32767));
  const __m256i lanes = _mm256_srai_epi32(_mm256_add_epi32(product, bias), 15);
  return _mm256_or_si256(_mm256_and_si256(lanes, _mm256_set1_epi32(0xFFFF)), _mm256_slli_epi32(lanes, 16));
}

__m256i centredChroma(const std::uint8_t* samples) {
  const __m128i eight = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(samples));
  return _mm256_sub_epi32(_mm256_cvtepu8_epi32(eight), _mm256_set1_epi32(128));
}

ChromaShares chromaShares(const std::uint8_t* cr, const std::uint8_t* cb) {
  const __m256i crD = centredChroma(cr);
  const __m256i cbD = centredChroma(cb);
  return {share(crD, 52299), _mm256_add_epi16(share(crD, -26639), share(cbD, -12837)), share(cbD, 66101)};
}

__m256i widen(const std::uint8_t* bytes) {
  return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)));
}

__m256i lumaTerms(const std::uint8_t* luma) {
  const __m256i c = _mm256_min_epi16(_mm256_subs_epu16(widen(luma), _mm256_set1_epi16(16)), _mm256_set1_epi16(219));
  return _mm256_mulhi_epu16(_mm256_slli_epi16(c, 1), _mm256_set1_epi16(static_cast<short>(38154)));
}

// Bytes of sixteen 16-bit values, each 128-bit lane holding its eight twice.
__m256i narrow(__m256i words) { return _mm256_packus_epi16(words, words); }

void storeEight(std::uint8_t* destination, bool doubleWidth, __m256i pixels) {
  auto* out = reinterpret_cast<__m256i*>(destination);
  if (doubleWidth) {
    const __m256i low = _mm256_unpacklo_epi32(pixels, pixels);
    const __m256i high = _mm256_unpackhi_epi32(pixels, pixels);
    _mm256_storeu_si256(out, _mm256_permute2x128_si256(low, high, 0x20));
    _mm256_storeu_si256(out + 1, _mm256_permute2x128_si256(low, high, 0x31));
  } else {
    _mm256_storeu_si256(out, pixels);
  }
}

void storePixels(std::uint8_t* destination, bool doubleWidth, __m256i blue, __m256i green, __m256i red,
                 __m256i alpha) {
  const __m256i blueGreen = _mm256_unpacklo_epi8(blue, green);
  const __m256i redAlpha = _mm256_unpacklo_epi8(red, alpha);
  const __m256i low = _mm256_unpacklo_epi16(blueGreen, redAlpha);   // pixels 0..3 and 8..11
  const __m256i high = _mm256_unpackhi_epi16(blueGreen, redAlpha);  // pixels 4..7 and 12..15
  const std::size_t eightPixels = doubleWidth ? 64 : 32;
  storeEight(destination, doubleWidth, _mm256_permute2x128_si256(low, high, 0x20));
  storeEight(destination + eightPixels, doubleWidth, _mm256_permute2x128_si256(low, high, 0x31));
}

}  // namespace

void convertColourRowsAvx2(const YuvRows& rows) {
  const std::size_t pixelBytes = rows.doubleWidth ? 8 : 4;
  std::size_t i = 0;
  for (; i + 16 <= rows.pixels; i += 16) {
    const ChromaShares shares = chromaShares(rows.cr + i / 2, rows.cb + i / 2);
    for (std::size_t line = 0; line < rows.lines; ++line) {
      const __m256i l = lumaTerms(rows.luma[line] + i);
      const __m256i red = narrow(_mm256_add_epi16(l, shares.red));
      const __m256i green = narrow(_mm256_add_epi16(l, shares.green));
      const __m256i blue = narrow(_mm256_add_epi16(l, shares.blue));
      const __m256i alpha = rows.alpha[line] ? narrow(widen(rows.alpha[line] + i)) : _mm256_setzero_si256();
      std::uint8_t* destination = rows.destination[line] + i * pixelBytes;
      if (rows.redBlueSwapped) {
        storePixels(destination, rows.doubleWidth, red, green, blue, alpha);
      } else {
        storePixels(destination, rows.doubleWidth, blue, green, red, alpha);
      }
    }
  }
  if (i < rows.pixels) convertColourRowsSse2(remainingRows(rows, i));
}

}  // namespace zet
