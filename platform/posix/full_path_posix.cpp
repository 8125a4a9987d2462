#include <string_view>

#include "platform/file.h"

namespace platform {
namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

// Appends each component of `path` to the '/'-separated `result`, folding
// "." and ".." as text; ".." at the root stays at the root.
void appendComponents(std::string& result, std::string_view path) {
  std::size_t position = 0;
  while (position < path.size()) {
    while (position < path.size() && isSeparator(path[position])) ++position;
    std::size_t end = position;
    while (end < path.size() && !isSeparator(path[end])) ++end;
    const std::string_view component = path.substr(position, end - position);
    position = end;
    if (component.empty() || component == ".") continue;
    if (component == "..") {
      if (!result.empty()) result.resize(result.rfind('/'));
      continue;
    }
    result += '/';
    result += component;
  }
}

}  // namespace

std::string fullPath(const char* name) {
  const std::string_view path = name ? name : "";
  std::string result;
  if (path.empty() || !isSeparator(path.front())) appendComponents(result, currentDirectory());
  appendComponents(result, path);
  return result.empty() ? "/" : result;
}

}  // namespace platform
