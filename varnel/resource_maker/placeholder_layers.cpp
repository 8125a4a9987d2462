#include "resource_maker/placeholder_layers.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "frame_composer.h"
#include "standard_functions.h"
#include "unit_tables.h"

namespace varnel {

namespace {

constexpr std::int32_t kLayerWidth = 32;
constexpr std::int32_t kLayerHeight = 40;

// Steps in x and y for facings 1 to 8, going round clockwise.
constexpr std::array<std::array<int, 2>, 8> kFacingSteps = {{
    {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1},
}};

FalquiImageClass blankLayer() {
  FalquiImageClass layer;
  layer.Initialise(kLayerWidth, kLayerHeight, 8);
  // A grey ramp; the empty index shows black like index 0.
  Palette palette(kPaletteSize);
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const auto level = static_cast<std::uint8_t>(i);
    palette[i] = PaletteEntry{level, level, level};
  }
  palette[static_cast<std::size_t>(kLayerBackgroundIndex)] = PaletteEntry{0, 0, 0};
  (void)layer.setPalette(palette);
  (void)layer.SetBackgroundColorByIndex(kLayerBackgroundIndex);
  layer.ClearToBackground();
  return layer;
}

}  // namespace

FalquiImageClass emptyLayer() { return blankLayer(); }

FalquiImageClass placeholderWeaponLayer(int weapon, int facing) {
  FalquiImageClass layer = blankLayer();
  const WeaponRow& row = weaponTable().at(static_cast<std::size_t>(weapon));
  if (row.hands == 0) return layer;
  // Lighter greys for later weapons, so neighbouring weapons look apart.
  const auto index = static_cast<std::int16_t>(120 + 7 * weapon);
  const PaletteEntry color = layer.paletteEntry(index);
  const auto [stepX, stepY] = kFacingSteps.at(static_cast<std::size_t>(facing - 1));
  const int length = row.hands == 2 ? 11 : 6;
  for (int thickness = 0; thickness < 2; ++thickness) {
    for (int i = 0; i < length; ++i) {
      // Drawn from the hand, near the middle of the figure.
      const std::int32_t x = 16 + stepX * i + (stepY != 0 ? thickness : 0);
      const std::int32_t y = 24 + stepY * i + (stepY == 0 ? thickness : 0);
      if (layer.contains(x, y)) layer.setPixel(x, y, ImageColor{color.Blue, color.Green, color.Red, index});
    }
  }
  return layer;
}

Status writePlaceholderResources(const std::string& folder) {
  const std::string weaponsFolder = BuildPath(folder, "Resources/weapons");
  std::error_code error;
  std::filesystem::create_directories(weaponsFolder, error);
  if (error) return Status::failure("\"" + weaponsFolder + "\" cannot be made: " + error.message());
  FalquiImageClass empty = emptyLayer();
  if (Status saved = empty.SaveBMP(BuildPath(folder, "Null.bmp")); !saved) return saved;
  for (int weapon = 0; weapon < kWeaponCount; ++weapon) {
    const std::string name(weaponTable()[static_cast<std::size_t>(weapon)].text);
    for (int facing = 1; facing <= 8; ++facing) {
      FalquiImageClass layer = placeholderWeaponLayer(weapon, facing);
      if (Status saved = layer.SaveBMP(BuildPath(weaponsFolder, name + NumToStr(facing, 3) + ".bmp")); !saved) {
        return saved;
      }
    }
  }
  return Status::success();
}

}  // namespace varnel
