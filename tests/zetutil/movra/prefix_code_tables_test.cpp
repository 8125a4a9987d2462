#include <gtest/gtest.h>

#include <string>

#include "prefix_codes.h"

namespace zet {
namespace {

std::string codeText(const PrefixCode& code) {
  std::string text;
  for (unsigned i = 0; i < code.length; ++i) text += ((code.bits >> i) & 1) ? '1' : '0';
  return text;
}

TEST(PrefixCodeTablesTest, LongestCodeOfEachTable) {
  const unsigned expected[16] = {4, 5, 5, 5, 5, 5, 5, 6, 6, 6, 6, 6, 6, 7, 7, 7};
  for (unsigned t = 0; t < kPrefixCodeTables; ++t) {
    unsigned longest = 0;
    for (const PrefixCode& code : prefixCodes[t]) longest = std::max<unsigned>(longest, code.length);
    EXPECT_EQ(longest, expected[t]) << "table " << t;
  }
}

TEST(PrefixCodeTablesTest, CodesInReadingOrder) {
  struct Case {
    unsigned table;
    unsigned index;
    const char* code;
  };
  const Case cases[] = {
      {0, 1, "1000"},     {0, 14, "0111"},  {1, 0, "0"},       {1, 2, "11000"},
      {6, 9, "1100"},     {6, 10, "11010"}, {7, 6, "110110"},  {12, 2, "10"},
      {13, 8, "1111000"}, {14, 4, "11100"}, {15, 15, "1111111"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(codeText(prefixCodes[c.table][c.index]), c.code) << c.table << "/" << c.index;
  }
}

TEST(PrefixCodeTablesTest, LookupGivesLengthAndIndexOfThePeekedCode) {
  // Table 7, index 6 is 110110: bits read 1,1,0,1,1,0, then anything.
  const unsigned peeked = 0b011011;
  EXPECT_EQ(prefixCodeLookup[7][peeked | 0x40], 6 * 16 + 6);
  EXPECT_EQ(prefixCodeLookup[7][peeked], 6 * 16 + 6);
  // Table 1, index 0 is a single 0 bit: every even peek.
  for (unsigned p = 0; p < 128; p += 2) EXPECT_EQ(prefixCodeLookup[1][p], 1 * 16 + 0);
}

}  // namespace
}  // namespace zet
