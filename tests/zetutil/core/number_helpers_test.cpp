#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "zetutil.h"

namespace {

constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t kInt32Min = std::numeric_limits<int32_t>::min();

TEST(NumberHelpersTest, WritesValuesAsSigned32BitDecimal) {
  struct Case {
    uint32_t value;
    const char* text;
  };
  const Case cases[] = {{0, "0"},
                        {123, "123"},
                        {2147483647u, "2147483647"},
                        {2147483648u, "-2147483648"},
                        {4294967295u, "-1"}};
  for (const Case& c : cases) {
    std::vector<char> buffer(std::strlen(c.text) + 1);
    char* end = U32toa(buffer.data(), c.value);
    EXPECT_STREQ(buffer.data(), c.text);
    EXPECT_EQ(end, buffer.data() + std::strlen(c.text));
  }
}

TEST(NumberHelpersTest, ReadsDecimalsAndSaturatesLongOnes) {
  struct Case {
    const char* text;
    uint32_t value;
  };
  const Case cases[] = {
      {"42", 42},
      {"  +7x", 7},
      {"\t12", 12},
      {"1 2", 1},
      {"-1", 0xFFFFFFFFu},
      {"", 0},
      {"abc", 0},
      {"-", 0},
      {"4294967295", 4294967295u},
      {"4294967296", 4294967295u},
      {"99999999999999999999999999", 4294967295u},
      {"-2147483648", 0x80000000u},
      {"-99999999999999999999999999", 0x80000000u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(atoU32(c.text), c.value);
  }
}

TEST(NumberHelpersTest, GroupsDigitsInThrees) {
  struct Case {
    uint64_t value;
    const char* text;
  };
  const Case cases[] = {{0, "0"},
                        {999, "999"},
                        {1000, "1,000"},
                        {1234567, "1,234,567"},
                        {100000, "100,000"},
                        {std::numeric_limits<uint64_t>::max(), "18,446,744,073,709,551,615"}};
  for (const Case& c : cases) {
    char buffer[27];
    EXPECT_STREQ(CommaNum(buffer, c.value), c.text);
  }
}

TEST(NumberHelpersTest, WritesDurationsInWords) {
  struct Case {
    uint32_t milliseconds;
    const char* text;
  };
  const Case cases[] = {
      {0, "0 milliseconds"},
      {1, "1 millisecond"},
      {999, "999 milliseconds"},
      {1000, "1 second"},
      {59999, "59 seconds"},
      {60000, "1 minute 0 seconds"},
      {61000, "1 minute 1 second"},
      {120000, "2 minutes 0 seconds"},
      {3599999, "59 minutes 59 seconds"},
      {3600000, "1 hour 0 minutes"},
      {7260000, "2 hours 1 minute"},
      {4294967295u, "1193 hours 2 minutes"},
  };
  for (const Case& c : cases) {
    char buffer[64];
    EXPECT_STREQ(GetElapsedTime(buffer, c.milliseconds), c.text);
  }
}

TEST(NumberHelpersTest, ReducesFractionsByTheirGreatestCommonDivisor) {
  struct Case {
    int32_t numerator;
    int32_t denominator;
    int32_t reducedNumerator;
    int32_t reducedDenominator;
  };
  const Case cases[] = {
      {12, 18, 2, 3},
      {7, 7, 1, 1},
      {-4, 6, -2, 3},
      {0, 5, 0, 5},
      {5, 0, 5, 0},
      {kInt32Min, kInt32Min, -1, -1},
      {kInt32Min, 2, kInt32Min / 2, 1},
      {kInt32Min, kInt32Max, kInt32Min, kInt32Max},
  };
  for (const Case& c : cases) {
    int32_t numerator = c.numerator;
    int32_t denominator = c.denominator;
    GCDNums(&numerator, &denominator);
    EXPECT_EQ(numerator, c.reducedNumerator) << c.numerator << "/" << c.denominator;
    EXPECT_EQ(denominator, c.reducedDenominator) << c.numerator << "/" << c.denominator;
  }
}

struct FractionCase {
  const char* text;
  int32_t numerator;
  int32_t denominator;
  std::size_t consumed;
};

TEST(NumberHelpersTest, ParsesFractions) {
  const FractionCase cases[] = {
      {"29.97", 2997, 100, 5},
      {"30000;1001", 30000, 1001, 10},
      {"2.5;1.25", 2, 1, 8},
      {"-15", -15, 1, 3},
      {"0.5", 1, 2, 3},
      {".5", 1, 2, 2},
      {"25", 25, 1, 2},
      {"10/3", 10, 1, 2},
      {"12abc", 12, 1, 2},
      // A lone ';' is consumed; a divisor of zero leaves the first number.
      {"5;", 5, 1, 2},
      {"25;x", 25, 1, 3},
      {"1.5;.5", 3, 2, 4},
      {"6;0", 6, 1, 3},
      {"-2;4", -1, 2, 4},
      {"2147483647", kInt32Max, 1, 10},
      {"1;2147483647", 1, kInt32Max, 12},
      // Not a number: 0/1, nothing consumed but a leading minus.
      {"x", 0, 1, 0},
      {"+5", 0, 1, 0},
      {"", 0, 1, 0},
      {"-x", 0, 1, 1},
  };
  for (const FractionCase& c : cases) {
    SCOPED_TRACE(c.text);
    int32_t numerator = 99;
    int32_t denominator = 99;
    const char* end = atofr(c.text, &numerator, &denominator);
    EXPECT_EQ(numerator, c.numerator);
    EXPECT_EQ(denominator, c.denominator);
    EXPECT_EQ(end, c.text + c.consumed);
  }
}

TEST(NumberHelpersTest, SaturatesFractionsBeyondThe32BitRange) {
  const FractionCase cases[] = {
      {"2147483648", kInt32Max, 1, 10},
      {"99999999999999999999999999999999", kInt32Max, 1, 32},
      {"-99999999999999999999999999999999", -kInt32Max, 1, 33},
      {"65536;0.00001", kInt32Max, 1, 13},
      {"99999999999999999999;0.000000000000000000001", kInt32Max, 1, 44},
  };
  for (const FractionCase& c : cases) {
    SCOPED_TRACE(c.text);
    int32_t numerator = 0;
    int32_t denominator = 0;
    EXPECT_EQ(atofr(c.text, &numerator, &denominator), c.text + c.consumed);
    EXPECT_EQ(numerator, c.numerator);
    EXPECT_EQ(denominator, c.denominator);
  }
}

TEST(NumberHelpersTest, KeepsTheValueOfFractionsWithMoreDigitsThan32BitsHold) {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"3.14159265358979323846264338327950288", 3.14159265358979323846},
      {"29.970029970029970029970029970", 29.970029970029970029970},
      {"123456.789012345", 123456.789012345},
      {"46341;46340.5", 46341.0 / 46340.5},
      {"2147483647;2147483646", 2147483647.0 / 2147483646.0},
      {"1000000000;3", 1000000000.0 / 3.0},
      {"0.0000000001", 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    int32_t numerator = 0;
    int32_t denominator = 0;
    EXPECT_EQ(atofr(c.text, &numerator, &denominator), c.text + std::strlen(c.text));
    ASSERT_GT(denominator, 0);
    EXPECT_NEAR(static_cast<double>(numerator) / denominator, c.value, 1e-8 * (1 + c.value));
  }
}

TEST(NumberHelpersTest, TurnsFrameRatesIntoFrameTimes) {
  struct Case {
    int32_t value;
    int32_t frameTime;
  };
  const Case cases[] = {
      {0, 0},          {30, 3333},       {1, 100000},          {20000, 5},         {30000, 5},
      {kInt32Max, 5},  {-1, 100},        {-1500, 150000},      {-1501, 1501},      {-4, 400},
      {-1000000, 1000000}, {kInt32Min, kInt32Max},
  };
  for (const Case& c : cases) EXPECT_EQ(MakeFrameRate(c.value), c.frameTime) << c.value;
}

}  // namespace
