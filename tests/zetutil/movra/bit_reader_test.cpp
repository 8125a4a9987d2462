#include <gtest/gtest.h>

#include <vector>

#include "bit_reader.h"

namespace zet {
namespace {

TEST(BitReaderTest, ReadsLittleEndianWordsFromTheLowBit) {
  const std::vector<std::uint8_t> data = {0x2D, 0xC1, 0x00, 0x80, 0xFF, 0x01, 0x00, 0x00};
  BitReader bits(data.data(), data.data() + data.size());
  EXPECT_EQ(bits.read(1), 1u);
  EXPECT_EQ(bits.read(3), 0b110u);  // 0x2D = 0010 1101: bits 1..3 are 0,1,1
  EXPECT_EQ(bits.read(4), 0x2u);
  EXPECT_EQ(bits.read(23), 0x0000C1u);
  EXPECT_EQ(bits.read(1), 1u);  // the top bit of the first word
  EXPECT_EQ(bits.read(9), 0x1FFu);
  EXPECT_FALSE(bits.overrun());
  EXPECT_EQ(bits.nextWord(), data.data() + 8);
}

TEST(BitReaderTest, NextWordFollowsTheLastWordTouched) {
  const std::vector<std::uint8_t> data(12, 0);
  BitReader bits(data.data(), data.data() + data.size());
  bits.read(32);
  EXPECT_EQ(bits.nextWord(), data.data() + 4);
  bits.read(1);
  EXPECT_EQ(bits.nextWord(), data.data() + 8);
}

TEST(BitReaderTest, ReadsZerosPastTheEndAndMarksTheOverrun) {
  const std::vector<std::uint8_t> data = {0xFF, 0xFF, 0xFF};
  BitReader bits(data.data(), data.data() + data.size());
  EXPECT_EQ(bits.read(20), 0xFFFFFu);
  EXPECT_EQ(bits.peek(8), 0xFu);
  EXPECT_FALSE(bits.overrun());
  EXPECT_EQ(bits.read(4), 0xFu);
  EXPECT_FALSE(bits.overrun());  // exactly at the end
  EXPECT_EQ(bits.read(32), 0u);
  EXPECT_TRUE(bits.overrun());
  EXPECT_EQ(bits.nextWord(), data.data() + data.size());
  for (int i = 0; i < 100; ++i) EXPECT_EQ(bits.read(32), 0u);
}

TEST(BitReaderTest, EmptyDataReadsOnlyZeros) {
  const std::uint8_t byte = 0xFF;
  BitReader bits(&byte, &byte);
  EXPECT_EQ(bits.read(7), 0u);
  EXPECT_TRUE(bits.overrun());
}

}  // namespace
}  // namespace zet
