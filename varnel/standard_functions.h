// Small text, number, path and settings routines shared by the whole program.
// Paths accept both '/' and '\' as separators and are written with '/'.
#pragma once

#include <cstdint>
#include <string>

namespace varnel {

// The value of key in section of the ini file, cut at the first ';' and without
// trailing blanks; defaultValue when that leaves nothing. Values are returned
// whole, however long.
std::string IniRead(const std::string& section, const std::string& key, const std::string& file,
                    const std::string& defaultValue);
// False when the file cannot be written.
bool IniWrite(const std::string& section, const std::string& key, const std::string& value,
              const std::string& file);

// Decimal digits of value padded with zeros to minDigits, "-" in front of
// negative values: NumToStr(-999, 4) is "-0999".
std::string NumToStr(std::int64_t value, int minDigits);

// folder + subPath + file, with a separator after folder and (when file is
// given) after subPath unless they are empty or already end with one.
std::string BuildPath(const std::string& folder, const std::string& subPath, const std::string& file = {});

struct SplitPathResult {
  std::string fileName;
  std::string folder;
};
SplitPathResult SplitPath(const std::string& path);
std::string GetFolder(const std::string& path);

// The text after the last '.', in upper case; empty without a '.'.
std::string GetExtension(const std::string& name);
std::string StripExtension(const std::string& name);

// An absolute path: a drive part ("C:") or a leading separator, then parts
// free of \ / : * ? " < > |, where only the last part may be empty.
bool IsValidPath(const std::string& path);
// With validate set, false for an invalid path, and folders count as files.
bool FileExists(const std::string& path, bool validate);
bool FolderExists(const std::string& path, bool validate);

// text without any of the characters of chars; blanks in chars only separate.
std::string RemoveChars(const std::string& text, const std::string& chars);

// ASCII-only helpers for the rules above.
bool isBlank(char c);
bool isPathSeparator(char c);
std::string toUpperAscii(std::string text);
bool equalsIgnoringCase(const std::string& first, const std::string& second);

}  // namespace varnel
