#include "standard_functions.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/file.h"
#include "platform/profile.h"

namespace varnel {

bool isBlank(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code <= ' ' || code == 127;
}

bool isPathSeparator(char c) { return c == '/' || c == '\\'; }

std::string toUpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool equalsIgnoringCase(const std::string& first, const std::string& second) {
  return first.size() == second.size() && toUpperAscii(first) == toUpperAscii(second);
}

std::string IniRead(const std::string& section, const std::string& key, const std::string& file,
                    const std::string& defaultValue) {
  std::string value = platform::profileString(file, section, key, "");
  value = value.substr(0, value.find(';'));
  while (!value.empty() && isBlank(value.back())) value.pop_back();
  return value.empty() ? defaultValue : value;
}

bool IniWrite(const std::string& section, const std::string& key, const std::string& value,
              const std::string& file) {
  return platform::writeProfileString(file, section, key, value);
}

std::string NumToStr(std::int64_t value, int minDigits) {
  // The magnitude goes through unsigned arithmetic so that the most negative
  // value has a representable absolute value.
  auto magnitude = static_cast<std::uint64_t>(value);
  if (value < 0) magnitude = ~magnitude + 1;
  std::string digits = std::to_string(magnitude);
  if (static_cast<int>(digits.size()) < minDigits) {
    digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
  }
  return value < 0 ? "-" + digits : digits;
}

namespace {

std::string withSeparator(const std::string& part) {
  if (part.empty() || isPathSeparator(part.back())) return part;
  return part + '/';
}

// Characters no part of a path may hold, so that every name stays valid on
// both Windows and Linux.
bool isForbiddenInPath(char c) {
  return std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
}

}  // namespace

std::string BuildPath(const std::string& folder, const std::string& subPath, const std::string& file) {
  return withSeparator(folder) + (file.empty() ? subPath : withSeparator(subPath)) + file;
}

SplitPathResult SplitPath(const std::string& path) {
  std::string trimmed = path;
  if (!trimmed.empty() && isPathSeparator(trimmed.back())) trimmed.pop_back();
  const std::size_t separator = trimmed.find_last_of("/\\");
  if (separator == std::string::npos) return {trimmed, ""};
  return {trimmed.substr(separator + 1), trimmed.substr(0, separator)};
}

std::string GetFolder(const std::string& path) { return SplitPath(path).folder; }

std::string GetExtension(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : toUpperAscii(name.substr(dot + 1));
}

std::string StripExtension(const std::string& name) { return name.substr(0, name.rfind('.')); }

bool IsValidPath(const std::string& path) {
  std::vector<std::string> parts(1);
  for (char c : path) {
    if (isPathSeparator(c)) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  const std::string& root = parts.front();
  const bool startsAtRoot = root.empty() && parts.size() > 1;
  const bool startsWithDrive = root.size() == 2 && root[1] == ':' && !isForbiddenInPath(root[0]);
  if (!startsAtRoot && !startsWithDrive) return false;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    if (parts[i].empty() && i + 1 != parts.size()) return false;
    if (std::any_of(parts[i].begin(), parts[i].end(), isForbiddenInPath)) return false;
  }
  return true;
}

bool FileExists(const std::string& path, bool validate) {
  if (path.empty()) return false;
  if (validate) return IsValidPath(path) && platform::fileExists(path.c_str());
  return platform::isRegularFile(path.c_str());
}

bool FolderExists(const std::string& path, bool validate) {
  if (path.empty() || (validate && !IsValidPath(path))) return false;
  return platform::isDirectory(path.c_str());
}

std::string RemoveChars(const std::string& text, const std::string& chars) {
  std::string result;
  for (char c : text) {
    if (c == ' ' || chars.find(c) == std::string::npos) result += c;
  }
  return result;
}

}  // namespace varnel
