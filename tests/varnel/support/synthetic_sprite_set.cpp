#include "support/synthetic_sprite_set.h"

#include <filesystem>

#include "frame_composer.h"
#include "support/bitmap_bytes.h"
#include "standard_functions.h"
#include "temp_dir.h"
#include "unit_tables.h"

namespace varnel::testing {

namespace {

constexpr int kLayerWidth = 32;
constexpr int kLayerHeight = 40;

// A layer's indexes, row after row from the top.
struct LayerIndexes {
  std::vector<std::uint8_t> indexes =
      std::vector<std::uint8_t>(kLayerWidth * kLayerHeight, static_cast<std::uint8_t>(kLayerBackgroundIndex));

  void paint(PixelPosition position, std::int16_t index) {
    indexes.at(static_cast<std::size_t>(position.y * kLayerWidth + position.x)) = static_cast<std::uint8_t>(index);
  }
};

// Written byte by byte rather than through the image class, so that the
// fixtures do not depend on the writer under test.
void save(const LayerIndexes& layer, const std::string& path) {
  BitmapBytesSpec spec;
  spec.width = kLayerWidth;
  spec.height = kLayerHeight;
  for (int y = kLayerHeight - 1; y >= 0; --y) {
    const auto row = layer.indexes.begin() + y * kLayerWidth;
    spec.rowBytes.insert(spec.rowBytes.end(), row, row + kLayerWidth);
  }
  zet::testing::writeFile(path, bitmapBytes(spec));
}

LayerIndexes sourceLayer(int identity) {
  LayerIndexes layer;
  layer.paint(identityPixel(identity), identityIndex(identity));
  layer.paint({15, kBarTopRow}, identityIndex(identity));
  layer.paint({15, kBarTopRow + 1}, identityIndex(identity));
  return layer;
}

}  // namespace

Palette syntheticPalette() {
  // The palette that bitmapBytes writes.
  Palette palette(kPaletteSize);
  for (std::size_t i = 0; i < palette.size(); ++i) {
    palette[i] = PaletteEntry{static_cast<std::uint8_t>(i / 2), static_cast<std::uint8_t>(255 - i),
                              static_cast<std::uint8_t>(i)};
  }
  return palette;
}

std::int16_t identityIndex(int frame) { return static_cast<std::int16_t>(16 + frame % 200); }

PixelPosition identityPixel(int frame) {
  // Column 15 is left to the bar that the gap is measured on.
  const int column = frame % 30;
  return {column < 15 ? column : column + 1, 10 + frame / 30};
}

std::int16_t weaponIndex(int facing) { return static_cast<std::int16_t>(230 + facing); }

PixelPosition weaponPixel(int facing) { return {2 * facing, 25}; }

VarnelFolders writeProgramFolders(const std::string& root) {
  const std::string app = BuildPath(root, "app");
  const std::string program = BuildPath(root, "program");
  const std::string weapons = BuildPath(program, "Resources/weapons");
  std::filesystem::create_directories(app);
  std::filesystem::create_directories(weapons);
  save(LayerIndexes(), BuildPath(program, "Null.bmp"));
  for (const WeaponRow& weapon : weaponTable()) {
    for (int facing = 1; facing <= 8; ++facing) {
      LayerIndexes layer;
      layer.paint(weaponPixel(facing), weaponIndex(facing));
      save(layer, BuildPath(weapons, std::string(weapon.text) + NumToStr(facing, 3) + ".bmp"));
    }
  }
  return foldersFor(app, program);
}

void writeSpriteSet(const std::string& prefix, bool withDeadBody) {
  for (int n = 0; n <= kHighestSourceFrame; ++n) save(sourceLayer(n), prefix + NumToStr(n, 3) + ".bmp");
  if (withDeadBody) save(sourceLayer(kDeadBodyIdentity), prefix + "_DEAD.bmp");
}

}  // namespace varnel::testing
