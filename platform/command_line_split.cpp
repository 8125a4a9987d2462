#include <string_view>
#include <utility>

#include "platform/process.h"

namespace platform {
namespace {

bool isArgumentBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> splitCommandLine(const char* commandLine) {
  const std::string_view line = commandLine ? commandLine : "";
  std::vector<std::string> arguments;
  std::size_t i = 0;
  for (;;) {
    while (i < line.size() && isArgumentBlank(line[i])) ++i;
    if (i == line.size()) break;
    std::string argument;
    bool quoted = false;
    while (i < line.size() && (quoted || !isArgumentBlank(line[i]))) {
      const char c = line[i];
      if (c == '\\') {
        std::size_t end = i;
        while (end < line.size() && line[end] == '\\') ++end;
        const std::size_t backslashes = end - i;
        if (end < line.size() && line[end] == '"') {
          argument.append(backslashes / 2, '\\');
          // An odd count escapes the quote; an even one leaves it to group.
          if (backslashes % 2 == 1) {
            argument += '"';
            ++end;
          }
        } else {
          argument.append(backslashes, '\\');
        }
        i = end;
      } else if (c == '"') {
        if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
          argument += '"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        argument += c;
        ++i;
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

}  // namespace platform
