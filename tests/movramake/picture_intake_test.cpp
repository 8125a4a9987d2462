#include "picture_intake.h"

#include <gtest/gtest.h>

#include <vector>

namespace movra {
namespace {

struct Bgra {
  std::uint8_t b, g, r, a;
};

struct Planes {
  explicit Planes(const PlaneGeometry& g, bool chroma = true)
      : luma(g.lumaBytes()), cr(g.chromaBytes()), cb(g.chromaBytes()), alpha(g.lumaBytes()) {
    frame.plane = {luma.data(), chroma ? cr.data() : nullptr, chroma ? cb.data() : nullptr, alpha.data()};
  }
  std::vector<std::uint8_t> luma, cr, cb, alpha;
  FramePlanes frame;
};

TEST(PictureIntake, ConvertsOneCellWithTheStudioRangeFormulas) {
  // One 2x2 cell: luma per pixel, chroma from the cell's sums.
  const Bgra pixels[4] = {{10, 20, 200, 1}, {0, 255, 0, 2}, {255, 0, 0, 3}, {128, 128, 128, 4}};
  const PictureLayout layout{2, 2, 8, planeGeometry(2, 2)};
  Planes planes(layout.planes);
  takePicture(reinterpret_cast<const std::uint8_t*>(pixels), layout, planes.frame);

  EXPECT_EQ(planes.luma[0], 16 + (263 * 200 + 516 * 20 + 100 * 10) / 1024);
  EXPECT_EQ(planes.luma[1], 16 + (516 * 255) / 1024);
  EXPECT_EQ(planes.luma[8], 16 + (100 * 255) / 1024);
  EXPECT_EQ(planes.luma[9], 16 + (879 * 128) / 1024);
  const int reds = 200 + 0 + 0 + 128, greens = 20 + 255 + 0 + 128, blues = 10 + 0 + 255 + 128;
  EXPECT_EQ(planes.cr[0], static_cast<std::uint8_t>(128 + (450 * reds - 377 * greens - 73 * blues) / 4096));
  EXPECT_EQ(planes.cb[0], static_cast<std::uint8_t>(128 + (450 * blues - 298 * greens - 152 * reds) / 4096));
  EXPECT_EQ(planes.alpha[0], 1);
  EXPECT_EQ(planes.alpha[1], 2);
  EXPECT_EQ(planes.alpha[8], 3);
  EXPECT_EQ(planes.alpha[9], 4);
}

TEST(PictureIntake, ChromaDividesTowardZero) {
  // Pure green: Cr's weighted sum is -377 x 1020 = -384540, / 4096 = -93.88,
  // which truncates to -93 (a floor would give -94).
  const Bgra green{0, 255, 0, 0};
  const Bgra pixels[4] = {green, green, green, green};
  const PictureLayout layout{2, 2, 8, planeGeometry(2, 2)};
  Planes planes(layout.planes);
  takePicture(reinterpret_cast<const std::uint8_t*>(pixels), layout, planes.frame);
  EXPECT_EQ(planes.cr[0], 128 - 93);
}

TEST(PictureIntake, OddSizesPairTheLastRowAndColumnWithThemselvesAndReplicatePadding) {
  const std::uint32_t width = 33, height = 3;
  std::vector<Bgra> pixels(width * height);
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      pixels[y * width + x] = {static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 60),
                               static_cast<std::uint8_t>(x + y), static_cast<std::uint8_t>(x)};
    }
  }
  const PictureLayout layout{width, height, static_cast<std::ptrdiff_t>(width * 4), planeGeometry(width, height)};
  Planes planes(layout.planes);
  takePicture(reinterpret_cast<const std::uint8_t*>(pixels.data()), layout, planes.frame);

  const PlaneGeometry& g = layout.planes;
  ASSERT_EQ(g.lumaWidth, 40u);
  for (std::uint32_t y = 0; y < g.lumaHeight; ++y) {
    const std::uint32_t source = std::min(y, height - 1);
    for (std::uint32_t x = width; x < g.lumaWidth; ++x) {
      EXPECT_EQ(planes.luma[y * g.lumaWidth + x], planes.luma[source * g.lumaWidth + width - 1]);
      EXPECT_EQ(planes.alpha[y * g.lumaWidth + x], 32);
    }
    for (std::uint32_t x = 0; x < width; ++x) {
      EXPECT_EQ(planes.luma[y * g.lumaWidth + x], planes.luma[source * g.lumaWidth + x]);
    }
  }
  // The last chroma column comes from column 32 counted twice; chroma rows
  // below the picture repeat chroma row 1 (made of row 2 paired with itself).
  const Bgra last = pixels[2 * width + 32];
  const int reds = 4 * last.r, greens = 4 * last.g, blues = 4 * last.b;
  EXPECT_EQ(planes.cr[1 * g.chromaWidth + 16],
            static_cast<std::uint8_t>(128 + (450 * reds - 377 * greens - 73 * blues) / 4096));
  for (std::uint32_t y = 2; y < g.chromaHeight; ++y) {
    for (std::uint32_t x = 0; x < g.chromaWidth; ++x) {
      EXPECT_EQ(planes.cb[y * g.chromaWidth + x], planes.cb[g.chromaWidth + std::min(x, 16u)]);
    }
  }
}

TEST(PictureIntake, NegativePitchReadsABottomUpPicture) {
  // Rows stored bottom-up: the pixels pointer is the top row, at the end.
  const Bgra top{0, 0, 255, 0}, bottom{255, 0, 0, 0};
  const Bgra stored[2] = {bottom, top};
  const PictureLayout layout{1, 2, -4, planeGeometry(1, 2)};
  Planes planes(layout.planes, false);
  takePicture(reinterpret_cast<const std::uint8_t*>(stored + 1), layout, planes.frame);
  EXPECT_EQ(planes.luma[0], 16 + 263 * 255 / 1024);
  EXPECT_EQ(planes.luma[8], 16 + 100 * 255 / 1024);
}

}  // namespace
}  // namespace movra
