// Finding, for every colour of an old palette, the best allowed entry of a new one.
#pragma once

#include <cstdint>
#include <vector>

#include "falqui_image.h"

namespace varnel {

struct PaletteMatches {
  std::vector<std::int16_t> match;  // chosen new index per colour; 0 when nothing was allowed
  std::vector<double> score;        // similarity 0..100 of that choice
  int worst = -1;                   // colour with the lowest score, -1 when every one scored 100
};

// Slot 1 entries take a colour they match exactly (a later one wins); slot 2
// entries take the most similar colour (an earlier one wins a tie). A colour
// equal to skipColor is left out when skipFlag is set.
PaletteMatches FindBestMatches(const Palette& newPalette, const ConversionSlots& slots, const Palette& colours,
                               bool skipFlag, const PaletteEntry& skipColor);

}  // namespace varnel
