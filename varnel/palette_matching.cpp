#include "palette_matching.h"

#include <cmath>

namespace varnel {

namespace {

double similarity(const PaletteEntry& a, const PaletteEntry& b) {
  const double red = a.Red - b.Red;
  const double green = a.Green - b.Green;
  const double blue = a.Blue - b.Blue;
  static const double kLongestDistance = std::sqrt(3.0 * 255.0 * 255.0);
  // The ratio first, so that the opposite corner of the colour cube scores exactly 0.
  return 100.0 - 100.0 * (std::sqrt(red * red + green * green + blue * blue) / kLongestDistance);
}

}  // namespace

PaletteMatches FindBestMatches(const Palette& newPalette, const ConversionSlots& slots, const Palette& colours,
                               bool skipFlag, const PaletteEntry& skipColor) {
  PaletteMatches result;
  result.match.assign(colours.size(), 0);
  result.score.assign(colours.size(), 0.0);
  double worstScore = 100.0;
  for (std::size_t i = 0; i < colours.size(); ++i) {
    const PaletteEntry& colour = colours[i];
    if (skipFlag && colour == skipColor) continue;
    for (std::size_t j = 0; j < newPalette.size(); ++j) {
      const std::int16_t slot = j < slots.size() ? slots[j] : 0;
      if (slot == 1 && newPalette[j] == colour) {
        result.score[i] = 100.0;
        result.match[i] = static_cast<std::int16_t>(j);
      } else if (slot == 2) {
        const double score = similarity(newPalette[j], colour);
        if (score > result.score[i]) {
          result.score[i] = score;
          result.match[i] = static_cast<std::int16_t>(j);
        }
      }
    }
    if (result.score[i] < worstScore) {
      worstScore = result.score[i];
      result.worst = static_cast<int>(i);
    }
  }
  return result;
}

}  // namespace varnel
