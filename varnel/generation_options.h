// The window's check boxes and palette choice: not part of a profile, they
// start at these defaults every time the program starts.
#pragma once

namespace varnel {

enum class ConversionPalette { None = 0, Ra2 = 1, Combo = 2 };

struct GenerationOptions {
  bool canCrouch = false;
  bool flyingSuit = false;
  bool altTorso = false;
  ConversionPalette palette = ConversionPalette::None;
  bool ra2Background = true;
  bool remapExact = false;
  bool remapClose = false;
};

}  // namespace varnel
