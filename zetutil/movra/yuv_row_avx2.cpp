// Thirty-two pixels at a time with AVX2, exactly as the table version. This
// file is compiled for AVX2, so it holds nothing that other files share:
// only its own internal helpers and the entry point, which runs only after
// the processor has been seen to support AVX2.
//
// The chroma shares are worked out in 16-bit lanes. With d = v - 128
// (|d| <= 128) and a factor f below 32768, d x f / 32768 truncated toward
// zero is the sign of d applied to floor(2 |d| x f / 65536), which is one
// unsigned high multiply. The two factors above 32768 split into a whole
// part and such a rest: d x (32768 n + r) / 32768 truncates to n d plus the
// truncated d x r / 32768, since both terms have the sign of d.
#include <immintrin.h>

#include "yuv_row_converter.h"

namespace zet {
namespace {

constexpr short kCrRedRest = 52299 - 32768;
constexpr short kCrGreen = 26639;
constexpr short kCbGreen = 12837;
constexpr short kCbBlueRest = 66101 - 2 * 32768;

// Sixteen chroma shares for 32 pixels, before the pixel pairs are formed.
struct ChromaShares {
  __m256i red, green, blue;
};

// d x factor / 32768 truncated toward zero, for factors below 32768.
__m256i share(__m256i d, __m256i doubledMagnitude, short factor) {
  return _mm256_sign_epi16(_mm256_mulhi_epu16(doubledMagnitude, _mm256_set1_epi16(factor)), d);
}

// Sixteen centred chroma samples, 64-bit quarters in the order 0, 2, 1, 3:
// the in-lane unpacking that pairs them up then gives pixels 0..15 from the
// low quarters and 16..31 from the high ones.
__m256i centredChroma(const std::uint8_t* samples) {
  const __m256i words = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(samples)));
  return _mm256_permute4x64_epi64(_mm256_sub_epi16(words, _mm256_set1_epi16(128)), 0xD8);
}

ChromaShares chromaShares(const std::uint8_t* cr, const std::uint8_t* cb) {
  const __m256i crD = centredChroma(cr);
  const __m256i cbD = centredChroma(cb);
  const __m256i crMagnitude = _mm256_slli_epi16(_mm256_abs_epi16(crD), 1);
  const __m256i cbMagnitude = _mm256_slli_epi16(_mm256_abs_epi16(cbD), 1);
  ChromaShares shares;
  shares.red = _mm256_add_epi16(crD, share(crD, crMagnitude, kCrRedRest));
  shares.green = _mm256_sub_epi16(_mm256_setzero_si256(),
                                  _mm256_add_epi16(share(crD, crMagnitude, kCrGreen), share(cbD, cbMagnitude, kCbGreen)));
  shares.blue = _mm256_add_epi16(_mm256_add_epi16(cbD, cbD), share(cbD, cbMagnitude, kCbBlueRest));
  return shares;
}

// L(Y) for sixteen pixels: (min(max(Y - 16, 0), 219) x 38154) / 32768.
__m256i lumaTerms(const std::uint8_t* luma) {
  const __m256i y = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(luma)));
  const __m256i c = _mm256_min_epi16(_mm256_subs_epu16(y, _mm256_set1_epi16(16)), _mm256_set1_epi16(219));
  return _mm256_mulhi_epu16(_mm256_slli_epi16(c, 1), _mm256_set1_epi16(static_cast<short>(38154)));
}

// One channel of 32 pixels, clamped to bytes: pixels 0..7, 16..23 in the
// low lane and 8..15, 24..31 in the high one.
__m256i channel(__m256i lumaLow, __m256i lumaHigh, __m256i share) {
  return _mm256_packus_epi16(_mm256_add_epi16(lumaLow, _mm256_unpacklo_epi16(share, share)),
                             _mm256_add_epi16(lumaHigh, _mm256_unpackhi_epi16(share, share)));
}

// Eight pixels, each written twice when the width doubles.
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

// Channels in the byte order of channel().
void storePixels(std::uint8_t* destination, bool doubleWidth, __m256i blue, __m256i green, __m256i red,
                 __m256i alpha) {
  const __m256i blueGreenLow = _mm256_unpacklo_epi8(blue, green);   // pixels 0..7 | 8..15
  const __m256i blueGreenHigh = _mm256_unpackhi_epi8(blue, green);  // pixels 16..23 | 24..31
  const __m256i redAlphaLow = _mm256_unpacklo_epi8(red, alpha);
  const __m256i redAlphaHigh = _mm256_unpackhi_epi8(red, alpha);
  const __m256i p0 = _mm256_unpacklo_epi16(blueGreenLow, redAlphaLow);    // 0..3 | 8..11
  const __m256i p1 = _mm256_unpackhi_epi16(blueGreenLow, redAlphaLow);    // 4..7 | 12..15
  const __m256i p2 = _mm256_unpacklo_epi16(blueGreenHigh, redAlphaHigh);  // 16..19 | 24..27
  const __m256i p3 = _mm256_unpackhi_epi16(blueGreenHigh, redAlphaHigh);  // 20..23 | 28..31
  const std::size_t eightPixels = doubleWidth ? 64 : 32;
  storeEight(destination, doubleWidth, _mm256_permute2x128_si256(p0, p1, 0x20));
  storeEight(destination + eightPixels, doubleWidth, _mm256_permute2x128_si256(p0, p1, 0x31));
  storeEight(destination + 2 * eightPixels, doubleWidth, _mm256_permute2x128_si256(p2, p3, 0x20));
  storeEight(destination + 3 * eightPixels, doubleWidth, _mm256_permute2x128_si256(p2, p3, 0x31));
}

// Alpha bytes of 32 pixels in the byte order of channel().
__m256i alphaBytes(const std::uint8_t* alpha) {
  return _mm256_permute4x64_epi64(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(alpha)), 0xD8);
}

}  // namespace

void convertColourRowsAvx2(const YuvRows& rows) {
  const std::size_t pixelBytes = rows.doubleWidth ? 8 : 4;
  std::size_t i = 0;
  for (; i + 32 <= rows.pixels; i += 32) {
    const ChromaShares shares = chromaShares(rows.cr + i / 2, rows.cb + i / 2);
    for (std::size_t line = 0; line < rows.lines; ++line) {
      const std::uint8_t* luma = rows.luma[line] + i;
      const __m256i lumaLow = lumaTerms(luma);
      const __m256i lumaHigh = lumaTerms(luma + 16);
      const __m256i red = channel(lumaLow, lumaHigh, shares.red);
      const __m256i green = channel(lumaLow, lumaHigh, shares.green);
      const __m256i blue = channel(lumaLow, lumaHigh, shares.blue);
      const __m256i alpha = rows.alpha[line] ? alphaBytes(rows.alpha[line] + i) : _mm256_setzero_si256();
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
