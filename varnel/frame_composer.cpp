#include "frame_composer.h"

#include <array>

namespace varnel {

namespace {

constexpr std::int32_t kFigureWidth = 32;
constexpr std::int32_t kFigureHeight = 40;
constexpr std::int32_t kCanvasWidth = 94;
constexpr std::int32_t kCanvasHeight = 106;
constexpr std::int32_t kFigureLeft = 31;
constexpr std::int32_t kFigureTop = 21;
constexpr std::int32_t kGapColumn = 15;

enum class Layer { A, B, W, C, D };

// Bottom layer first: the figure turns, so what lies in front changes with the facing.
const std::array<Layer, 5>& drawOrder(int d) {
  static constexpr std::array<Layer, 5> kFrontFacing = {Layer::W, Layer::C, Layer::B, Layer::A, Layer::D};
  static constexpr std::array<Layer, 5> kRightFacing = {Layer::C, Layer::B, Layer::A, Layer::W, Layer::D};
  static constexpr std::array<Layer, 5> kBackFacing = {Layer::D, Layer::B, Layer::A, Layer::C, Layer::W};
  static constexpr std::array<Layer, 5> kLeftFacing = {Layer::D, Layer::W, Layer::B, Layer::A, Layer::C};
  switch (d) {
    case 2:
    case 3: return kRightFacing;
    case 4:
    case 5: return kBackFacing;
    case 6:
    case 7: return kLeftFacing;
    default: return kFrontFacing;
  }
}

bool isEmptyPixel(const FalquiImageClass& image, std::int32_t x, std::int32_t y) {
  return !image.contains(x, y) || image.pixel(x, y).Index == kLayerBackgroundIndex;
}

}  // namespace

ConversionSlots conversionSlots(bool remapExact, bool remapClose) {
  ConversionSlots slots(kPaletteSize, 0);
  const std::int16_t remappable = remapClose ? 2 : remapExact ? 1 : 0;
  for (std::size_t i = 16; i < 32; ++i) slots[i] = remappable;
  for (std::size_t i = 32; i < 240; ++i) slots[i] = 2;
  return slots;
}

Status loadLayerBitmap(FalquiImageClass& image, const std::string& path) {
  Status loaded = image.LoadBMP(path);
  if (!loaded) return loaded;
  if (image.bitCount() != 8) {
    return Status::failure("\"" + path + "\" is a " + std::to_string(image.bitCount()) +
                           "-bit bitmap; every layer must be an 8-bit bitmap.");
  }
  return Status::success();
}

Status OverlayLayer(FalquiImageClass& frame, const std::string& path, int offsetY) {
  FalquiImageClass layer;
  if (Status loaded = loadLayerBitmap(layer, path); !loaded) return loaded;
  if (Status set = layer.SetTransparentColorByIndex(kLayerBackgroundIndex); !set) return set;
  layer.setBackgroundColor(layer.transparentColor());
  layer.SizeCanvas(kFigureWidth, kFigureHeight);
  layer.OffsetImage(0, offsetY);
  frame.DrawImage(layer, true);
  return Status::success();
}

Status MeasureBodyGap(const std::string& A, const std::string& B, std::int16_t& gap) {
  FalquiImageClass torso;
  if (Status loaded = loadLayerBitmap(torso, A); !loaded) return loaded;
  std::int32_t torsoBottom = 0;
  for (std::int32_t y = torso.height() - 1; y >= 1; --y) {
    if (!isEmptyPixel(torso, kGapColumn, y)) {
      torsoBottom = y;
      break;
    }
  }
  FalquiImageClass legs;
  if (Status loaded = loadLayerBitmap(legs, B); !loaded) return loaded;
  std::int32_t legsTop = legs.height();
  for (std::int32_t y = 0; y < legs.height(); ++y) {
    if (!isEmptyPixel(legs, kGapColumn, y)) {
      legsTop = y;
      break;
    }
  }
  gap = static_cast<std::int16_t>(legsTop - torsoBottom - 1);
  return Status::success();
}

Status ComposeFrame(int d, const FrameLayers& layers, int bodyY, int weaponOffsetY, const std::string& outPath,
                    int bob, const FrameConversion& conversion) {
  // The frame takes the torso's palette and headers; its pixels start empty.
  FalquiImageClass frame;
  if (Status loaded = loadLayerBitmap(frame, layers.A); !loaded) return loaded;
  if (Status set = frame.SetBackgroundColorByIndex(kLayerBackgroundIndex); !set) return set;
  frame.ClearToBackground();
  frame.SizeCanvas(kFigureWidth, kFigureHeight);

  for (Layer layer : drawOrder(d)) {
    Status drawn = Status::success();
    switch (layer) {
      case Layer::A: drawn = OverlayLayer(frame, layers.A, bodyY); break;
      case Layer::B: drawn = OverlayLayer(frame, layers.B, 0); break;
      case Layer::W: drawn = OverlayLayer(frame, layers.W, bodyY + weaponOffsetY); break;
      case Layer::C: drawn = OverlayLayer(frame, layers.C, bodyY); break;
      case Layer::D: drawn = OverlayLayer(frame, layers.D, bodyY); break;
    }
    if (!drawn) return drawn;
  }

  frame.SizeCanvas(kCanvasWidth, kCanvasHeight);
  frame.OffsetImage(kFigureLeft, kFigureTop + bob);

  frame.LimitPaletteToVGA();
  if (Status saved = frame.SavePalette(conversion.vgaPalettePath, "JASC"); !saved) return saved;
  if (conversion.targetPalette) {
    Status converted = frame.ConvertPalette(*conversion.targetPalette, conversion.slots, 2);
    if (!converted) return converted;
  }
  if (conversion.ra2Background) {
    if (Status set = frame.SetBackgroundColorByIndex(0, true); !set) return set;
  }
  return frame.SaveBMP(outPath);
}

}  // namespace varnel
