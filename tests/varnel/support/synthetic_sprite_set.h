// A small X-Com-like sprite set made in code. Every source frame n is a 32x40
// 8-bit layer, empty (index 254) except for
// - one identity pixel at identityPixel(n) in index identityIndex(n), which
//   shows where frame n's picture landed in an output frame, and
// - a two-pixel bar in column 15, rows 30 and 31, so that the gap measured
//   between any torso and legs frame is -2.
// Weapon layers carry one pixel at weaponPixel(facing).
#pragma once

#include <string>

#include "falqui_image.h"
#include "varnel_folders.h"

namespace varnel::testing {

inline constexpr int kHighestSourceFrame = 283;
inline constexpr int kDeadBodyIdentity = 300;  // identity of the dead-body source
inline constexpr int kBarTopRow = 30;
inline constexpr int kMeasuredGap = -2;

struct PixelPosition {
  int x;
  int y;
};

Palette syntheticPalette();
std::int16_t identityIndex(int frame);
PixelPosition identityPixel(int frame);
std::int16_t weaponIndex(int facing);
PixelPosition weaponPixel(int facing);

// Folders under root: "app" (profiles, palettes) and "program" (Null.bmp and
// Resources/weapons with a layer for every weapon and facing).
VarnelFolders writeProgramFolders(const std::string& root);
// prefix000.bmp .. prefix283.bmp and, when asked, prefix_DEAD.bmp.
void writeSpriteSet(const std::string& prefix, bool withDeadBody);

}  // namespace varnel::testing
