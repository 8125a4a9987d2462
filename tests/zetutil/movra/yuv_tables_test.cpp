#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "yuv_tables.h"
#include "zetutil.h"

namespace zet {
namespace {

TEST(YuvTablesTest, TellingEntries) {
  const YuvTables& tables = yuvTables();
  EXPECT_EQ(tables.luma[16], 0);
  EXPECT_EQ(tables.luma[235], 254);
  EXPECT_EQ(tables.luma[255], 254);
  EXPECT_EQ(tables.crRed[0], -204);
  EXPECT_EQ(tables.crRed[255], 202);
  EXPECT_EQ(tables.crGreen[0], 104);
  EXPECT_EQ(tables.cbGreen[255], -49);
  EXPECT_EQ(tables.cbBlue[0], -258);
  EXPECT_EQ(tables.cbBlue[255], 256);
  EXPECT_EQ(tables.cbBlue[129], 2);   // 66101 / 32768 truncated
  EXPECT_EQ(tables.cbBlue[127], -2);  // toward zero, not down
  EXPECT_EQ(tables.grey[16], 0);
  EXPECT_EQ(tables.grey[89], 85);
  EXPECT_EQ(tables.grey[234], 253);
  EXPECT_EQ(tables.grey[235], 255);
}

TEST(YuvTablesTest, ClampCoversEverySumTheTablesMake) {
  EXPECT_LE(kYuvClampLowest, -258);
  EXPECT_GE(kYuvClampHighest, 510);
  const std::uint8_t* clamp = yuvClampOrigin();
  EXPECT_EQ(clamp[kYuvClampLowest], 0);
  EXPECT_EQ(clamp[-1], 0);
  EXPECT_EQ(clamp[0], 0);
  EXPECT_EQ(clamp[200], 200);
  EXPECT_EQ(clamp[255], 255);
  EXPECT_EQ(clamp[kYuvClampHighest], 255);
}

// One 2x2 picture of a single colour, blitted with the exported call.
std::uint32_t pixelOf(std::uint8_t y, std::uint8_t cr, std::uint8_t cb, std::uint32_t flags) {
  std::vector<std::uint8_t> planes = {y, y, y, y, cr, cb};
  std::uint32_t out[4] = {};
  YUV_blit_32bpp(out, 0, 0, 8, planes.data(), 0, 0, 2, 2, 2, 2, flags | 3);
  return out[3];
}

TEST(YuvTablesTest, ExtremeColoursOfTheConversion) {
  EXPECT_EQ(pixelOf(16, 128, 128, 0), 0x00000000u);
  EXPECT_EQ(pixelOf(235, 128, 128, 0), 0x00FEFEFEu);
  EXPECT_EQ(pixelOf(235, 128, 128, 0x00020000), 0x00FFFFFFu);  // grey table
  EXPECT_EQ(pixelOf(16, 128, 0, 0) & 0xFF, 0u);                 // blue sum -258
  EXPECT_EQ(pixelOf(255, 255, 255, 0) & 0xFF, 0xFFu);           // blue sum 510
  EXPECT_EQ(pixelOf(16, 0, 0, 0), 0x00009A00u);                 // green 104 + 50, red and blue below 0
}

}  // namespace
}  // namespace zet
