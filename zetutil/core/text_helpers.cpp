// Trimming and word splitting of caller-owned strings, done in place.
#include <cstring>
#include <string_view>

#include "text_rules.h"
#include "zetutil.h"

namespace {

unsigned char byteAt(const char* text, std::size_t index) { return static_cast<unsigned char>(text[index]); }

// Moves a piece of the text to its start; the piece lies inside the text.
void keepOnly(char* text, std::string_view piece) {
  std::memmove(text, piece.data(), piece.size());
  text[piece.size()] = '\0';
}

void trimLeft(char* text) { keepOnly(text, zet::withoutLeadingBlanks(text)); }

void trimBoth(char* text) { keepOnly(text, zet::withoutBlanksAround(text)); }

// Takes the first item off `line` into `out`. An item is a run of non-blanks;
// the blanks behind it and one comma after those blanks separate it from the
// rest and belong to neither. With `honourQuotes`, an item that opens with a
// quote runs to the closing quote and keeps its blanks; without a closing
// quote the rest of the line is the item.
char* takeFirstItem(char* out, char* line, bool honourQuotes) {
  if (!out) return out;
  if (!line) {
    *out = '\0';
    return out;
  }
  trimLeft(line);
  const std::string_view rest(line);
  std::string_view item;
  std::size_t consumed = 0;
  if (honourQuotes && line[0] == '"') {
    const std::size_t closing = rest.find('"', 1);
    if (closing != std::string_view::npos) {
      item = rest.substr(1, closing - 1);
      consumed = closing + 1;
    } else {
      item = zet::withoutTrailingBlanks(rest);
      consumed = rest.size();
    }
  } else {
    while (consumed < rest.size() && !zet::isBlank(byteAt(line, consumed))) ++consumed;
    item = rest.substr(0, consumed);
    while (zet::isBlank(byteAt(line, consumed))) ++consumed;
    if (line[consumed] == ',') ++consumed;
  }
  std::memmove(out, item.data(), item.size());
  out[item.size()] = '\0';
  keepOnly(line, honourQuotes ? zet::withoutBlanksAround(rest.substr(consumed))
                              : zet::withoutLeadingBlanks(rest.substr(consumed)));
  return out;
}

}  // namespace

extern "C" {

ZET_EXPORT char* ZET_CALL Trim(char* text) {
  if (text) trimBoth(text);
  return text;
}

ZET_EXPORT char* ZET_CALL TrimL(char* text) {
  if (text) trimLeft(text);
  return text;
}

// Bytes of 128 and above are text under the one blank rule, so trimming to
// ASCII and trimming blanks are the same thing.
ZET_EXPORT char* ZET_CALL TrimAscii(char* text) { return Trim(text); }

ZET_EXPORT int32_t ZET_CALL RemoveQuotes(char* text) {
  if (!text) return 0;
  trimBoth(text);
  const std::string_view trimmed(text);
  if (trimmed.size() < 2 || trimmed.front() != '"' || trimmed.back() != '"') return 0;
  keepOnly(text, trimmed.substr(1, trimmed.size() - 2));
  return 1;
}

ZET_EXPORT char* ZET_CALL GetAndRemoveFirst(char* out, char* line) { return takeFirstItem(out, line, false); }

ZET_EXPORT char* ZET_CALL GetAndRemoveFirstQuoted(char* out, char* line) { return takeFirstItem(out, line, true); }

ZET_EXPORT char* ZET_CALL findchar(const char* text, uint8_t byte) {
  if (!text || byte == 0) return nullptr;
  return const_cast<char*>(std::strchr(text, static_cast<char>(byte)));
}
}
