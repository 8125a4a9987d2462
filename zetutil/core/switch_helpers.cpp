// Command-line switches: a '/', the switch character and a value written
// right behind it. Every switch that is read is cut out of the line, so what
// remains once a tool has read its options is the free text.
#include <algorithm>
#include <cstring>
#include <limits>

#include "text_rules.h"
#include "zetutil.h"

namespace {

// The caller's string buffer for a switch value; a longer value is refused.
constexpr std::size_t kValueBufferSize = 256;

unsigned char byteAt(const char* text, std::size_t index) { return static_cast<unsigned char>(text[index]); }

void cut(char* line, std::size_t start, std::size_t count) {
  char* rest = line + start + count;
  std::memmove(line + start, rest, std::strlen(rest) + 1);
}

enum class SwitchKind { Flag, Number, String };

bool startsNumber(const char* value) {
  return zet::isDigit(byteAt(value, 0)) || (value[0] == '-' && zet::isDigit(byteAt(value, 1)));
}

// What follows the switch character decides what kind of switch it is. A
// flag is followed by a blank, the end, or punctuation below '0'; a byte of
// 128 or above is text and so starts a string value, not a flag.
bool valueFits(const char* value, SwitchKind kind) {
  switch (kind) {
    case SwitchKind::Flag:
      return byteAt(value, 0) < '0';
    case SwitchKind::Number:
      return startsNumber(value);
    case SwitchKind::String:
      return value[0] != '\0' && !zet::isBlank(byteAt(value, 0));
  }
  return false;
}

bool sameSwitchCharacter(unsigned char lineByte, unsigned char character) {
  return zet::asciiUpper(lineByte) == zet::asciiUpper(character);
}

// The '/' of the first switch with the character whose value fits the kind.
char* findSwitch(char* line, std::uint8_t character, SwitchKind kind) {
  for (char* slash = std::strchr(line, '/'); slash; slash = std::strchr(slash + 1, '/')) {
    if (slash[1] != '\0' && sameSwitchCharacter(byteAt(slash, 1), character) && valueFits(slash + 2, kind)) {
      return slash;
    }
  }
  return nullptr;
}

std::size_t unquotedValueLength(const char* value) {
  std::size_t length = 0;
  while (value[length] != '\0' && value[length] != '/' && !zet::isBlank(byteAt(value, length))) ++length;
  return length;
}

// Where a switch's value lies and how far the whole switch reaches. A quoted
// value runs to the next quote, or to the end of the line without one.
struct SwitchExtent {
  const char* value;
  std::size_t valueLength;
  std::size_t switchLength;
};

SwitchExtent switchExtent(const char* slash) {
  const char* value = slash + 2;
  if (*value != '"') {
    const std::size_t length = unquotedValueLength(value);
    return {value, length, 2 + length};
  }
  const char* closing = std::strchr(value + 1, '"');
  const std::size_t length = closing ? static_cast<std::size_t>(closing - value) - 1 : std::strlen(value + 1);
  return {value + 1, length, 3 + length + (closing ? 1 : 0)};
}

// Digits after an optional '-', saturated to the 32-bit range.
std::int32_t readSwitchNumber(const char* value, std::size_t& length) {
  const bool negative = value[0] == '-';
  const std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + (negative ? 1 : 0);
  std::int64_t magnitude = 0;
  length = negative ? 1 : 0;
  for (; zet::isDigit(byteAt(value, length)); ++length) {
    magnitude = std::min(limit, magnitude * 10 + (value[length] - '0'));
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

void copyValue(char* out, const char* value, std::size_t length) {
  std::memcpy(out, value, length);
  out[length] = '\0';
}

// Cuts every switch with the character that starts before `end` (the
// position of its cancelling switch), never reaching past `end`. Returns
// where the cancelling switch stands afterwards.
std::size_t cutSwitchesBefore(char* line, std::size_t end, unsigned char character) {
  std::size_t scan = 0;
  while (scan + 1 < end) {
    if (line[scan] == '/' && sameSwitchCharacter(byteAt(line, scan + 1), character)) {
      const std::size_t length = std::min(switchExtent(line + scan).switchLength, end - scan);
      cut(line, scan, length);
      end -= length;
    } else {
      ++scan;
    }
  }
  return end;
}

}  // namespace

extern "C" {

ZET_EXPORT int32_t ZET_CALL GetSwitch(char* commandLine, uint8_t character) {
  if (!commandLine) return 0;
  char* slash = findSwitch(commandLine, character, SwitchKind::Flag);
  if (!slash) return 0;
  cut(commandLine, static_cast<std::size_t>(slash - commandLine), 2);
  return 1;
}

ZET_EXPORT int32_t ZET_CALL GetSwitchNum(char* commandLine, uint8_t character, int32_t defaultValue) {
  if (!commandLine) return defaultValue;
  char* slash = findSwitch(commandLine, character, SwitchKind::Number);
  if (!slash) return defaultValue;
  std::size_t valueLength = 0;
  const std::int32_t value = readSwitchNumber(slash + 2, valueLength);
  cut(commandLine, static_cast<std::size_t>(slash - commandLine), 2 + valueLength);
  return value;
}

ZET_EXPORT void ZET_CALL GetSwitchFractional(char* commandLine, uint8_t character, int32_t* numerator,
                                             int32_t* denominator, int32_t defaultNumerator,
                                             int32_t defaultDenominator) {
  char* slash = commandLine ? findSwitch(commandLine, character, SwitchKind::Number) : nullptr;
  if (!slash) {
    if (numerator) *numerator = defaultNumerator;
    if (denominator) *denominator = defaultDenominator;
    return;
  }
  const char* end = atofr(slash + 2, numerator, denominator);
  cut(commandLine, static_cast<std::size_t>(slash - commandLine), static_cast<std::size_t>(end - slash));
}

ZET_EXPORT int32_t ZET_CALL GetSwitchStr(char* commandLine, uint8_t character, char* out,
                                         const char* defaultValue) {
  if (!out) return 0;
  char* slash = commandLine ? findSwitch(commandLine, character, SwitchKind::String) : nullptr;
  if (slash) {
    const SwitchExtent extent = switchExtent(slash);
    if (extent.valueLength < kValueBufferSize) {
      copyValue(out, extent.value, extent.valueLength);
      cut(commandLine, static_cast<std::size_t>(slash - commandLine), extent.switchLength);
      return 1;
    }
  }
  // A value too long for `out` is refused, not cut short: the switch counts
  // as absent and stays in the line. A default that does not fit is no
  // value at all.
  const std::size_t defaultLength = defaultValue ? std::strlen(defaultValue) : kValueBufferSize;
  if (defaultLength < kValueBufferSize) {
    copyValue(out, defaultValue, defaultLength);
  } else {
    *out = '\0';
  }
  return 0;
}

// "/-X" cancels every X switch to its left, so that in a line assembled from
// pieces a later option overrides an earlier one.
ZET_EXPORT char* ZET_CALL RemoveMinusSwitches(char* commandLine) {
  if (!commandLine) return commandLine;
  std::size_t position = 0;
  while (char* mark = std::strstr(commandLine + position, "/-")) {
    if (mark[2] == '\0') {
      *mark = '\0';
      break;
    }
    const unsigned char character = byteAt(mark, 2);
    position = cutSwitchesBefore(commandLine, static_cast<std::size_t>(mark - commandLine), character);
    cut(commandLine, position, 3);
  }
  return commandLine;
}
}
