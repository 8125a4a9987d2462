// Building one output frame from its layer bitmaps: a 32x40 figure placed on a
// 94x106 canvas, with the palette written out, converted and saved.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "falqui_image.h"
#include "status.h"

namespace varnel {

// The palette index that marks empty pixels in every layer.
inline constexpr std::int16_t kLayerBackgroundIndex = 254;

struct FrameConversion {
  std::string vgaPalettePath;                // rewritten with each frame's palette
  std::optional<Palette> targetPalette;      // the palette to convert to, if any
  ConversionSlots slots;
  bool ra2Background = true;                 // make index 0 the background
};

// Indexes 0-15 and 240-255 are never targets; 32-239 take the nearest colour;
// the remappable 16-31 follow the two check boxes.
ConversionSlots conversionSlots(bool remapExact, bool remapClose);

struct FrameLayers {
  std::string A, B, W, C, D;  // torso, legs, weapon, off arm, weapon arm
};

Status ComposeFrame(int d, const FrameLayers& layers, int bodyY, int weaponOffsetY, const std::string& outPath,
                    int bob, const FrameConversion& conversion);
Status OverlayLayer(FalquiImageClass& frame, const std::string& path, int offsetY);
// The rows between the bottom of torso A and the top of legs B in column 15.
Status MeasureBodyGap(const std::string& A, const std::string& B, std::int16_t& gap);

// Loads a bitmap that must be 8-bit.
Status loadLayerBitmap(FalquiImageClass& image, const std::string& path);

}  // namespace varnel
