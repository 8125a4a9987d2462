#include "frame_composer.h"

#include <gtest/gtest.h>

#include "jasc_palette.h"
#include "support/synthetic_sprite_set.h"
#include "temp_dir.h"

namespace varnel {
namespace {

struct Dot {
  std::int32_t x;
  std::int32_t y;
  std::int16_t index;
};

class FrameComposerTest : public ::testing::Test {
 protected:
  std::string layer(const std::string& name, const std::vector<Dot>& dots, std::int32_t width = 32,
                    std::int32_t height = 40) {
    FalquiImageClass image;
    image.Initialise(width, height, 8);
    EXPECT_TRUE(image.setPalette(testing::syntheticPalette()).ok());
    EXPECT_TRUE(image.SetBackgroundColorByIndex(kLayerBackgroundIndex).ok());
    image.ClearToBackground();
    for (const Dot& dot : dots) image.setPixel(dot.x, dot.y, ImageColor{0, 0, 0, dot.index});
    const std::string path = dir_.file(name + ".bmp");
    EXPECT_TRUE(image.SaveBMP(path).ok());
    return path;
  }

  // A row of pixels from column 4 * rank to the right edge, so that each layer
  // shows in its own four columns when the layers lie in rank order.
  std::string stair(const std::string& name, int rank, std::int16_t index) {
    std::vector<Dot> dots;
    for (std::int32_t x = 4 * rank; x < 32; ++x) dots.push_back({x, 5, index});
    return layer(name, dots);
  }

  FalquiImageClass compose(int d, const FrameLayers& layers, int bodyY, int weaponOffsetY, int bob,
                           const FrameConversion& conversion) {
    const std::string out = dir_.file("out0000.bmp");
    const Status composed = ComposeFrame(d, layers, bodyY, weaponOffsetY, out, bob, conversion);
    EXPECT_TRUE(composed.ok()) << composed.message();
    FalquiImageClass frame;
    EXPECT_TRUE(frame.LoadBMP(out).ok());
    return frame;
  }

  FrameConversion keepPalette() const {
    FrameConversion conversion;
    conversion.vgaPalettePath = dir_.file("vga_qorm.pal");
    conversion.ra2Background = false;
    return conversion;
  }

  zet::testing::TempDir dir_;
};

TEST_F(FrameComposerTest, LayersAreStackedInTheOrderOfTheFacing) {
  enum { A = 50, B = 60, W = 70, C = 80, D = 90 };
  struct Case {
    int facing;
    std::array<std::int16_t, 5> bottomToTop;
  };
  for (const Case& c : {Case{1, {W, C, B, A, D}}, Case{8, {W, C, B, A, D}}, Case{2, {C, B, A, W, D}},
                        Case{3, {C, B, A, W, D}}, Case{4, {D, B, A, C, W}}, Case{5, {D, B, A, C, W}},
                        Case{6, {D, W, B, A, C}}, Case{7, {D, W, B, A, C}}}) {
    const auto rankOf = [&](std::int16_t index) {
      return static_cast<int>(std::find(c.bottomToTop.begin(), c.bottomToTop.end(), index) - c.bottomToTop.begin());
    };
    const FrameLayers layers{stair("a", rankOf(A), A), stair("b", rankOf(B), B), stair("w", rankOf(W), W),
                             stair("c", rankOf(C), C), stair("d", rankOf(D), D)};
    const FalquiImageClass frame = compose(c.facing, layers, 0, 0, 0, keepPalette());
    ASSERT_EQ(frame.width(), 94);
    ASSERT_EQ(frame.height(), 106);
    ASSERT_EQ(frame.bitCount(), 8);
    for (int rank = 0; rank < 5; ++rank) {
      EXPECT_EQ(frame.pixel(31 + 4 * rank + 1, 21 + 5).Index, c.bottomToTop[static_cast<std::size_t>(rank)])
          << "facing " << c.facing << ", rank " << rank;
    }
    EXPECT_EQ(frame.pixel(30, 26).Index, kLayerBackgroundIndex);
  }
}

TEST_F(FrameComposerTest, BodyWeaponAndBobOffsetsMoveTheirLayers) {
  const FrameLayers layers{layer("a", {{1, 10, 50}}), layer("b", {{2, 10, 60}}), layer("w", {{3, 10, 70}}),
                           layer("c", {{4, 10, 80}}), layer("d", {{5, 10, 90}})};
  const FalquiImageClass frame = compose(1, layers, 2, -3, 1, keepPalette());
  const int top = 21 + 1 + 10;
  EXPECT_EQ(frame.pixel(31 + 1, top + 2).Index, 50);
  EXPECT_EQ(frame.pixel(31 + 2, top).Index, 60);
  EXPECT_EQ(frame.pixel(31 + 3, top + 2 - 3).Index, 70);
  EXPECT_EQ(frame.pixel(31 + 4, top + 2).Index, 80);
  EXPECT_EQ(frame.pixel(31 + 5, top + 2).Index, 90);
}

TEST_F(FrameComposerTest, LargerLayersAreCutToTheFigure) {
  const std::string big = layer("big", {{40, 3, 50}, {31, 45, 51}, {31, 39, 52}}, 50, 50);
  const std::string null = layer("null", {});
  const FalquiImageClass frame = compose(1, {big, null, null, null, null}, 0, 0, 0, keepPalette());
  EXPECT_EQ(frame.pixel(31 + 31, 21 + 39).Index, 52);
  EXPECT_EQ(frame.pixel(31 + 40, 21 + 3).Index, kLayerBackgroundIndex);
  EXPECT_EQ(frame.pixel(31 + 31, 21 + 45).Index, kLayerBackgroundIndex);
}

TEST_F(FrameComposerTest, BackgroundBecomesIndexZeroWhenAsked) {
  const std::string a = layer("a", {{0, 0, 50}});
  const std::string null = layer("null", {});
  FrameConversion conversion = keepPalette();
  conversion.ra2Background = true;
  const FalquiImageClass frame = compose(1, {a, null, null, null, null}, 0, 0, 0, conversion);
  EXPECT_EQ(frame.pixel(0, 0).Index, 0);
  EXPECT_EQ(frame.pixel(93, 105).Index, 0);
  EXPECT_EQ(frame.pixel(31, 21).Index, 50);
}

TEST_F(FrameComposerTest, PaletteIsWrittenInVgaPrecisionAndConverted) {
  const std::string a = layer("a", {{0, 0, 50}});
  const std::string null = layer("null", {});
  FrameConversion conversion = keepPalette();
  Palette target(256, PaletteEntry{255, 255, 255});
  const PaletteEntry fifty = testing::syntheticPalette()[50];
  target[77] = fifty;
  target[3] = PaletteEntry{0, 0, 0};
  conversion.targetPalette = target;
  conversion.slots = conversionSlots(false, false);
  conversion.ra2Background = true;
  const FalquiImageClass frame = compose(1, {a, null, null, null, null}, 0, 0, 0, conversion);
  EXPECT_EQ(frame.pixel(31, 21).Index, 77);
  EXPECT_EQ(frame.pixel(0, 0).Index, 0);

  Palette written;
  ASSERT_TRUE(readJascPalette(conversion.vgaPalettePath, written).ok());
  ASSERT_EQ(written.size(), 256u);
  EXPECT_EQ(written[50], FalquiImageClass::From6Bit(FalquiImageClass::To6Bit(fifty)));
}

TEST(ConversionSlots, ProtectTheReservedRangesAndFollowTheRemapChoice) {
  for (const auto& [exact, close, remap] : {std::tuple{false, false, 0}, std::tuple{true, false, 1},
                                            std::tuple{false, true, 2}, std::tuple{true, true, 2}}) {
    const ConversionSlots slots = conversionSlots(exact, close);
    ASSERT_EQ(slots.size(), 256u);
    EXPECT_EQ(slots[0], 0);
    EXPECT_EQ(slots[15], 0);
    EXPECT_EQ(slots[16], remap);
    EXPECT_EQ(slots[31], remap);
    EXPECT_EQ(slots[32], 2);
    EXPECT_EQ(slots[239], 2);
    EXPECT_EQ(slots[240], 0);
    EXPECT_EQ(slots[255], 0);
  }
}

TEST_F(FrameComposerTest, BodyGapIsMeasuredInColumnFifteen) {
  const std::string torso = layer("torso", {{15, 3, 50}, {15, 20, 50}, {14, 30, 50}});
  const std::string legs = layer("legs", {{15, 25, 60}, {15, 33, 60}, {16, 1, 60}});
  const std::string empty = layer("empty", {});
  const std::string narrow = layer("narrow", {{5, 5, 50}}, 10, 40);
  struct Case {
    std::string a, b;
    std::int16_t gap;
  };
  for (const Case& c : {Case{torso, legs, 4}, Case{empty, legs, 24}, Case{torso, empty, 19},
                        Case{narrow, narrow, 39}, Case{legs, torso, -31}}) {
    std::int16_t gap = 99;
    ASSERT_TRUE(MeasureBodyGap(c.a, c.b, gap).ok());
    EXPECT_EQ(gap, c.gap) << c.a << " over " << c.b;
  }
}

TEST_F(FrameComposerTest, LayersMustBeEightBitBitmaps) {
  FalquiImageClass rgb;
  rgb.Initialise(32, 40, 24);
  ASSERT_TRUE(rgb.SaveBMP(dir_.file("rgb.bmp")).ok());
  const std::string null = layer("null", {});
  FalquiImageClass frame;
  frame.Initialise(32, 40, 8);
  const Status overlaid = OverlayLayer(frame, dir_.file("rgb.bmp"), 0);
  EXPECT_FALSE(overlaid.ok());
  EXPECT_NE(overlaid.message().find("8-bit"), std::string::npos);
  EXPECT_FALSE(ComposeFrame(1, {dir_.file("rgb.bmp"), null, null, null, null}, 0, 0, dir_.file("o.bmp"), 0,
                            keepPalette())
                   .ok());
  EXPECT_FALSE(ComposeFrame(1, {null, null, dir_.file("missing.bmp"), null, null}, 0, 0, dir_.file("o.bmp"), 0,
                            keepPalette())
                   .ok());
  EXPECT_FALSE(std::filesystem::exists(dir_.file("o.bmp")));
  std::int16_t gap = 0;
  EXPECT_FALSE(MeasureBodyGap(null, dir_.file("rgb.bmp"), gap).ok());
}

}  // namespace
}  // namespace varnel
