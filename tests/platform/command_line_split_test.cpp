#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/process.h"

namespace platform {
namespace {

using Arguments = std::vector<std::string>;

TEST(SplitCommandLine, FollowsTheWindowsQuotingRules) {
  struct Case {
    const char* line;
    Arguments expected;
  };
  const Case cases[] = {
      {"", {}},
      {" \t ", {}},
      {"a b\tc", {"a", "b", "c"}},
      {"  lead  trail  ", {"lead", "trail"}},
      {"\"abc\" d e", {"abc", "d", "e"}},
      {"\"with space\" x", {"with space", "x"}},
      {"a \"\" b", {"a", "", "b"}},
      {"\"\"", {""}},
      {"mid\"dle quo\"ted", {"middle quoted"}},
      {"a\\\\\\b d\"e f\"g h", {"a\\\\\\b", "de fg", "h"}},
      {"a\\\\\\\"b c d", {"a\\\"b", "c", "d"}},
      {"a\\\\\\\\\"b c\" d e", {"a\\\\b c", "d", "e"}},
      {"\\\"x\\\"", {"\"x\""}},
      {"\"a\"\"b\"", {"a\"b"}},
      {"\"\"\"\"", {"\""}},
      {"a\"b\"\" c d", {"ab\" c d"}},
      {"C:\\Program Files\\zet.exe", {"C:\\Program", "Files\\zet.exe"}},
      {"\"C:\\Program Files\\zet.exe\" -i", {"C:\\Program Files\\zet.exe", "-i"}},
      {"trailing\\", {"trailing\\"}},
      {"trailing\\\\ x", {"trailing\\\\", "x"}},
      {"\"folder\\\\\"", {"folder\\"}},
      {"\"unclosed part", {"unclosed part"}},
      {"caf\xC3\xA9 \xE2\x80\x94", {"caf\xC3\xA9", "\xE2\x80\x94"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(splitCommandLine(c.line), c.expected);
  }
  EXPECT_EQ(splitCommandLine(nullptr), Arguments{});
}

}  // namespace
}  // namespace platform
