// The sixteen fixed prefix codes of the house video format. A code tree of a
// plane names one of them and maps its 16 code indices to symbols.
#pragma once

#include <array>
#include <cstdint>

namespace zet {

inline constexpr unsigned kPrefixCodeTables = 16;
inline constexpr unsigned kPrefixCodeSymbols = 16;
// Bits peeked to decode one symbol: the longest code of any table.
inline constexpr unsigned kPrefixCodePeekBits = 7;

struct PrefixCode {
  std::uint8_t length = 0;
  // The code's bits in the order they are read or written: the first one is
  // bit 0, which is how a least-significant-bit-first stream delivers them.
  std::uint8_t bits = 0;
};

// prefixCodes[table][index]
using PrefixCodeTable = std::array<PrefixCode, kPrefixCodeSymbols>;
extern const std::array<PrefixCodeTable, kPrefixCodeTables> prefixCodes;

// For every table and every value of kPrefixCodePeekBits peeked bits: the
// length of the code those bits start with x 16 + its code index. Every
// table is a complete code, so every peeked value names a code.
using PrefixCodeLookup = std::array<std::uint8_t, 1u << kPrefixCodePeekBits>;
extern const std::array<PrefixCodeLookup, kPrefixCodeTables> prefixCodeLookup;

}  // namespace zet
