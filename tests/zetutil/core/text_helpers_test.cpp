#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zetutil.h"

namespace {

// Buffers are sized exactly to their text, so the sanitizers catch any
// write past what the caller handed in.
std::vector<char> bufferOf(const std::string& text) {
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  return buffer;
}

using InPlace = char*(ZET_CALL*)(char*);

std::string applied(InPlace helper, const std::string& text) {
  std::vector<char> buffer = bufferOf(text);
  helper(buffer.data());
  return buffer.data();
}

struct TrimCase {
  const char* text;
  const char* trimmed;
  const char* trimmedLeft;
};

TEST(TextHelpersTest, TrimsBlanksAndKeepsEveryByteAbove127) {
  const TrimCase cases[] = {
      {"  a b  ", "a b", "a b  "},
      {"", "", ""},
      {"   ", "", ""},
      {"\t\r\n\x01x\x1f", "x", "x\x1f"},
      {"caf\xc3\xa9", "caf\xc3\xa9", "caf\xc3\xa9"},
      {" \xe9 ", "\xe9", "\xe9 "},
      {"\xa0x\xff", "\xa0x\xff", "\xa0x\xff"},
      {"\x7f", "\x7f", "\x7f"},
  };
  for (const TrimCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(applied(Trim, c.text), c.trimmed);
    EXPECT_EQ(applied(TrimAscii, c.text), c.trimmed);
    EXPECT_EQ(applied(TrimL, c.text), c.trimmedLeft);
  }
}

TEST(TextHelpersTest, RemovesOnlyAPairOfOuterQuotes) {
  struct Case {
    const char* text;
    const char* result;
    int32_t removed;
  };
  const Case cases[] = {
      {"  \"a b\"  ", "a b", 1}, {"\"\"", "", 1},       {"\"", "\"", 0},
      {"\"a", "\"a", 0},         {" a\" ", "a\"", 0}, {"", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<char> buffer = bufferOf(c.text);
    EXPECT_EQ(RemoveQuotes(buffer.data()), c.removed);
    EXPECT_STREQ(buffer.data(), c.result);
  }
}

struct ItemCase {
  const char* line;
  const char* item;
  const char* rest;
};

void expectItems(char*(ZET_CALL* take)(char*, char*), const std::vector<ItemCase>& cases) {
  for (const ItemCase& c : cases) {
    SCOPED_TRACE(c.line);
    std::vector<char> line = bufferOf(c.line);
    std::vector<char> out(line.size(), 'x');
    take(out.data(), line.data());
    EXPECT_STREQ(out.data(), c.item);
    EXPECT_STREQ(line.data(), c.rest);
  }
}

TEST(TextHelpersTest, TakesTheFirstBlankSeparatedItem) {
  expectItems(GetAndRemoveFirst, {
                                     {"one  two", "one", "two"},
                                     {"   ", "", ""},
                                     {"", "", ""},
                                     {"  x", "x", ""},
                                     {"a b  ", "a", "b  "},
                                     // A comma after the blanks separates; one right behind the item is part of it.
                                     {"a ,b", "a", "b"},
                                     {"a , ,b", "a", ",b"},
                                     {"a, b", "a,", "b"},
                                     {"\"my file\" rest", "\"my", "file\" rest"},
                                     {"caf\xc3\xa9.avi\xa0x next", "caf\xc3\xa9.avi\xa0x", "next"},
                                 });
}

TEST(TextHelpersTest, TakesAQuotedFirstItemWithItsBlanks) {
  expectItems(GetAndRemoveFirstQuoted, {
                                           {"  \"my file.avi\"  rest", "my file.avi", "rest"},
                                           {"\"open", "\"open", ""},
                                           {"\"open end  ", "\"open end", ""},
                                           {"\"a\",b", "a", ",b"},
                                           {"\"\" x", "", "x"},
                                           {"one two  ", "one", "two"},
                                           {"a ,b ", "a", "b"},
                                           {"   ", "", ""},
                                       });
}

TEST(TextHelpersTest, FindsTheFirstOccurrenceOfAByte) {
  const char text[] = "ab\xe9" "b";
  EXPECT_EQ(findchar(text, 'b'), text + 1);
  EXPECT_EQ(findchar(text, 0xe9), text + 2);
  EXPECT_EQ(findchar(text, 'z'), nullptr);
  EXPECT_EQ(findchar(text, 0), nullptr);
}

}  // namespace
