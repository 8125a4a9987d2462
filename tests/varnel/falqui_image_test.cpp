#include "falqui_image.h"

#include <gtest/gtest.h>

#include "support/bitmap_bytes.h"
#include "temp_dir.h"

namespace varnel {
namespace {

using testing::BitmapBytesSpec;
using testing::bitmapBytes;

// An 8-bit image whose pixel (x, y) has index (x + 10 * y) % 250.
FalquiImageClass numbered(std::int32_t width, std::int32_t height) {
  FalquiImageClass image;
  image.Initialise(width, height, 8);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      image.setPixel(x, y, ImageColor{0, 0, 0, static_cast<std::int16_t>((x + 10 * y) % 250)});
    }
  }
  return image;
}

std::int16_t indexAt(const FalquiImageClass& image, std::int32_t x, std::int32_t y) { return image.pixel(x, y).Index; }

TEST(FalquiImage, InitialiseMakesAnEmptyImage) {
  FalquiImageClass image;
  image.Initialise(3, 2, 8);
  EXPECT_EQ(image.width(), 3);
  EXPECT_EQ(image.height(), 2);
  EXPECT_EQ(image.paletteCount(), 256);
  EXPECT_EQ(image.palette().size(), 256u);
  EXPECT_EQ(image.fileHeader().PixelDataOffset, 1078u);
  EXPECT_EQ(image.infoHeader().XPelsPerMeter, 3780);
  EXPECT_EQ(image.backgroundColor().Index, 0);
  EXPECT_EQ(image.pixel(2, 1), ImageColor());
  image.Initialise(1, 1, 24);
  EXPECT_EQ(image.fileHeader().PixelDataOffset, 54u);
  EXPECT_EQ(image.backgroundColor().Index, -1);
  EXPECT_THROW(image.pixel(1, 0), std::out_of_range);
}

TEST(FalquiImage, OddWidthRowsRoundTripWithTheirPadding) {
  zet::testing::TempDir dir;
  FalquiImageClass image = numbered(33, 40);
  ASSERT_TRUE(image.SaveBMP(dir.file("a.bmp")).ok());
  const std::string bytes = zet::testing::readFile(dir.file("a.bmp"));
  ASSERT_EQ(bytes.size(), 1078u + 36u * 40u);
  EXPECT_EQ(bytes[1078 + 33], '\0');  // the padding of the bottom row

  FalquiImageClass loaded;
  ASSERT_TRUE(loaded.LoadBMP(dir.file("a.bmp")).ok());
  EXPECT_EQ(loaded.width(), 33);
  EXPECT_EQ(loaded.height(), 40);
  for (std::int32_t y = 0; y < 40; ++y) {
    for (std::int32_t x = 0; x < 33; ++x) ASSERT_EQ(indexAt(loaded, x, y), indexAt(image, x, y)) << x << "," << y;
  }
  ASSERT_TRUE(loaded.SaveBMP(dir.file("b.bmp")).ok());
  EXPECT_EQ(zet::testing::readFile(dir.file("b.bmp")), bytes);
}

TEST(FalquiImage, TwentyFourBitImagesRoundTrip) {
  zet::testing::TempDir dir;
  FalquiImageClass image;
  image.Initialise(3, 2, 24);
  image.setPixel(2, 1, ImageColor{1, 2, 3, -1});
  ASSERT_TRUE(image.SaveBMP(dir.file("rgb.bmp")).ok());
  FalquiImageClass loaded;
  ASSERT_TRUE(loaded.LoadBMP(dir.file("rgb.bmp")).ok());
  EXPECT_EQ(loaded.bitCount(), 24);
  EXPECT_EQ(loaded.paletteCount(), 0);
  EXPECT_EQ(loaded.pixel(2, 1), (ImageColor{1, 2, 3, -1}));
  // There is no palette to take colours from.
  EXPECT_FALSE(loaded.SetTransparentColorByIndex(254).ok());
  EXPECT_FALSE(loaded.SetBackgroundColorByIndex(0).ok());
}

TEST(FalquiImage, PixelsWithoutAnIndexCannotBeSavedAsEightBit) {
  zet::testing::TempDir dir;
  FalquiImageClass rgb;
  rgb.Initialise(2, 2, 24);
  rgb.setPixel(1, 1, ImageColor{1, 2, 3, -1});
  FalquiImageClass indexed = numbered(2, 2);
  indexed.DrawImage(rgb, false);
  EXPECT_FALSE(indexed.SaveBMP(dir.file("x.bmp")).ok());
  EXPECT_FALSE(std::filesystem::exists(dir.file("x.bmp")));
}

TEST(FalquiImage, SizeCanvasKeepsTheTopLeftAndFillsWithTheBackground) {
  FalquiImageClass image = numbered(32, 40);
  ASSERT_TRUE(image.SetBackgroundColorByIndex(254).ok());
  image.SizeCanvas(94, 106);
  EXPECT_EQ(image.width(), 94);
  EXPECT_EQ(image.height(), 106);
  EXPECT_EQ(indexAt(image, 31, 39), (31 + 390) % 250);
  EXPECT_EQ(indexAt(image, 32, 0), 254);
  EXPECT_EQ(indexAt(image, 0, 40), 254);
  image.SizeCanvas(2, 3);
  EXPECT_EQ(indexAt(image, 1, 2), 21);
}

TEST(FalquiImage, OffsetImageMovesThePictureAndUncoversBackground) {
  FalquiImageClass image = numbered(94, 106);
  ASSERT_TRUE(image.SetBackgroundColorByIndex(254).ok());
  image.OffsetImage(31, 21);
  EXPECT_EQ(indexAt(image, 31, 21), 0);
  EXPECT_EQ(indexAt(image, 32, 22), 11);
  EXPECT_EQ(indexAt(image, 0, 0), 254);
  EXPECT_EQ(indexAt(image, 30, 50), 254);

  FalquiImageClass up = numbered(4, 10);
  ASSERT_TRUE(up.SetBackgroundColorByIndex(254).ok());
  up.OffsetImage(0, -3);
  EXPECT_EQ(indexAt(up, 1, 0), 31);
  for (std::int32_t y = 7; y < 10; ++y) EXPECT_EQ(indexAt(up, 2, y), 254);

  FalquiImageClass far = numbered(4, 4);
  far.OffsetImage(-2147483647, 2147483647);
  EXPECT_EQ(indexAt(far, 3, 3), far.backgroundColor().Index);
}

TEST(FalquiImage, DrawImageSkipsTheTransparentIndexOrColour) {
  FalquiImageClass frame = numbered(4, 4);
  FalquiImageClass layer;
  layer.Initialise(6, 2, 8);
  ASSERT_TRUE(layer.SetTransparentColorByIndex(254).ok());
  for (std::int32_t x = 0; x < 6; ++x) layer.setPixel(x, 0, ImageColor{0, 0, 0, 254});
  layer.setPixel(1, 0, ImageColor{9, 9, 9, 77});
  frame.DrawImage(layer, true);
  EXPECT_EQ(indexAt(frame, 0, 0), 0);
  EXPECT_EQ(frame.pixel(1, 0), (ImageColor{9, 9, 9, 77}));
  EXPECT_EQ(indexAt(frame, 2, 1), 0);  // the layer's index 0 is drawn
  EXPECT_EQ(indexAt(frame, 2, 2), 22);  // outside the layer

  // Without an index the colour decides.
  FalquiImageClass rgb;
  rgb.Initialise(2, 1, 24);
  rgb.setPixel(1, 0, ImageColor{5, 5, 5, -1});
  FalquiImageClass target;
  target.Initialise(2, 1, 24);
  target.setPixel(0, 0, ImageColor{7, 7, 7, -1});
  target.DrawImage(rgb, true);
  EXPECT_EQ(target.pixel(0, 0), (ImageColor{7, 7, 7, -1}));
  EXPECT_EQ(target.pixel(1, 0), (ImageColor{5, 5, 5, -1}));
}

TEST(FalquiImage, BackgroundByIndexRepaintsOnlyTheOldBackground) {
  FalquiImageClass image = numbered(4, 4);
  ASSERT_TRUE(image.SetBackgroundColorByIndex(254).ok());
  image.setPixel(1, 1, ImageColor{0, 0, 0, 254});
  image.setPaletteEntry(7, PaletteEntry{1, 2, 3});
  ASSERT_TRUE(image.SetBackgroundColorByIndex(7, true).ok());
  EXPECT_EQ(image.pixel(1, 1), (ImageColor{1, 2, 3, 7}));
  EXPECT_EQ(indexAt(image, 2, 1), 12);
  EXPECT_EQ(image.backgroundColor(), (ImageColor{1, 2, 3, 7}));
  EXPECT_FALSE(image.SetBackgroundColorByIndex(256).ok());
  EXPECT_FALSE(image.SetTransparentColorByIndex(-1).ok());
}

TEST(FalquiImage, SixteenEntryPaletteLoadsAndSavesAsTwoHundredFiftySix) {
  zet::testing::TempDir dir;
  BitmapBytesSpec spec;
  spec.paletteEntries = 16;
  spec.rowBytes = {3, 15, 0, 0, 1, 2, 0, 0};
  zet::testing::writeFile(dir.file("p16.bmp"), bitmapBytes(spec));
  FalquiImageClass image;
  ASSERT_TRUE(image.LoadBMP(dir.file("p16.bmp")).ok());
  EXPECT_EQ(image.paletteCount(), 16);
  EXPECT_EQ(image.paletteEntry(15), (PaletteEntry{7, 240, 15}));
  EXPECT_EQ(image.paletteEntry(16), PaletteEntry());
  EXPECT_EQ(image.pixel(0, 1), (ImageColor{1, 252, 3, 3}));  // bottom row first
  EXPECT_EQ(indexAt(image, 1, 0), 2);
  EXPECT_EQ(image.backgroundColor().Index, 0);
  EXPECT_EQ(image.transparentColor(), image.backgroundColor());
  ASSERT_TRUE(image.SaveBMP(dir.file("out.bmp")).ok());
  const std::string saved = zet::testing::readFile(dir.file("out.bmp"));
  EXPECT_EQ(saved.size(), 1078u + 8u);
  EXPECT_EQ(static_cast<unsigned char>(saved[10]), 1078 & 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(saved[11]), 1078 >> 8);
}

TEST(FalquiImage, PixelsAreReadAtTheirOffset) {
  zet::testing::TempDir dir;
  BitmapBytesSpec spec;
  spec.width = 1;
  spec.height = 1;
  spec.paletteEntries = 2;
  spec.extraGap = 8;
  spec.rowBytes = {1, 0, 0, 0};
  zet::testing::writeFile(dir.file("gap.bmp"), bitmapBytes(spec));
  FalquiImageClass image;
  ASSERT_TRUE(image.LoadBMP(dir.file("gap.bmp")).ok());
  EXPECT_EQ(indexAt(image, 0, 0), 1);
  EXPECT_EQ(image.paletteCount(), 4);  // the gap counts as palette room
}

TEST(FalquiImage, MalformedFilesAreRefusedAndLeaveTheImageAlone) {
  zet::testing::TempDir dir;
  struct Case {
    const char* what;
    BitmapBytesSpec spec;
    std::size_t keepBytes;  // 0 keeps the whole file
  };
  const auto with = [](auto change) {
    BitmapBytesSpec spec;
    change(spec);
    return spec;
  };
  const std::vector<Case> cases = {
      {"long info header", with([](BitmapBytesSpec& s) { s.headerSize = 108; }), 0},
      {"zero width", with([](BitmapBytesSpec& s) { s.width = 0; }), 0},
      {"top-down rows", with([](BitmapBytesSpec& s) { s.height = -2; }), 0},
      {"huge width", with([](BitmapBytesSpec& s) { s.width = 16385; s.height = 1; }), 0},
      {"huge height", with([](BitmapBytesSpec& s) { s.height = 100000; s.rowBytes = {0, 0, 0, 0}; }), 0},
      {"4-bit", with([](BitmapBytesSpec& s) { s.bitCount = 4; }), 0},
      {"32-bit", with([](BitmapBytesSpec& s) { s.bitCount = 32; s.paletteEntries = 0; }), 0},
      {"compressed", with([](BitmapBytesSpec& s) { s.compression = 1; }), 0},
      {"palette over 256", with([](BitmapBytesSpec& s) { s.paletteEntries = 300; }), 0},
      {"truncated rows", BitmapBytesSpec(), 1078 + 5},
      {"truncated palette", BitmapBytesSpec(), 300},
      {"truncated header", BitmapBytesSpec(), 40},
      {"empty file", BitmapBytesSpec(), 1},
  };
  for (const Case& c : cases) {
    std::string bytes = bitmapBytes(c.spec);
    if (c.keepBytes) bytes.resize(c.keepBytes);
    const std::string path = dir.file("bad.bmp");
    zet::testing::writeFile(path, bytes);
    FalquiImageClass image = numbered(3, 3);
    const Status loaded = image.LoadBMP(path);
    EXPECT_FALSE(loaded.ok()) << c.what;
    EXPECT_NE(loaded.message().find(path), std::string::npos) << c.what;
    EXPECT_EQ(image.width(), 3) << c.what;
    EXPECT_EQ(indexAt(image, 2, 2), 22) << c.what;
  }
  std::string notBitmap = bitmapBytes(BitmapBytesSpec());
  notBitmap[0] = 'X';
  zet::testing::writeFile(dir.file("x.bmp"), notBitmap);
  FalquiImageClass image;
  EXPECT_FALSE(image.LoadBMP(dir.file("x.bmp")).ok());
  EXPECT_FALSE(image.LoadBMP(dir.file("missing.bmp")).ok());
  EXPECT_FALSE(image.LoadBMP(dir.path().string()).ok());
}

TEST(FalquiImage, SaveReplacesAnExistingFileAndRemembersPaths) {
  zet::testing::TempDir dir;
  zet::testing::writeFile(dir.file("f.bmp"), "old contents");
  FalquiImageClass image = numbered(2, 2);
  ASSERT_TRUE(image.SaveBMP(dir.file("f.bmp")).ok());
  EXPECT_EQ(image.savePath(), dir.file("f.bmp"));
  ASSERT_TRUE(image.SaveBMP("").ok());
  FalquiImageClass loaded;
  ASSERT_TRUE(loaded.LoadBMP(dir.file("f.bmp")).ok());
  loaded.setPixel(0, 0, ImageColor{0, 0, 0, 99});
  ASSERT_TRUE(loaded.LoadBMP("").ok());  // reloads
  EXPECT_EQ(indexAt(loaded, 0, 0), 0);
  EXPECT_FALSE(image.SaveBMP(dir.file("no/such/folder/f.bmp")).ok());
}

TEST(FalquiImage, PaletteColoursCanBeStoredFoundAndCounted) {
  FalquiImageClass image;
  image.Initialise(2, 2, 8);
  ASSERT_TRUE(image.setPalette({PaletteEntry{1, 1, 1}, PaletteEntry{2, 2, 2}}).ok());
  EXPECT_EQ(image.paletteCount(), 2);
  image.setBackgroundColor(ImageColor{9, 9, 9, 0});
  ASSERT_TRUE(image.storePaletteColor(ImageColor{30, 20, 10, 5}).ok());
  EXPECT_EQ(image.paletteCount(), 6);
  EXPECT_EQ(image.paletteEntry(3), (PaletteEntry{9, 9, 9}));
  EXPECT_EQ(image.findPaletteColor(10, 20, 30), 5);
  EXPECT_EQ(image.findPaletteColor(1, 2, 3), -1);
  EXPECT_FALSE(image.storePaletteColor(ImageColor{0, 0, 0, 300}).ok());
  EXPECT_FALSE(image.setPalette(Palette(257)).ok());

  image.setPixel(1, 1, ImageColor{2, 2, 2, 1});
  image.UpdateUsedColors(false);
  EXPECT_EQ(image.usedColors().size(), 2u);
  EXPECT_EQ(image.usageCounts().at(0), 3u);
  image.setAutoUpdateUsedColors(true);
  image.setPixel(0, 0, ImageColor{7, 7, 7, 0});
  EXPECT_EQ(image.usedColors().size(), 3u);
  image.setPixel(0, 1, ImageColor{7, 7, 7, 1});
  EXPECT_EQ(image.usedColors().size(), 3u);
  image.UpdateUsedColors(true);
  EXPECT_EQ(image.usedColors().size(), 4u);
}

}  // namespace
}  // namespace varnel
