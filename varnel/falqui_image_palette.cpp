// Palette operations of FalquiImageClass: JASC files, VGA precision and
// conversion to a new palette.
#include <algorithm>
#include <cmath>
#include <optional>

#include "falqui_image.h"
#include "file_bytes.h"
#include "jasc_palette.h"
#include "palette_matching.h"

namespace varnel {

namespace {

constexpr const char* kJasc = "JASC";

std::uint8_t channelTo6Bit(std::uint8_t value) {
  return static_cast<std::uint8_t>(std::floor(value * 63.0 / 255.0 + 0.5));
}

std::uint8_t channelFrom6Bit(std::uint8_t value) { return static_cast<std::uint8_t>(value * 255 / 63); }

}  // namespace

PaletteEntry FalquiImageClass::To6Bit(const PaletteEntry& entry) {
  return {channelTo6Bit(entry.Blue), channelTo6Bit(entry.Green), channelTo6Bit(entry.Red)};
}

PaletteEntry FalquiImageClass::From6Bit(const PaletteEntry& entry) {
  return {channelFrom6Bit(entry.Blue), channelFrom6Bit(entry.Green), channelFrom6Bit(entry.Red)};
}

void FalquiImageClass::LimitPaletteToVGA() {
  for (int i = 0; i < paletteCount_; ++i) {
    PaletteEntry& entry = palette_[static_cast<std::size_t>(i)];
    entry = From6Bit(To6Bit(entry));
  }
}

Status FalquiImageClass::SavePalette(const std::string& sPath, const std::string& PaletteType) const {
  if (PaletteType != kJasc) return Status::failure("Unknown palette type \"" + PaletteType + "\".");
  if (paletteCount_ != 16 && paletteCount_ != kPaletteSize) return Status::success();
  const Palette entries(palette_.begin(), palette_.begin() + paletteCount_);
  return replaceFile(sPath, formatJascPalette(entries));
}

Status FalquiImageClass::LoadPalette(const std::string& sPath, const ConversionSlots& ConvertPaletteAllowedSlots,
                                     const std::string& PaletteType, std::int16_t ConvertMethod) {
  if (PaletteType != kJasc) return Status::failure("Unknown palette type \"" + PaletteType + "\".");
  Palette newPalette;
  Status read = readJascPalette(sPath, newPalette);
  if (!read) return read;
  return ConvertPalette(newPalette, ConvertPaletteAllowedSlots, ConvertMethod);
}

Status FalquiImageClass::ConvertPalette(const Palette& newPalette, const ConversionSlots& slots,
                                        std::int16_t method) {
  if (bitCount() != 8) return Status::failure("Only 8-bit images can be converted to another palette.");
  if (newPalette.empty() || newPalette.size() > static_cast<std::size_t>(kPaletteSize)) {
    return Status::failure("A palette holds 1 to 256 entries.");
  }
  // Every index is checked first, so that a failure leaves no half-converted image.
  const std::int16_t indexLimit =
      method == 1 ? static_cast<std::int16_t>(newPalette.size()) : paletteCount_;
  const auto outside = [&](const ImageColor& color) { return color.Index < 0 || color.Index >= indexLimit; };
  if (method == 1 || method == 2) {
    std::optional<std::int16_t> badIndex;
    if (const auto bad = std::find_if(pixels_.begin(), pixels_.end(), outside); bad != pixels_.end()) {
      badIndex = bad->Index;
    } else if (method == 2 && outside(backgroundColor_)) {
      badIndex = backgroundColor_.Index;
    }
    if (badIndex) {
      return Status::failure("The image uses palette index " + std::to_string(*badIndex) +
                             ", which the palette it is converted from does not have.");
    }
  }

  const auto colorIn = [&](std::int16_t index) {
    const PaletteEntry& entry = newPalette[static_cast<std::size_t>(index)];
    return ImageColor{entry.Blue, entry.Green, entry.Red, index};
  };
  if (method == 1) {
    for (ImageColor& pixel : pixels_) pixel = colorIn(pixel.Index);
  } else if (method == 2) {
    const Palette colours(palette_.begin(), palette_.begin() + paletteCount_);
    const PaletteMatches matches = FindBestMatches(newPalette, slots, colours, false, PaletteEntry());
    for (ImageColor& pixel : pixels_) pixel = colorIn(matches.match[static_cast<std::size_t>(pixel.Index)]);
    backgroundColor_ = colorIn(matches.match[static_cast<std::size_t>(backgroundColor_.Index)]);
  }
  palette_ = newPalette;
  palette_.resize(kPaletteSize);
  paletteCount_ = static_cast<std::int16_t>(newPalette.size());
  pixelsChanged();
  return Status::success();
}

}  // namespace varnel
