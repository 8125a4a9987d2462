#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "zetutil.h"

namespace {

constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t kInt32Min = std::numeric_limits<int32_t>::min();

// Command lines live in buffers of exactly their size, so the sanitizers
// catch any write past what the caller handed in.
std::vector<char> bufferOf(const std::string& text) {
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  return buffer;
}

TEST(SwitchHelpersTest, FindsFlagSwitches) {
  struct Case {
    const char* line;
    uint8_t character;
    int32_t found;
    const char* rest;
  };
  const Case cases[] = {
      {"/L5", 'L', 0, "/L5"},
      {"a /L", 'L', 1, "a "},
      {"/L/O", 'L', 1, "/O"},
      {"x /l y", 'L', 1, "x  y"},
      {"/O", 'o', 1, ""},
      {"/L5 /L", 'L', 1, "/L5 "},
      {"/L /L", 'L', 1, " /L"},
      {"/L-x", 'L', 1, "-x"},
      {"/L\"x\"", 'L', 1, "\"x\""},
      {"/LX", 'L', 0, "/LX"},
      {"/L\xc3\xa9", 'L', 0, "/L\xc3\xa9"},
      {"/#", '#', 1, ""},
      {"a/", 'L', 0, "a/"},
      {"", 'L', 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::vector<char> line = bufferOf(c.line);
    EXPECT_EQ(GetSwitch(line.data(), c.character), c.found);
    EXPECT_STREQ(line.data(), c.rest);
  }
}

TEST(SwitchHelpersTest, ReadsNumberSwitches) {
  struct Case {
    const char* line;
    int32_t value;
    const char* rest;
  };
  const Case cases[] = {
      {"/l-12x", -12, "x"},
      {"/L", 7, "/L"},
      {"/L-", 7, "/L-"},
      {"/L-x", 7, "/L-x"},
      {"a /L4 b", 4, "a  b"},
      {"/L007", 7, ""},
      {"/Lx /L3", 3, "/Lx "},
      {"/L3 /L4", 3, " /L4"},
      {"/L2147483647", kInt32Max, ""},
      {"/L99999999999999999999 x", kInt32Max, " x"},
      {"/L-2147483648", kInt32Min, ""},
      {"/L-99999999999999999999", kInt32Min, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::vector<char> line = bufferOf(c.line);
    EXPECT_EQ(GetSwitchNum(line.data(), 'L', 7), c.value);
    EXPECT_STREQ(line.data(), c.rest);
  }
}

TEST(SwitchHelpersTest, ReadsFractionSwitches) {
  struct Case {
    const char* line;
    int32_t numerator;
    int32_t denominator;
    const char* rest;
  };
  const Case cases[] = {
      {"/M30000;1001", 30000, 1001, ""},
      {"a /m29.97 b", 2997, 100, "a  b"},
      {"/M-15", -15, 1, ""},
      {"/M25;", 25, 1, ""},
      {"/M12abc", 12, 1, "abc"},
      {"/M99999999999999999999 x", kInt32Max, 1, " x"},
      // Not a fraction switch: the defaults, and the line as it was.
      {"/M.5", 30, 1, "/M.5"},
      {"/M", 30, 1, "/M"},
      {"/M-x", 30, 1, "/M-x"},
      {"/Mx /M24", 24, 1, "/Mx "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::vector<char> line = bufferOf(c.line);
    int32_t numerator = 0;
    int32_t denominator = 0;
    GetSwitchFractional(line.data(), 'M', &numerator, &denominator, 30, 1);
    EXPECT_EQ(numerator, c.numerator);
    EXPECT_EQ(denominator, c.denominator);
    EXPECT_STREQ(line.data(), c.rest);
  }
}

struct StringCase {
  std::string line;
  std::string defaultValue;
  int32_t found;
  std::string value;
  std::string rest;
};

void expectStringSwitch(const StringCase& c) {
  std::vector<char> line = bufferOf(c.line);
  std::vector<char> out(256, 'x');
  EXPECT_EQ(GetSwitchStr(line.data(), 'O', out.data(), c.defaultValue.c_str()), c.found);
  EXPECT_EQ(std::string(out.data()), c.value);
  EXPECT_EQ(std::string(line.data()), c.rest);
}

TEST(SwitchHelpersTest, ReadsStringSwitches) {
  const StringCase cases[] = {
      {"in.avi /O\"/tmp/a b/x.mvr\" /L3", "", 1, "/tmp/a b/x.mvr", "in.avi  /L3"},
      {"/Oc:/tmp/x", "", 1, "c:", "/tmp/x"},
      {"/o\"open end", "", 1, "open end", ""},
      {"/O\"\" rest", "d", 1, "", " rest"},
      {"/Ocaf\xc3\xa9.mvr x", "", 1, "caf\xc3\xa9.mvr", " x"},
      {"/O\xc3\xa9", "", 1, "\xc3\xa9", ""},
      {"a /Ofirst /Osecond", "", 1, "first", "a  /Osecond"},
      {"/O", "def", 0, "def", "/O"},
      {"/O x", "def", 0, "def", "/O x"},
      {"", "def", 0, "def", ""},
  };
  for (const StringCase& c : cases) {
    SCOPED_TRACE(c.line);
    expectStringSwitch(c);
  }
}

TEST(SwitchHelpersTest, RefusesStringValuesTooLongForTheBuffer) {
  const std::string fits(255, 'v');
  const std::string tooLong(256, 'v');
  const StringCase cases[] = {
      {"/O" + fits + " x", "d", 1, fits, " x"},
      {"/O\"" + fits + "\" x", "d", 1, fits, " x"},
      {"/O" + tooLong + " x", "d", 0, "d", "/O" + tooLong + " x"},
      {"/O\"" + tooLong + "\" x", "d", 0, "d", "/O\"" + tooLong + "\" x"},
      {"/O\"" + tooLong, "d", 0, "d", "/O\"" + tooLong},
      {"/O", fits, 0, fits, "/O"},
      {"/O", tooLong, 0, "", "/O"},
  };
  for (const StringCase& c : cases) {
    SCOPED_TRACE(c.line.substr(0, 8) + "... " + std::to_string(c.line.size()) + " bytes");
    expectStringSwitch(c);
  }
}

TEST(SwitchHelpersTest, CancellingSwitchesRemoveEarlierOnes) {
  struct Case {
    const char* line;
    const char* rest;
  };
  const Case cases[] = {
      {"a /L5 /O\"x y\" /-L /L7 /-O", "a    /L7 "},
      {"a /-", "a "},
      {"/-", ""},
      {"a/-L/-", "a"},
      {"/L1 /l2 /-L", "  "},
      {"/L1 /-L /L2 /-L", "   "},
      {"/-L /L7", " /L7"},
      {"/Lfoo/O /-L", "/O "},
      {"/O\"a /L b\" /-O", " "},
      {"/X /-Y", "/X "},
      {"/-L/-L", ""},
      // A quoted value that opens left of the cancelling switch is cut up to
      // it, never through it.
      {"/O\"open /-O", ""},
      {"/O\"open /-O x", " x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::vector<char> line = bufferOf(c.line);
    RemoveMinusSwitches(line.data());
    EXPECT_STREQ(line.data(), c.rest);
  }
}

}  // namespace
