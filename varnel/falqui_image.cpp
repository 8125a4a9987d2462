#include "falqui_image.h"

#include <algorithm>
#include <stdexcept>

namespace varnel {

FalquiImageClass::FalquiImageClass() { Initialise(0, 0, 8); }

void FalquiImageClass::Initialise(std::int32_t Width, std::int32_t Height, std::int16_t BitCount) {
  if (Width < 0 || Height < 0 || Width > kMaxImageDimension || Height > kMaxImageDimension) {
    throw std::invalid_argument("image size out of range");
  }
  if (BitCount != 8 && BitCount != 24) throw std::invalid_argument("only 8-bit and 24-bit images exist");
  loadPath_.clear();
  savePath_.clear();
  fileHeader_ = BitmapFileHeader();
  infoHeader_ = BitmapInfoHeader();
  infoHeader_.Width = Width;
  infoHeader_.Height = Height;
  infoHeader_.BitCount = static_cast<std::uint16_t>(BitCount);
  if (BitCount == 8) {
    paletteCount_ = kPaletteSize;
    palette_.assign(kPaletteSize, PaletteEntry());
    fileHeader_.PixelDataOffset = kFileHeaderBytes + kInfoHeaderBytes + 4 * kPaletteSize;
    backgroundColor_ = colorOfIndex(0);
  } else {
    // A 24-bit image has no meaningful palette entries, whether made here or loaded.
    paletteCount_ = 0;
    palette_.assign(1, PaletteEntry());
    fileHeader_.PixelDataOffset = kFileHeaderBytes + kInfoHeaderBytes;
    backgroundColor_ = ImageColor{0, 0, 0, -1};
  }
  pixels_.assign(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height), ImageColor());
  transparentColor_ = backgroundColor_;
  pixelsChanged();
}

bool FalquiImageClass::isPaletteIndex(int index) const {
  return bitCount() == 8 && index >= 0 && index < static_cast<int>(palette_.size());
}

ImageColor FalquiImageClass::colorOfIndex(std::int16_t index) const {
  const PaletteEntry& entry = palette_.at(static_cast<std::size_t>(index));
  return ImageColor{entry.Blue, entry.Green, entry.Red, index};
}

Status FalquiImageClass::SetTransparentColorByIndex(std::int16_t iIndex) {
  if (!isPaletteIndex(iIndex)) {
    return Status::failure("The transparent colour index " + std::to_string(iIndex) + " is not in the palette.");
  }
  transparentColor_ = colorOfIndex(iIndex);
  return Status::success();
}

Status FalquiImageClass::SetBackgroundColorByIndex(std::int16_t iIndex, bool ReplaceExistingPixels) {
  if (!isPaletteIndex(iIndex)) {
    return Status::failure("The background colour index " + std::to_string(iIndex) + " is not in the palette.");
  }
  const ImageColor replacement = colorOfIndex(iIndex);
  if (ReplaceExistingPixels) {
    for (ImageColor& pixel : pixels_) {
      if (pixel.Index == backgroundColor_.Index) pixel = replacement;
    }
    pixelsChanged();
  }
  backgroundColor_ = replacement;
  return Status::success();
}

void FalquiImageClass::SizeCanvas(std::int32_t NewWidth, std::int32_t NewHeight) {
  if (NewWidth < 0 || NewHeight < 0 || NewWidth > kMaxImageDimension || NewHeight > kMaxImageDimension) {
    throw std::invalid_argument("canvas size out of range");
  }
  std::vector<ImageColor> resized(static_cast<std::size_t>(NewWidth) * static_cast<std::size_t>(NewHeight),
                                  backgroundColor_);
  const std::int32_t keptWidth = std::min(width(), NewWidth);
  const std::int32_t keptHeight = std::min(height(), NewHeight);
  for (std::int32_t y = 0; y < keptHeight; ++y) {
    const auto source = pixels_.begin() + static_cast<std::ptrdiff_t>(offsetOf(0, y));
    std::copy(source, source + keptWidth, resized.begin() + static_cast<std::ptrdiff_t>(y) * NewWidth);
  }
  pixels_ = std::move(resized);
  infoHeader_.Width = NewWidth;
  infoHeader_.Height = NewHeight;
  pixelsChanged();
}

void FalquiImageClass::OffsetImage(std::int32_t OffsetX, std::int32_t OffsetY) {
  std::vector<ImageColor> moved(pixels_.size(), backgroundColor_);
  for (std::int32_t y = 0; y < height(); ++y) {
    for (std::int32_t x = 0; x < width(); ++x) {
      // 64-bit sums: an offset near the 32-bit limits must not wrap into the grid.
      const std::int64_t sourceX = static_cast<std::int64_t>(x) - OffsetX;
      const std::int64_t sourceY = static_cast<std::int64_t>(y) - OffsetY;
      if (sourceX >= 0 && sourceX < width() && sourceY >= 0 && sourceY < height()) {
        moved[offsetOf(x, y)] =
            pixels_[offsetOf(static_cast<std::int32_t>(sourceX), static_cast<std::int32_t>(sourceY))];
      }
    }
  }
  pixels_ = std::move(moved);
  pixelsChanged();
}

void FalquiImageClass::UpdateUsedColors(bool AllowDuplicates) {
  usedColors_.clear();
  usageCounts_.assign(static_cast<std::size_t>(std::max<std::int16_t>(paletteCount_, 0)), 0);
  for (const ImageColor& pixel : pixels_) {
    if (pixel.Index >= 0 && pixel.Index < paletteCount_) ++usageCounts_[static_cast<std::size_t>(pixel.Index)];
    const bool found = std::any_of(usedColors_.begin(), usedColors_.end(), [&](const ImageColor& used) {
      return used.sameColorAs(pixel) && (!AllowDuplicates || used.Index == pixel.Index);
    });
    if (!found) usedColors_.push_back(pixel);
  }
}

bool FalquiImageClass::contains(std::int32_t x, std::int32_t y) const {
  return x >= 0 && y >= 0 && x < width() && y < height();
}

std::size_t FalquiImageClass::offsetOf(std::int32_t x, std::int32_t y) const {
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(width()) + static_cast<std::size_t>(x);
}

ImageColor FalquiImageClass::pixel(std::int32_t x, std::int32_t y) const {
  if (!contains(x, y)) throw std::out_of_range("pixel outside the image");
  return pixels_[offsetOf(x, y)];
}

void FalquiImageClass::setPixel(std::int32_t x, std::int32_t y, const ImageColor& color) {
  if (!contains(x, y)) throw std::out_of_range("pixel outside the image");
  pixels_[offsetOf(x, y)] = color;
  pixelsChanged();
}

PaletteEntry FalquiImageClass::paletteEntry(int index) const { return palette_.at(static_cast<std::size_t>(index)); }

void FalquiImageClass::setPaletteEntry(int index, const PaletteEntry& entry) {
  palette_.at(static_cast<std::size_t>(index)) = entry;
}

Status FalquiImageClass::setPixels(std::vector<ImageColor> pixels, std::int32_t width, std::int32_t height) {
  if (width < 0 || height < 0 || width > kMaxImageDimension || height > kMaxImageDimension ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    return Status::failure("The pixel grid does not have the size given.");
  }
  pixels_ = std::move(pixels);
  infoHeader_.Width = width;
  infoHeader_.Height = height;
  pixelsChanged();
  return Status::success();
}

Status FalquiImageClass::setPalette(const Palette& palette) {
  if (bitCount() != 8) return Status::failure("A 24-bit image has no palette.");
  if (palette.size() > static_cast<std::size_t>(kPaletteSize)) {
    return Status::failure("A palette holds at most 256 entries.");
  }
  palette_ = palette;
  // The file always carries 256 entries; the rest stay black.
  palette_.resize(kPaletteSize);
  paletteCount_ = static_cast<std::int16_t>(palette.size());
  return Status::success();
}

Status FalquiImageClass::storePaletteColor(const ImageColor& color) {
  if (!isPaletteIndex(color.Index)) {
    return Status::failure("The colour index " + std::to_string(color.Index) + " is not in the palette.");
  }
  const PaletteEntry filler{backgroundColor_.Blue, backgroundColor_.Green, backgroundColor_.Red};
  for (int index = std::max<int>(paletteCount_, 0); index < color.Index; ++index) {
    palette_[static_cast<std::size_t>(index)] = filler;
  }
  palette_[static_cast<std::size_t>(color.Index)] = PaletteEntry{color.Blue, color.Green, color.Red};
  paletteCount_ = std::max<std::int16_t>(paletteCount_, static_cast<std::int16_t>(color.Index + 1));
  return Status::success();
}

int FalquiImageClass::findPaletteColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) const {
  for (int index = 0; index < paletteCount_; ++index) {
    const PaletteEntry& entry = palette_[static_cast<std::size_t>(index)];
    if (entry.Red == red && entry.Green == green && entry.Blue == blue) return index;
  }
  return -1;
}

void FalquiImageClass::ClearToBackground() {
  std::fill(pixels_.begin(), pixels_.end(), backgroundColor_);
  pixelsChanged();
}

void FalquiImageClass::DrawImage(const FalquiImageClass& source, bool UseTransparency) {
  const ImageColor& transparent = source.transparentColor();
  const std::int32_t commonWidth = std::min(width(), source.width());
  const std::int32_t commonHeight = std::min(height(), source.height());
  for (std::int32_t y = 0; y < commonHeight; ++y) {
    for (std::int32_t x = 0; x < commonWidth; ++x) {
      const ImageColor& drawn = source.pixels_[source.offsetOf(x, y)];
      if (UseTransparency) {
        const bool skipped =
            transparent.Index == -1 ? drawn.sameColorAs(transparent) : drawn.Index == transparent.Index;
        if (skipped) continue;
      }
      pixels_[offsetOf(x, y)] = drawn;
    }
  }
  pixelsChanged();
}

void FalquiImageClass::pixelsChanged() {
  if (autoUpdateUsedColors_) UpdateUsedColors(false);
}

}  // namespace varnel
