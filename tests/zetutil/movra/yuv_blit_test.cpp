#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "expected_pixel.h"
#include "test_seed.h"
#include "zetutil.h"

namespace {

constexpr int kWidth = 48;
constexpr int kHeight = 24;
constexpr std::uint32_t kSentinel = 0xABABABAB;

struct Picture {
  std::vector<std::uint8_t> planes;  // Y, then Cr, then Cb
  std::vector<std::uint8_t> alpha;

  std::uint8_t y(int x, int row) const { return planes[static_cast<std::size_t>(row * kWidth + x)]; }
  std::uint8_t cr(int x, int row) const {
    return planes[static_cast<std::size_t>(kWidth * kHeight + row / 2 * (kWidth / 2) + x / 2)];
  }
  std::uint8_t cb(int x, int row) const {
    return planes[static_cast<std::size_t>(kWidth * kHeight * 5 / 4 + row / 2 * (kWidth / 2) + x / 2)];
  }
  std::uint8_t a(int x, int row) const { return alpha[static_cast<std::size_t>(row * kWidth + x)]; }
};

Picture randomPicture(std::mt19937& random) {
  Picture picture;
  picture.planes.resize(kWidth * kHeight * 3 / 2);
  picture.alpha.resize(kWidth * kHeight);
  for (auto& value : picture.planes) value = static_cast<std::uint8_t>(random());
  for (auto& value : picture.alpha) value = static_cast<std::uint8_t>(random());
  return picture;
}

struct Rect {
  int x, y, w, h;
};

// Which source line a destination line of the rectangle shows; none for
// the lines a mode leaves alone.
std::optional<int> sourceLine(int destLine, const Rect& r, int mode) {
  switch (mode) {
    case 1:
    case 4:
      return destLine < 2 * r.h ? std::optional(r.y + destLine / 2) : std::nullopt;
    case 2:
    case 5:
      return destLine < 2 * r.h && destLine % 2 == 0 ? std::optional(r.y + destLine / 2) : std::nullopt;
    case 6:
      return destLine % 2 == 0 && destLine / 2 < r.h / 2 ? std::optional(r.y / 2 * 2 + destLine) : std::nullopt;
    default:
      return destLine < r.h ? std::optional(r.y + destLine) : std::nullopt;
  }
}

std::optional<int> sourceColumn(int destColumn, const Rect& r, int mode) {
  const bool doubled = mode >= 3 && mode <= 5;
  const int width = doubled ? 2 * r.w : r.w;
  if (destColumn >= width) return std::nullopt;
  return r.x + (doubled ? destColumn / 2 : destColumn);
}

struct BlitCase {
  int mode;
  Rect rect;
  std::uint32_t flags;
  bool alpha;
  bool bottomUp;
};

// The destination bitmap has room for any mode and a margin, so pixels
// written outside the scaled rectangle show up as changed sentinels.
constexpr int kDestX = 3;
constexpr int kDestY = 2;
constexpr int kDestWidth = 2 * kWidth + 8;
constexpr int kDestRows = 2 * kHeight + 6;

void checkBlit(const Picture& picture, const BlitCase& c) {
  std::vector<std::uint32_t> bitmap(kDestWidth * kDestRows, kSentinel);
  const int pitch = kDestWidth * 4;
  std::uint32_t* origin = bitmap.data();
  if (c.bottomUp) origin += (kDestRows - 1) * kDestWidth;
  const std::uint32_t flags = c.flags | static_cast<std::uint32_t>(c.mode) << 28;
  if (c.alpha) {
    YUV_blit_32abpp(origin, kDestX, kDestY, c.bottomUp ? -pitch : pitch, picture.planes.data(), c.rect.x, c.rect.y,
                    c.rect.w, c.rect.h, kWidth, kHeight, picture.alpha.data(), flags | 5);
  } else {
    YUV_blit_32bpp(origin, kDestX, kDestY, c.bottomUp ? -pitch : pitch, picture.planes.data(), c.rect.x, c.rect.y,
                   c.rect.w, c.rect.h, kWidth, kHeight, flags | 3);
  }
  const bool swapped = (c.flags & 0x00010000) != 0;
  const bool grey = (c.flags & 0x00020000) != 0;
  for (int row = 0; row < kDestRows; ++row) {
    const int memoryRow = c.bottomUp ? kDestRows - 1 - row : row;
    for (int column = 0; column < kDestWidth; ++column) {
      std::uint32_t expected = kSentinel;
      const std::optional<int> line = row >= kDestY ? sourceLine(row - kDestY, c.rect, c.mode) : std::nullopt;
      const std::optional<int> source = column >= kDestX ? sourceColumn(column - kDestX, c.rect, c.mode) : std::nullopt;
      if (line && source) {
        expected = zet::testing::expectedPixel(picture.y(*source, *line), picture.cr(*source, *line),
                                               picture.cb(*source, *line), c.alpha ? picture.a(*source, *line) : 0,
                                               swapped, grey);
      }
      const std::uint32_t actual = bitmap[static_cast<std::size_t>(memoryRow * kDestWidth + column)];
      ASSERT_EQ(actual, expected) << "mode " << c.mode << " rect " << c.rect.x << "," << c.rect.y << " " << c.rect.w
                                  << "x" << c.rect.h << " flags " << std::hex << c.flags << std::dec << " alpha "
                                  << c.alpha << " bottom-up " << c.bottomUp << " at " << column << "," << row;
    }
  }
}

TEST(YuvBlitTest, EveryScaleModeAndRectangleMatchesTheDefinition) {
  std::mt19937 random(zet::testing::testSeed());
  const Picture picture = randomPicture(random);
  const Rect rects[] = {
      {0, 0, kWidth, kHeight},  // the whole picture
      {5, 3, 1, 7},             // one pixel wide at an odd x, odd first line
      {3, 5, 27, 9},            // odd everything: lone first pixel and lone last line
      {2, 2, 40, 6},            // even: line pairs only
      {kWidth - 1, kHeight - 1, 1, 1},
  };
  const std::uint32_t flagSets[] = {0, 0x00040000, 0x00010000, 0x00050000, 0x00020000};
  for (int mode = 0; mode <= 6; ++mode) {
    for (const Rect& rect : rects) {
      for (std::uint32_t flags : flagSets) {
        for (bool alpha : {false, true}) {
          checkBlit(picture, {mode, rect, flags, alpha, false});
          if (HasFatalFailure()) return;
        }
      }
    }
  }
}

TEST(YuvBlitTest, BottomUpBitmapGetsThePictureUpsideDownInMemory) {
  std::mt19937 random(zet::testing::testSeed());
  const Picture picture = randomPicture(random);
  for (int mode : {0, 1, 2, 4, 6}) {
    checkBlit(picture, {mode, {0, 0, kWidth, kHeight}, 0, false, true});
    checkBlit(picture, {mode, {3, 1, 20, 11}, 0x00040000, true, true});
    if (HasFatalFailure()) return;
  }
}

TEST(YuvBlitTest, OlderColourLayoutExchangesRedAndBlueOnly) {
  std::mt19937 random(zet::testing::testSeed());
  const Picture picture = randomPicture(random);
  std::vector<std::uint32_t> current(kWidth * kHeight), older(kWidth * kHeight);
  YUV_blit_32bpp(current.data(), 0, 0, kWidth * 4, picture.planes.data(), 0, 0, kWidth, kHeight, kWidth, kHeight, 3);
  YUV_blit_32bpp(older.data(), 0, 0, kWidth * 4, picture.planes.data(), 0, 0, kWidth, kHeight, kWidth, kHeight,
                 0x00010003);
  for (std::size_t i = 0; i < current.size(); ++i) {
    const std::uint32_t swapped = (current[i] & 0xFF00FF00) | (current[i] >> 16 & 0xFF) | (current[i] & 0xFF) << 16;
    ASSERT_EQ(older[i], swapped) << i;
  }
}

TEST(YuvBlitTest, RectanglesOutsideThePictureCopyNothing) {
  std::vector<std::uint8_t> planes(kWidth * kHeight * 3 / 2, 200);
  std::vector<std::uint32_t> bitmap(kDestWidth * kDestRows, kSentinel);
  const int pitch = kDestWidth * 4;
  YUV_blit_32bpp(bitmap.data(), 0, 0, pitch, planes.data(), kWidth, 0, 4, 4, kWidth, kHeight, 3);
  YUV_blit_32bpp(bitmap.data(), 0, 0, pitch, planes.data(), -2, 0, 4, 4, kWidth, kHeight, 3);
  YUV_blit_32bpp(bitmap.data(), 0, 0, pitch, planes.data(), 0, 0, 0, 4, kWidth, kHeight, 3);
  EXPECT_TRUE(std::all_of(bitmap.begin(), bitmap.end(), [](std::uint32_t p) { return p == kSentinel; }));
  // A rectangle reaching past the picture is cut at its edge.
  YUV_blit_32bpp(bitmap.data(), 0, 0, pitch, planes.data(), kWidth - 2, kHeight - 1, 100, 100, kWidth, kHeight, 3);
  EXPECT_NE(bitmap[0], kSentinel);
  EXPECT_NE(bitmap[1], kSentinel);
  EXPECT_EQ(bitmap[2], kSentinel);
  EXPECT_EQ(bitmap[kDestWidth], kSentinel);
}

}  // namespace
