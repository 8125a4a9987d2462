#include <gtest/gtest.h>

#include "falqui_image.h"
#include "jasc_palette.h"
#include "palette_matching.h"
#include "temp_dir.h"

namespace varnel {
namespace {

Palette rampPalette(std::size_t count) {
  Palette palette(count);
  for (std::size_t i = 0; i < count; ++i) {
    palette[i] = PaletteEntry{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                              static_cast<std::uint8_t>(i / 3)};
  }
  return palette;
}

std::string jascText(const std::string& count, const std::vector<std::string>& entries) {
  std::string text = "JASC-PAL\r\n0100\r\n" + count + "\r\n";
  for (const std::string& entry : entries) text += entry + "\r\n";
  return text;
}

TEST(JascPalette, SavedPaletteHasItsLinesAndReadsBack) {
  zet::testing::TempDir dir;
  FalquiImageClass image;
  image.Initialise(1, 1, 8);
  ASSERT_TRUE(image.setPalette(rampPalette(256)).ok());
  ASSERT_TRUE(image.SavePalette(dir.file("p.pal"), "JASC").ok());
  const std::string text = zet::testing::readFile(dir.file("p.pal"));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 259);
  EXPECT_EQ(text.substr(0, 30), "JASC-PAL\r\n0100\r\n256\r\n0 255 0\r\n");
  Palette read;
  ASSERT_TRUE(readJascPalette(dir.file("p.pal"), read).ok());
  EXPECT_EQ(read, rampPalette(256));
}

TEST(JascPalette, SavesNothingForCountsOtherThanSixteenOr256) {
  zet::testing::TempDir dir;
  FalquiImageClass image;
  image.Initialise(1, 1, 8);
  ASSERT_TRUE(image.setPalette(rampPalette(100)).ok());
  EXPECT_TRUE(image.SavePalette(dir.file("p.pal"), "JASC").ok());
  EXPECT_FALSE(std::filesystem::exists(dir.file("p.pal")));
  ASSERT_TRUE(image.setPalette(rampPalette(16)).ok());
  ASSERT_TRUE(image.SavePalette(dir.file("p.pal"), "JASC").ok());
  EXPECT_EQ(zet::testing::readFile(dir.file("p.pal")).substr(0, 20), "JASC-PAL\r\n0100\r\n16\r\n");
  EXPECT_FALSE(image.SavePalette(dir.file("q.pal"), "MS").ok());
}

TEST(JascPalette, RefusesMalformedFiles) {
  zet::testing::TempDir dir;
  const std::vector<std::string> sixteen(16, "1 2 3");
  const auto withLine = [&](std::size_t line, const std::string& text) {
    std::vector<std::string> entries = sixteen;
    entries[line] = text;
    return jascText("16", entries);
  };
  struct Case {
    const char* what;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"count 255", jascText("255", std::vector<std::string>(255, "1 2 3"))},
      {"count with blank", jascText("16 ", sixteen)},
      {"wrong magic", "JASC-PAX\r\n0100\r\n16\r\n"},
      {"wrong version", "JASC-PAL\r\n0101\r\n16\r\n"},
      {"too few entries", jascText("16", std::vector<std::string>(15, "1 2 3"))},
      {"value over 255", withLine(3, "1 256 3")},
      {"negative value", withLine(4, "-1 2 3")},
      {"letters", withLine(5, "1 x 3")},
      {"two values", withLine(6, "1 2")},
      {"double blank", withLine(7, "1  2 3")},
      {"four values", withLine(8, "1 2 3 4")},
      {"empty file", ""},
  };
  for (const Case& c : cases) {
    zet::testing::writeFile(dir.file("bad.pal"), c.text);
    Palette palette = rampPalette(2);
    EXPECT_FALSE(readJascPalette(dir.file("bad.pal"), palette).ok()) << c.what;
    EXPECT_EQ(palette, rampPalette(2)) << c.what;
  }
  Palette palette;
  EXPECT_FALSE(readJascPalette(dir.file("missing.pal"), palette).ok());
  // Line feeds alone and trailing blanks are accepted.
  zet::testing::writeFile(dir.file("lf.pal"), "JASC-PAL\n0100\n16\n" + std::string("10 20 30 \n") +
                                                  [] {
                                                    std::string rest;
                                                    for (int i = 0; i < 15; ++i) rest += "0 0 0\n";
                                                    return rest;
                                                  }());
  ASSERT_TRUE(readJascPalette(dir.file("lf.pal"), palette).ok());
  EXPECT_EQ(palette.at(0), (PaletteEntry{30, 20, 10}));
}

TEST(VgaPalette, ChannelsGoThroughSixBits) {
  FalquiImageClass image;
  image.Initialise(1, 1, 8);
  Palette palette;
  for (int value : {0, 1, 2, 3, 4, 5, 6, 128, 255}) {
    const auto channel = static_cast<std::uint8_t>(value);
    palette.push_back(PaletteEntry{channel, channel, 0});
  }
  ASSERT_TRUE(image.setPalette(palette).ok());
  image.LimitPaletteToVGA();
  std::vector<int> limited;
  for (std::size_t i = 0; i < palette.size(); ++i) limited.push_back(image.paletteEntry(static_cast<int>(i)).Blue);
  EXPECT_EQ(limited, (std::vector<int>{0, 0, 0, 4, 4, 4, 4, 129, 255}));
  EXPECT_EQ(FalquiImageClass::To6Bit(PaletteEntry{255, 128, 2}), (PaletteEntry{63, 32, 0}));
  EXPECT_EQ(FalquiImageClass::From6Bit(PaletteEntry{63, 32, 1}), (PaletteEntry{255, 129, 4}));
}

TEST(FindBestMatches, FollowsTheSlotRules) {
  const PaletteEntry colour{50, 60, 70};
  Palette target(256, PaletteEntry{200, 200, 200});
  ConversionSlots slots(256, 0);

  // Several exact slot-1 entries: the highest wins, and over a nearer slot-2 entry.
  target[20] = colour;
  target[25] = colour;
  target[40] = colour;
  for (std::size_t i = 16; i < 32; ++i) slots[i] = 1;
  slots[40] = 2;
  PaletteMatches matches = FindBestMatches(target, slots, {colour}, false, PaletteEntry());
  EXPECT_EQ(matches.match[0], 25);
  EXPECT_DOUBLE_EQ(matches.score[0], 100.0);
  EXPECT_EQ(matches.worst, -1);

  // Among equally similar slot-2 entries the lowest index wins.
  Palette ties(256, PaletteEntry{0, 0, 0});
  ConversionSlots nearest(256, 2);
  ties[30] = PaletteEntry{51, 60, 70};
  ties[31] = PaletteEntry{49, 60, 70};
  matches = FindBestMatches(ties, nearest, {colour}, false, PaletteEntry());
  EXPECT_EQ(matches.match[0], 30);
  EXPECT_EQ(matches.worst, 0);

  // A single allowed entry takes every colour but its opposite corner.
  ConversionSlots single(256, 0);
  single[100] = 2;
  Palette corner(256, PaletteEntry{0, 0, 0});
  corner[100] = PaletteEntry{255, 255, 255};
  matches = FindBestMatches(corner, single, {PaletteEntry{1, 2, 3}, PaletteEntry{0, 0, 0}}, false, PaletteEntry());
  EXPECT_EQ(matches.match[0], 100);
  EXPECT_EQ(matches.match[1], 0);
  EXPECT_EQ(matches.worst, 1);

  // The skipped colour is left out.
  matches = FindBestMatches(corner, single, {PaletteEntry{0, 0, 0}}, true, PaletteEntry{0, 0, 0});
  EXPECT_EQ(matches.worst, -1);
}

class ConvertPaletteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    image_.Initialise(3, 1, 8);
    Palette old(256, PaletteEntry{0, 0, 0});
    old[1] = PaletteEntry{10, 10, 10};
    old[2] = PaletteEntry{200, 0, 0};
    old[254] = PaletteEntry{255, 0, 255};
    ASSERT_TRUE(image_.setPalette(old).ok());
    for (std::int16_t x = 0; x < 3; ++x) image_.setPixel(x, 0, ImageColor{0, 0, 0, static_cast<std::int16_t>(x == 2 ? 254 : x + 1)});
    ASSERT_TRUE(image_.SetBackgroundColorByIndex(254).ok());
  }
  FalquiImageClass image_;
};

TEST_F(ConvertPaletteTest, NearestMatchRewritesPixelsAndBackground) {
  Palette target(16, PaletteEntry{128, 128, 128});
  target[3] = PaletteEntry{11, 10, 10};
  target[7] = PaletteEntry{190, 0, 0};
  target[9] = PaletteEntry{250, 0, 250};
  ASSERT_TRUE(image_.ConvertPalette(target, ConversionSlots(16, 2), 2).ok());
  EXPECT_EQ(image_.pixel(0, 0), (ImageColor{11, 10, 10, 3}));
  EXPECT_EQ(image_.pixel(1, 0).Index, 7);
  EXPECT_EQ(image_.pixel(2, 0).Index, 9);
  EXPECT_EQ(image_.backgroundColor().Index, 9);
  EXPECT_EQ(image_.paletteCount(), 16);
  EXPECT_EQ(image_.palette().size(), 256u);  // padded, so the bitmap file still holds 256 entries
}

TEST_F(ConvertPaletteTest, RemapSlotsAtZeroAreNeverProduced) {
  // The target has the old colours exactly in 16-31 and 240-255 only.
  Palette target(256, PaletteEntry{90, 90, 90});
  target[20] = PaletteEntry{10, 10, 10};
  target[250] = PaletteEntry{200, 0, 0};
  ConversionSlots slots(256, 0);
  for (std::size_t i = 32; i < 240; ++i) slots[i] = 2;
  ASSERT_TRUE(image_.ConvertPalette(target, slots, 2).ok());
  for (std::int16_t x = 0; x < 3; ++x) {
    const std::int16_t index = image_.pixel(x, 0).Index;
    EXPECT_TRUE(index >= 32 && index < 240) << index;
  }
}

TEST_F(ConvertPaletteTest, KeepIndexesMethodTakesTheNewColours) {
  Palette target(256, PaletteEntry{1, 2, 3});
  ASSERT_TRUE(image_.ConvertPalette(target, {}, 1).ok());
  EXPECT_EQ(image_.pixel(1, 0), (ImageColor{1, 2, 3, 2}));
}

TEST_F(ConvertPaletteTest, IndexBeyondTheOldPaletteFailsBeforeAnyChange) {
  zet::testing::TempDir dir;
  Palette sixteen(16, PaletteEntry{4, 4, 4});
  ASSERT_TRUE(image_.setPalette(sixteen).ok());
  image_.setPixel(0, 0, ImageColor{0, 0, 0, 3});
  const FalquiImageClass before = image_;
  FalquiImageClass target;
  target.Initialise(1, 1, 8);
  ASSERT_TRUE(target.setPalette(Palette(256, PaletteEntry{9, 9, 9})).ok());
  ASSERT_TRUE(target.SavePalette(dir.file("t.pal"), "JASC").ok());
  const Status converted = image_.LoadPalette(dir.file("t.pal"), ConversionSlots(256, 2), "JASC", 2);
  EXPECT_FALSE(converted.ok());
  EXPECT_NE(converted.message().find("254"), std::string::npos);
  EXPECT_EQ(image_.pixels(), before.pixels());
  EXPECT_EQ(image_.palette(), before.palette());
  EXPECT_EQ(image_.paletteCount(), 16);
}

TEST_F(ConvertPaletteTest, LoadPaletteConvertsFromAFile) {
  zet::testing::TempDir dir;
  std::string text = "JASC-PAL\r\n0100\r\n16\r\n";
  for (int i = 0; i < 16; ++i) text += i == 5 ? "0 0 200\r\n" : "255 255 255\r\n";
  zet::testing::writeFile(dir.file("t.pal"), text);
  ASSERT_TRUE(image_.LoadPalette(dir.file("t.pal"), ConversionSlots(16, 2), "JASC", 2).ok());
  EXPECT_EQ(image_.pixel(1, 0).Index, 5);
  EXPECT_FALSE(image_.LoadPalette(dir.file("t.pal"), ConversionSlots(16, 2), "RIFF", 2).ok());
}

}  // namespace
}  // namespace varnel
