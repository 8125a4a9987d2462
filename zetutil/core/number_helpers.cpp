// Numbers as the tools read and write them: decimal text, fractions such as
// frame rates ("29.97", "30000;1001") and durations in words.
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <limits>
#include <numeric>

#include "text_rules.h"
#include "zetutil.h"

namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

// Digits are gathered in 64 bits up to this bound, so a long run of digits
// can never overflow; the products of two 32-bit fractions stay far below
// the 64-bit limit.
constexpr std::int64_t kDigitLimit = 100'000'000'000'000'000;

// A fraction with its sign kept apart: both parts are never negative.
struct Fraction {
  std::int64_t numerator = 0;
  std::int64_t denominator = 1;
};

void reduce(Fraction& fraction) {
  if (fraction.numerator == 0 || fraction.denominator == 0) return;
  const std::int64_t divisor = std::gcd(fraction.numerator, fraction.denominator);
  fraction.numerator /= divisor;
  fraction.denominator /= divisor;
}

// Reduces the fraction and, when it still does not fit 32 bits, gives the
// closest fraction whose parts do: the last convergent of its continued
// fraction that fits. A value beyond the 32-bit range saturates.
Fraction fitInt32(Fraction fraction) {
  reduce(fraction);
  if (fraction.numerator <= kInt32Max && fraction.denominator <= kInt32Max) return fraction;
  if (fraction.numerator / fraction.denominator >= kInt32Max) return {kInt32Max, 1};
  Fraction beforeLast{0, 1};
  Fraction last{1, 0};
  std::int64_t dividend = fraction.numerator;
  std::int64_t divisor = fraction.denominator;
  while (divisor != 0) {
    const std::int64_t term = dividend / divisor;
    if (last.numerator > 0 && term > (kInt32Max - beforeLast.numerator) / last.numerator) break;
    if (last.denominator > 0 && term > (kInt32Max - beforeLast.denominator) / last.denominator) break;
    const Fraction next{term * last.numerator + beforeLast.numerator,
                        term * last.denominator + beforeLast.denominator};
    beforeLast = last;
    last = next;
    const std::int64_t remainder = dividend % divisor;
    dividend = divisor;
    divisor = remainder;
  }
  return last;
}

int digitValue(unsigned char byte) { return byte - '0'; }

// digits[.digits], reduced. Integer digits past the limit saturate; decimals
// that no longer fit are read over and dropped, losing only precision.
Fraction parseUnsignedDecimal(const unsigned char*& cursor) {
  Fraction value;
  for (; zet::isDigit(*cursor); ++cursor) {
    const int digit = digitValue(*cursor);
    value.numerator = value.numerator > (kDigitLimit - digit) / 10 ? kDigitLimit : value.numerator * 10 + digit;
  }
  if (*cursor == '.') {
    for (++cursor; zet::isDigit(*cursor); ++cursor) {
      const int digit = digitValue(*cursor);
      if (value.numerator > (kDigitLimit - digit) / 10 || value.denominator > kDigitLimit / 10) continue;
      value.numerator = value.numerator * 10 + digit;
      value.denominator *= 10;
    }
  }
  return fitInt32(value);
}

void store(std::int32_t* target, std::int64_t value) {
  if (target) *target = static_cast<std::int32_t>(value);
}

const char* plural(std::uint32_t count) { return count == 1 ? "" : "s"; }

}  // namespace

extern "C" {

ZET_EXPORT char* ZET_CALL U32toa(char* buffer, uint32_t value) {
  // The value is written as its signed 32-bit reading: 4294967295 is "-1".
  constexpr std::size_t kBufferSize = 12;
  const int length = std::snprintf(buffer, kBufferSize, "%" PRId32, static_cast<std::int32_t>(value));
  return buffer + length;
}

ZET_EXPORT uint32_t ZET_CALL atoU32(const char* text) {
  if (!text) return 0;
  auto cursor = reinterpret_cast<const unsigned char*>(text);
  while (zet::isBlank(*cursor)) ++cursor;
  const bool negative = *cursor == '-';
  if (*cursor == '-' || *cursor == '+') ++cursor;
  // Positive values saturate at the largest unsigned value, negative ones at
  // the most negative signed value.
  const std::uint64_t limit = negative ? std::uint64_t{1} << 31 : std::numeric_limits<std::uint32_t>::max();
  std::uint64_t magnitude = 0;
  for (; zet::isDigit(*cursor); ++cursor) magnitude = std::min(limit, magnitude * 10 + digitValue(*cursor));
  const auto result = static_cast<std::uint32_t>(magnitude);
  return negative ? 0u - result : result;
}

ZET_EXPORT char* ZET_CALL CommaNum(char* buffer, uint64_t value) {
  char reversed[27];
  std::size_t length = 0;
  int digitsInGroup = 0;
  do {
    if (digitsInGroup == 3) {
      reversed[length++] = ',';
      digitsInGroup = 0;
    }
    reversed[length++] = static_cast<char>('0' + value % 10);
    ++digitsInGroup;
    value /= 10;
  } while (value != 0);
  std::reverse_copy(reversed, reversed + length, buffer);
  buffer[length] = '\0';
  return buffer;
}

ZET_EXPORT char* ZET_CALL GetElapsedTime(char* buffer, uint32_t milliseconds) {
  constexpr std::size_t kBufferSize = 64;
  constexpr std::uint32_t kSecond = 1000;
  constexpr std::uint32_t kMinute = 60 * kSecond;
  constexpr std::uint32_t kHour = 60 * kMinute;
  if (milliseconds < kSecond) {
    std::snprintf(buffer, kBufferSize, "%" PRIu32 " millisecond%s", milliseconds, plural(milliseconds));
  } else if (milliseconds < kMinute) {
    const std::uint32_t seconds = milliseconds / kSecond;
    std::snprintf(buffer, kBufferSize, "%" PRIu32 " second%s", seconds, plural(seconds));
  } else if (milliseconds >= kHour) {
    const std::uint32_t hours = milliseconds / kHour;
    const std::uint32_t minutes = milliseconds % kHour / kMinute;
    std::snprintf(buffer, kBufferSize, "%" PRIu32 " hour%s %" PRIu32 " minute%s", hours, plural(hours), minutes,
                  plural(minutes));
  } else {
    const std::uint32_t minutes = milliseconds / kMinute;
    const std::uint32_t seconds = milliseconds % kMinute / kSecond;
    std::snprintf(buffer, kBufferSize, "%" PRIu32 " minute%s %" PRIu32 " second%s", minutes, plural(minutes),
                  seconds, plural(seconds));
  }
  return buffer;
}

ZET_EXPORT void ZET_CALL GCDNums(int32_t* numerator, int32_t* denominator) {
  if (!numerator || !denominator || *numerator == 0 || *denominator == 0) return;
  // In 64 bits the magnitude of the most negative 32-bit value is no overflow.
  const std::int64_t divisor = std::gcd(std::int64_t{*numerator}, std::int64_t{*denominator});
  store(numerator, *numerator / divisor);
  store(denominator, *denominator / divisor);
}

// [-]digits[.digits][;digits[.digits]]: the part after ';' divides the first.
ZET_EXPORT const char* ZET_CALL atofr(const char* text, int32_t* numerator, int32_t* denominator) {
  store(numerator, 0);
  store(denominator, 1);
  if (!text) return text;
  auto cursor = reinterpret_cast<const unsigned char*>(text);
  if (!zet::isDigit(*cursor) && *cursor != '.' && *cursor != '-') return text;
  const bool negative = *cursor == '-';
  if (negative) ++cursor;
  Fraction value = parseUnsignedDecimal(cursor);
  if (*cursor == ';') {
    ++cursor;
    if (zet::isDigit(*cursor)) {
      const Fraction divisor = parseUnsignedDecimal(cursor);
      value = {value.numerator * divisor.denominator, value.denominator * divisor.numerator};
      if (value.denominator == 0) value.denominator = 1;
      value = fitInt32(value);
    }
  }
  store(numerator, negative ? -value.numerator : value.numerator);
  store(denominator, value.denominator);
  return reinterpret_cast<const char*>(cursor);
}

// Positive values are frames per second, turned into hundredths of a
// millisecond per frame; negative values already are a frame time, in
// milliseconds when small and in hundredths when above 1500.
ZET_EXPORT int32_t ZET_CALL MakeFrameRate(int32_t value) {
  if (value == 0) return 0;
  std::int64_t result = 0;
  if (value < -1500) {
    result = std::min(-std::int64_t{value}, kInt32Max);
  } else if (value < 0) {
    result = -std::int64_t{value} * 100;
  } else {
    result = 100000 / value;
  }
  return static_cast<int32_t>(std::max<std::int64_t>(result, 5));
}
}
