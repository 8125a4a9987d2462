#include "platform/profile_document.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>

namespace platform {
namespace {

// Built by appending: concatenating temporaries trips a false -Wrestrict
// warning of g++ 12 at -O3.
std::string joined(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (std::string_view piece : pieces) text.append(piece);
  return text;
}

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte <= 0x20 || byte == 0x7F;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

char foldedAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string foldedName(std::string_view name) {
  std::string folded(name);
  std::transform(folded.begin(), folded.end(), folded.begin(), foldedAscii);
  return folded;
}

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return foldedAscii(x) == foldedAscii(y); });
}

std::string_view withoutEnclosingQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
  LineKind kind = LineKind::Other;
  std::string_view name;   // section or key
  std::string_view value;  // of a key
};

ParsedLine parseLine(std::string_view text) {
  const std::string_view line = trimmed(text);
  if (line.empty() || line.front() == ';') return {};
  if (line.front() == '[') {
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) return {};
    return {LineKind::Section, trimmed(line.substr(1, close - 1)), {}};
  }
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {};
  const std::string_view key = trimmed(line.substr(0, equals));
  if (key.empty()) return {};
  return {LineKind::Key, key, withoutEnclosingQuotes(trimmed(line.substr(equals + 1)))};
}

bool hasAny(std::string_view text, std::string_view characters) {
  return text.find_first_of(characters) != std::string_view::npos;
}

constexpr std::string_view kLineBreaksAndNul{"\r\n\0", 3};

bool isWritableName(std::string_view name) {
  return trimmed(name) == name && !hasAny(name, kLineBreaksAndNul);
}

bool isWritableSection(std::string_view section) { return isWritableName(section) && !hasAny(section, "]"); }

bool isWritableKey(std::string_view key) {
  return !key.empty() && isWritableName(key) && key.front() != ';' && key.front() != '[' && !hasAny(key, "=");
}

}  // namespace

ProfileDocument::ProfileDocument(std::string_view text) {
  if (text.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
    byteOrderMark_ = kUtf8ByteOrderMark;
    text.remove_prefix(kUtf8ByteOrderMark.size());
  }
  bool newLineKnown = false;
  while (!text.empty()) {
    const std::size_t lineFeed = text.find('\n');
    if (lineFeed == std::string_view::npos) {
      lines_.push_back({std::string(text), {}});
      break;
    }
    const bool crlf = lineFeed > 0 && text[lineFeed - 1] == '\r';
    const std::size_t length = crlf ? lineFeed - 1 : lineFeed;
    lines_.push_back({std::string(text.substr(0, length)), crlf ? "\r\n" : "\n"});
    if (!newLineKnown) {
      newLine_ = lines_.back().ending;
      newLineKnown = true;
    }
    text.remove_prefix(lineFeed + 1);
  }
}

std::optional<std::size_t> ProfileDocument::findSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const ParsedLine line = parseLine(lines_[i].text);
    if (line.kind == LineKind::Section && sameName(line.name, section)) return i;
  }
  return std::nullopt;
}

std::size_t ProfileDocument::sectionEnd(std::size_t header) const {
  std::size_t end = header + 1;
  while (end < lines_.size() && parseLine(lines_[end].text).kind != LineKind::Section) ++end;
  return end;
}

std::optional<std::size_t> ProfileDocument::findKey(std::size_t header, std::string_view key) const {
  const std::size_t end = sectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    const ParsedLine line = parseLine(lines_[i].text);
    if (line.kind == LineKind::Key && sameName(line.name, key)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> ProfileDocument::value(std::string_view section, std::string_view key) const {
  const auto header = findSection(section);
  if (!header) return std::nullopt;
  const auto line = findKey(*header, key);
  if (!line) return std::nullopt;
  return std::string(parseLine(lines_[*line].text).value);
}

ProfileEntries ProfileDocument::entries(std::string_view section) const {
  ProfileEntries result;
  const auto header = findSection(section);
  if (!header) return result;
  const std::size_t end = sectionEnd(*header);
  std::unordered_set<std::string> seen;
  for (std::size_t i = *header + 1; i < end; ++i) {
    const ParsedLine line = parseLine(lines_[i].text);
    if (line.kind == LineKind::Key && seen.insert(foldedName(line.name)).second) {
      result.emplace_back(line.name, line.value);
    }
  }
  return result;
}

std::vector<std::string> ProfileDocument::keys(std::string_view section) const {
  std::vector<std::string> result;
  for (auto& entry : entries(section)) result.push_back(std::move(entry.first));
  return result;
}

std::vector<std::string> ProfileDocument::sectionNames() const {
  std::vector<std::string> result;
  std::unordered_set<std::string> seen;
  for (const Line& text : lines_) {
    const ParsedLine line = parseLine(text.text);
    if (line.kind == LineKind::Section && seen.insert(foldedName(line.name)).second) result.emplace_back(line.name);
  }
  return result;
}

void ProfileDocument::insertLine(std::size_t position, std::string text) {
  // A last line without a line end gets one before anything follows it.
  if (position == lines_.size() && !lines_.empty() && lines_.back().ending.empty()) lines_.back().ending = newLine_;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(position), Line{std::move(text), newLine_});
}

bool ProfileDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
  if (!isWritableSection(section) || !isWritableKey(key) || hasAny(value, kLineBreaksAndNul)) return false;
  const auto header = findSection(section);
  if (!header) {
    if (!lines_.empty() && !trimmed(lines_.back().text).empty()) insertLine(lines_.size(), {});
    insertLine(lines_.size(), joined({"[", section, "]"}));
    insertLine(lines_.size(), joined({key, "=", value}));
    return true;
  }
  if (const auto existing = findKey(*header, key)) {
    // The key keeps the spelling it has in the file.
    lines_[*existing].text = joined({parseLine(lines_[*existing].text).name, "=", value});
    return true;
  }
  // After the last line of the section that is not blank, so that the blank
  // lines before the next section stay where they are.
  std::size_t position = sectionEnd(*header);
  while (position > *header + 1 && trimmed(lines_[position - 1].text).empty()) --position;
  insertLine(position, joined({key, "=", value}));
  return true;
}

bool ProfileDocument::deleteKey(std::string_view section, std::string_view key) {
  const auto header = findSection(section);
  if (!header) return false;
  const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(*header + 1);
  const auto last = lines_.begin() + static_cast<std::ptrdiff_t>(sectionEnd(*header));
  const auto kept = std::remove_if(first, last, [&](const Line& line) {
    const ParsedLine parsed = parseLine(line.text);
    return parsed.kind == LineKind::Key && sameName(parsed.name, key);
  });
  if (kept == last) return false;
  lines_.erase(kept, last);
  return true;
}

bool ProfileDocument::deleteSection(std::string_view section) {
  // One pass, so that a file of many equal sections costs no more than one read.
  std::vector<Line> kept;
  bool removing = false;
  for (Line& line : lines_) {
    const ParsedLine parsed = parseLine(line.text);
    if (parsed.kind == LineKind::Section) removing = sameName(parsed.name, section);
    if (!removing) kept.push_back(std::move(line));
  }
  const bool removed = kept.size() != lines_.size();
  lines_ = std::move(kept);
  return removed;
}

std::string ProfileDocument::text() const {
  std::string result = byteOrderMark_;
  for (const Line& line : lines_) {
    result += line.text;
    result += line.ending;
  }
  return result;
}

}  // namespace platform
