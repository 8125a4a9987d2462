// The text of an ini file kept line by line, so that an edit leaves every
// other line, comment and line end as it was. Names match and values read
// as profile.h describes; a section is its header line and the lines up to
// the next header, and where a section or key occurs twice the first one
// counts. Lines before the first section, comments, lines without '=' and
// lines that are not text at all are kept but never match.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile.h"

namespace platform {

class ProfileDocument {
 public:
  ProfileDocument() = default;
  explicit ProfileDocument(std::string_view text);

  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  // Each key of the section once, with the value a lookup gives, in file order.
  ProfileEntries entries(std::string_view section) const;
  std::vector<std::string> sectionNames() const;
  std::vector<std::string> keys(std::string_view section) const;

  // Replaces the first line of the key in place, or adds the key after the
  // last line of its section, or adds the section at the end. False, with
  // nothing changed, for names or values that would not read back as the
  // same key (a line break, a NUL, '=' in a key, ']' in a section name,
  // blanks around a name, an empty key or one starting with ';' or '[').
  bool setValue(std::string_view section, std::string_view key, std::string_view value);
  // Remove every line of the key in its section, or every section of that
  // name; true when something was removed.
  bool deleteKey(std::string_view section, std::string_view key);
  bool deleteSection(std::string_view section);

  std::string text() const;

 private:
  struct Line {
    std::string text;
    std::string ending;  // "\n", "\r\n", or empty for a last line without one
  };

  std::optional<std::size_t> findSection(std::string_view section) const;
  std::size_t sectionEnd(std::size_t header) const;
  std::optional<std::size_t> findKey(std::size_t header, std::string_view key) const;
  void insertLine(std::size_t position, std::string text);

  std::string byteOrderMark_;
  std::vector<Line> lines_;
  std::string newLine_ = "\n";  // the file's own line end, used for added lines
};

}  // namespace platform
