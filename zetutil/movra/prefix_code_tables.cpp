#include <cstddef>
#include <string_view>

#include "prefix_codes.h"

namespace zet {

namespace {

// Codes of index 0 to 15 of each table, written as their bits in the order
// they are read.
constexpr std::string_view kCodeTexts[kPrefixCodeTables] = {
    "0000 1000 0100 1100 0010 1010 0110 1110 0001 1001 0101 1101 0011 1011 0111 1111",
    "0 1000 11000 10100 11100 10010 11010 10110 11110 11001 10101 11101 10011 11011 10111 11111",
    "00 01 1000 1001 10100 10101 10110 10111 11000 11001 11010 11011 11100 11101 11110 11111",
    "00 010 011 1000 1001 1010 10110 10111 11000 11001 11010 11011 11100 11101 11110 11111",
    "000 001 010 011 1000 1001 1010 1011 11000 11001 11010 11011 11100 11101 11110 11111",
    "000 001 0100 0101 0110 0111 1000 1001 1010 1011 1100 1101 11100 11101 11110 11111",
    "00 0100 0101 0110 0111 1000 1001 1010 1011 1100 11010 11011 11100 11101 11110 11111",
    "0 100 101 11000 11001 11010 110110 110111 111000 111001 111010 111011 111100 111101 111110 "
    "111111",
    "0 10 11000 11001 110100 110101 110110 110111 111000 111001 111010 111011 111100 111101 111110 "
    "111111",
    "0 100 1010 1011 11000 11001 11010 11011 111000 111001 111010 111011 111100 111101 111110 "
    "111111",
    "00 01 100 1010 1011 11000 11001 11010 11011 11100 111010 111011 111100 111101 111110 111111",
    "0 1000 1001 1010 1011 11000 11001 11010 11011 11100 111010 111011 111100 111101 111110 111111",
    "00 01 10 11000 11001 11010 110110 110111 111000 111001 111010 111011 111100 111101 111110 "
    "111111",
    "0 100 101 110 111000 111001 111010 111011 1111000 1111001 1111010 1111011 1111100 1111101 "
    "1111110 1111111",
    "0 100 101 110 11100 111010 1110110 1110111 1111000 1111001 1111010 1111011 1111100 1111101 "
    "1111110 1111111",
    "00 01 100 101 110 111000 111001 111010 111011 111100 1111010 1111011 1111100 1111101 1111110 "
    "1111111",
};

constexpr PrefixCodeTable parseCodes(std::string_view text) {
  PrefixCodeTable table{};
  std::size_t index = 0;
  for (char c : text) {
    if (c == ' ') {
      ++index;
      continue;
    }
    PrefixCode& code = table[index];
    if (c == '1') code.bits = static_cast<std::uint8_t>(code.bits | (1u << code.length));
    ++code.length;
  }
  return table;
}

constexpr std::array<PrefixCodeTable, kPrefixCodeTables> parseAllCodes() {
  std::array<PrefixCodeTable, kPrefixCodeTables> tables{};
  for (std::size_t t = 0; t < kPrefixCodeTables; ++t) tables[t] = parseCodes(kCodeTexts[t]);
  return tables;
}

constexpr std::array<PrefixCodeLookup, kPrefixCodeTables> buildLookup(
    const std::array<PrefixCodeTable, kPrefixCodeTables>& tables) {
  std::array<PrefixCodeLookup, kPrefixCodeTables> lookup{};
  for (std::size_t t = 0; t < kPrefixCodeTables; ++t) {
    for (unsigned peeked = 0; peeked < (1u << kPrefixCodePeekBits); ++peeked) {
      for (unsigned index = 0; index < kPrefixCodeSymbols; ++index) {
        const PrefixCode code = tables[t][index];
        if ((peeked & ((1u << code.length) - 1)) == code.bits) {
          lookup[t][peeked] = static_cast<std::uint8_t>(code.length * 16 + index);
        }
      }
    }
  }
  return lookup;
}

constexpr bool everyPeekNamesOneCode(const std::array<PrefixCodeTable, kPrefixCodeTables>& tables) {
  for (const PrefixCodeTable& table : tables) {
    for (unsigned peeked = 0; peeked < (1u << kPrefixCodePeekBits); ++peeked) {
      unsigned matches = 0;
      for (const PrefixCode& code : table) {
        if (code.length == 0 || code.length > kPrefixCodePeekBits) return false;
        if ((peeked & ((1u << code.length) - 1)) == code.bits) ++matches;
      }
      if (matches != 1) return false;
    }
  }
  return true;
}

constexpr auto kParsedCodes = parseAllCodes();
constexpr auto kLookup = buildLookup(kParsedCodes);
// A peek past the end of a damaged plane sees zeros; the lookup must still
// name a code, and a prefix-free complete code guarantees exactly one.
static_assert(everyPeekNamesOneCode(kParsedCodes));

}  // namespace

const std::array<PrefixCodeTable, kPrefixCodeTables> prefixCodes = kParsedCodes;
const std::array<PrefixCodeLookup, kPrefixCodeTables> prefixCodeLookup = kLookup;

}  // namespace zet
