// A code tree of a plane: one of the fixed prefix codes and a permutation
// of the 16 symbols over its code indices, read from the start of the plane.
#pragma once

#include <array>
#include <cstdint>

#include "bit_reader.h"
#include "prefix_codes.h"

namespace zet {

struct CodeTree {
  // For every value of kPrefixCodePeekBits peeked bits: code length x 16 +
  // the symbol that code stands for.
  std::array<std::uint8_t, 1u << kPrefixCodePeekBits> lookup{};
};

CodeTree readCodeTree(BitReader& bits);

inline unsigned decodeSymbol(BitReader& bits, const CodeTree& tree) {
  const unsigned entry = tree.lookup[bits.peek(kPrefixCodePeekBits)];
  bits.skip(entry >> 4);
  return entry & 15;
}

}  // namespace zet
