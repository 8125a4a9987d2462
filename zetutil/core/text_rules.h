// The character rules every text helper shares. Text is bytes and names are
// UTF-8, so only ASCII is ever classified or case-folded: bytes of 128 and
// above are always text, which keeps a UTF-8 name from being cut apart.
#pragma once

#include <string_view>

namespace zet {

// Spaces and control characters; the terminating NUL is not a blank, so
// scans that stop at a non-blank stop at the end of the text too.
constexpr bool isBlank(unsigned char byte) { return byte != 0 && byte <= ' '; }

constexpr bool isDigit(unsigned char byte) { return byte >= '0' && byte <= '9'; }

constexpr unsigned char asciiUpper(unsigned char byte) {
  return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - ('a' - 'A')) : byte;
}

constexpr std::string_view withoutLeadingBlanks(std::string_view text) {
  while (!text.empty() && isBlank(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  return text;
}

constexpr std::string_view withoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && isBlank(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

constexpr std::string_view withoutBlanksAround(std::string_view text) {
  return withoutTrailingBlanks(withoutLeadingBlanks(text));
}

}  // namespace zet
