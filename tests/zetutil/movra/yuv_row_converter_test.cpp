#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "platform/cpu.h"
#include "test_seed.h"
#include "yuv_row_converter.h"

namespace zet {
namespace {

struct RowBuffers {
  std::vector<std::uint8_t> luma[2], alpha[2], cr, cb;
  std::vector<std::uint8_t> destination[2];
};

// Random lines whose bytes lean to the extremes now and then, where the
// clamping and the truncation of negative chroma shares matter most.
std::uint8_t sample(std::mt19937& random) {
  switch (random() % 8) {
    case 0:
      return 0;
    case 1:
      return 255;
    case 2:
      return static_cast<std::uint8_t>(12 + random() % 10);  // around the black level
    case 3:
      return static_cast<std::uint8_t>(230 + random() % 10);  // around the white level
    default:
      return static_cast<std::uint8_t>(random());
  }
}

YuvRows randomRows(std::mt19937& random, RowBuffers& buffers, std::size_t pixels) {
  YuvRows rows;
  rows.pixels = pixels;
  rows.lines = 1 + random() % 2;
  rows.redBlueSwapped = random() % 2 == 0;
  rows.doubleWidth = random() % 3 == 0;
  const bool alpha = random() % 2 == 0;
  auto fill = [&](std::vector<std::uint8_t>& bytes, std::size_t count) {
    bytes.resize(count);
    for (auto& byte : bytes) byte = sample(random);
  };
  fill(buffers.cr, (pixels + 1) / 2);
  fill(buffers.cb, (pixels + 1) / 2);
  rows.cr = buffers.cr.data();
  rows.cb = buffers.cb.data();
  for (std::size_t line = 0; line < rows.lines; ++line) {
    fill(buffers.luma[line], pixels);
    rows.luma[line] = buffers.luma[line].data();
    if (alpha) {
      fill(buffers.alpha[line], pixels);
      rows.alpha[line] = buffers.alpha[line].data();
    }
  }
  return rows;
}

std::vector<std::uint8_t> convert(YuvRowsConverter converter, YuvRows rows, std::size_t lineBytes) {
  std::vector<std::uint8_t> out(2 * lineBytes + 16, 0x5A);
  rows.destination[0] = out.data();
  rows.destination[1] = out.data() + lineBytes;
  converter(rows);
  return out;
}

void compareWithPlain(YuvRowsConverter converter) {
  std::mt19937 random(testing::testSeed());
  for (int round = 0; round < 3000; ++round) {
    RowBuffers buffers;
    const std::size_t pixels = random() % 3 == 0 ? random() % 40 : random() % 300;
    const YuvRows rows = randomRows(random, buffers, pixels);
    const std::size_t lineBytes = pixels * (rows.doubleWidth ? 8 : 4);
    ASSERT_EQ(convert(converter, rows, lineBytes), convert(convertColourRowsPlain, rows, lineBytes))
        << "round " << round << ", " << pixels << " pixels, " << rows.lines << " lines";
  }
}

TEST(YuvRowConverterTest, Sse2MatchesThePlainConverter) {
  if (!platform::cpuFeatures().sse2) GTEST_SKIP() << "no SSE2";
  compareWithPlain(convertColourRowsSse2);
}

TEST(YuvRowConverterTest, Avx2MatchesThePlainConverter) {
  if (!platform::cpuFeatures().avx2) GTEST_SKIP() << "no AVX2";
  compareWithPlain(convertColourRowsAvx2);
}

TEST(YuvRowConverterTest, EveryColourConvertsAlikeInEveryVariant) {
  // All 2^24 colours would be slow; every Y against a grid of chroma pairs
  // that includes both ends of each chroma plane.
  std::vector<std::uint8_t> luma(256);
  for (int y = 0; y < 256; ++y) luma[static_cast<std::size_t>(y)] = static_cast<std::uint8_t>(y);
  for (int cr = 0; cr < 256; cr += 5) {
    for (int cb = 0; cb < 256; cb += 3) {
      std::vector<std::uint8_t> crLine(128, static_cast<std::uint8_t>(cr)), cbLine(128, static_cast<std::uint8_t>(cb));
      YuvRows rows;
      rows.luma[0] = luma.data();
      rows.cr = crLine.data();
      rows.cb = cbLine.data();
      rows.pixels = 256;
      const auto plain = convert(convertColourRowsPlain, rows, 1024);
      EXPECT_EQ(convert(bestColourRowsConverter(), rows, 1024), plain) << cr << "," << cb;
      if (platform::cpuFeatures().sse2) {
        EXPECT_EQ(convert(convertColourRowsSse2, rows, 1024), plain);
      }
    }
  }
}

// Every (Y, Cr, Cb) triple: each line pair holds one Cr level against every
// Cb level, for one luma level in one line and its complement in the other.
// The vector variants work the shares out in their own
// arithmetic, which must agree with the tables everywhere.
TEST(YuvRowConverterTest, VectorVariantsConvertEveryColourAsThePlainConverter) {
  std::vector<YuvRowsConverter> variants;
  if (platform::cpuFeatures().sse2) variants.push_back(convertColourRowsSse2);
  if (platform::cpuFeatures().avx2) variants.push_back(convertColourRowsAvx2);
  std::vector<std::uint8_t> crLine(256), cbLine(256), upper(512), lower(512);
  for (int i = 0; i < 256; ++i) cbLine[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  YuvRows rows;
  rows.lines = 2;
  rows.luma[0] = upper.data();
  rows.luma[1] = lower.data();
  rows.cr = crLine.data();
  rows.cb = cbLine.data();
  rows.pixels = 512;
  for (int cr = 0; cr < 256; ++cr) {
    std::fill(crLine.begin(), crLine.end(), static_cast<std::uint8_t>(cr));
    for (int y = 0; y < 128; ++y) {
      std::fill(upper.begin(), upper.end(), static_cast<std::uint8_t>(y));
      std::fill(lower.begin(), lower.end(), static_cast<std::uint8_t>(255 - y));
      const auto plain = convert(convertColourRowsPlain, rows, 2048);
      for (YuvRowsConverter variant : variants) {
        ASSERT_EQ(convert(variant, rows, 2048), plain) << "Cr " << cr << ", Y " << y << " and " << 255 - y;
      }
    }
  }
}

}  // namespace
}  // namespace zet
