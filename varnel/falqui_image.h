// One bitmap in memory: a grid of pixels that carry a palette index and a
// colour, with the file's headers and palette. Reads and writes uncompressed
// 8-bit and 24-bit bottom-up bitmap files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image_types.h"
#include "status.h"

namespace varnel {

// Bitmaps larger than this on either side are refused: the program's frames
// are small, and the bound keeps the pixel grid of a hostile header in reach.
inline constexpr std::int32_t kMaxImageDimension = 16384;

// For each entry of a new palette: 0 never a conversion target, 1 a target for
// an exact colour match only, 2 a target for the nearest colour.
using ConversionSlots = std::vector<std::int16_t>;

class FalquiImageClass {
 public:
  FalquiImageClass();

  // Both fail for an index outside the palette (24-bit images have none).
  Status SetTransparentColorByIndex(std::int16_t iIndex);
  Status SetBackgroundColorByIndex(std::int16_t iIndex, bool ReplaceExistingPixels = false);
  // An empty image of 8 or 24 bits per pixel.
  void Initialise(std::int32_t Width, std::int32_t Height, std::int16_t BitCount);
  Status SaveBMP(const std::string& sSavePath);
  Status LoadPalette(const std::string& sPath, const ConversionSlots& ConvertPaletteAllowedSlots,
                     const std::string& PaletteType, std::int16_t ConvertMethod);
  Status SavePalette(const std::string& sPath, const std::string& PaletteType) const;
  void LimitPaletteToVGA();
  // On failure the image is left as it was.
  Status LoadBMP(const std::string& sLoadPath);
  // Keeps the top-left corner; new area takes the background colour.
  void SizeCanvas(std::int32_t NewWidth, std::int32_t NewHeight);
  // Moves the picture right and down (negative: left and up) within the grid.
  void OffsetImage(std::int32_t OffsetX, std::int32_t OffsetY);
  void UpdateUsedColors(bool AllowDuplicates);

  bool autoUpdateUsedColors() const { return autoUpdateUsedColors_; }
  void setAutoUpdateUsedColors(bool enabled) { autoUpdateUsedColors_ = enabled; }

  bool contains(std::int32_t x, std::int32_t y) const;
  // Both throw std::out_of_range outside the grid.
  ImageColor pixel(std::int32_t x, std::int32_t y) const;
  void setPixel(std::int32_t x, std::int32_t y, const ImageColor& color);

  // Throws std::out_of_range outside the palette.
  PaletteEntry paletteEntry(int index) const;
  void setPaletteEntry(int index, const PaletteEntry& entry);

  const ImageColor& transparentColor() const { return transparentColor_; }
  void setTransparentColor(const ImageColor& color) { transparentColor_ = color; }
  const ImageColor& backgroundColor() const { return backgroundColor_; }
  void setBackgroundColor(const ImageColor& color) { backgroundColor_ = color; }

  std::int32_t width() const { return infoHeader_.Width; }
  std::int32_t height() const { return infoHeader_.Height; }
  std::uint16_t bitCount() const { return infoHeader_.BitCount; }
  std::int16_t paletteCount() const { return paletteCount_; }
  const BitmapFileHeader& fileHeader() const { return fileHeader_; }
  const BitmapInfoHeader& infoHeader() const { return infoHeader_; }
  const std::string& loadPath() const { return loadPath_; }
  const std::string& savePath() const { return savePath_; }

  // Row after row from the top, width() pixels each.
  const std::vector<ImageColor>& pixels() const { return pixels_; }
  Status setPixels(std::vector<ImageColor> pixels, std::int32_t width, std::int32_t height);

  // 8-bit images always hold 256 entries, of which paletteCount() are meaningful.
  const Palette& palette() const { return palette_; }
  // At most 256 entries; paletteCount() becomes their number.
  Status setPalette(const Palette& palette);

  const std::vector<ImageColor>& usedColors() const { return usedColors_; }
  const std::vector<std::uint32_t>& usageCounts() const { return usageCounts_; }

  // Puts the colour into the palette at its Index, growing the meaningful part
  // of the palette with background-coloured entries.
  Status storePaletteColor(const ImageColor& color);
  // The first meaningful entry with that colour, or -1.
  int findPaletteColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) const;

  // Method 1 keeps the indexes and takes the new colours; method 2 maps every
  // old entry to its best allowed new entry; other methods leave the pixels.
  // Every index is checked before anything changes.
  Status ConvertPalette(const Palette& newPalette, const ConversionSlots& slots, std::int16_t method);
  static PaletteEntry To6Bit(const PaletteEntry& entry);
  static PaletteEntry From6Bit(const PaletteEntry& entry);

  void ClearToBackground();
  // Copies the common top-left area of source; with transparency, pixels of
  // the source's transparent index (or colour, when it has no index) are skipped.
  void DrawImage(const FalquiImageClass& source, bool UseTransparency);

 private:
  std::size_t offsetOf(std::int32_t x, std::int32_t y) const;
  ImageColor colorOfIndex(std::int16_t index) const;
  bool isPaletteIndex(int index) const;
  void pixelsChanged();

  std::string loadPath_;
  std::string savePath_;
  BitmapFileHeader fileHeader_;
  BitmapInfoHeader infoHeader_;
  Palette palette_;
  std::int16_t paletteCount_ = 0;
  std::vector<ImageColor> pixels_;
  ImageColor backgroundColor_;
  ImageColor transparentColor_;
  std::vector<std::uint32_t> usageCounts_;
  std::vector<ImageColor> usedColors_;
  bool autoUpdateUsedColors_ = false;
};

}  // namespace varnel
