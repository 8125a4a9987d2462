#include <algorithm>
#include <cstddef>

#include "code_tree.h"

namespace zet {

namespace {

using Permutation = std::array<std::uint8_t, kPrefixCodeSymbols>;

// The first symbols of the permutation listed, the others following in
// increasing order.
Permutation readListedPermutation(BitReader& bits) {
  const unsigned listed = bits.read(3) + 1;
  Permutation permutation{};
  std::array<bool, kPrefixCodeSymbols> taken{};
  for (unsigned i = 0; i < listed; ++i) {
    permutation[i] = static_cast<std::uint8_t>(bits.read(4));
  }
  // A damaged list may name a symbol twice; it still takes one place only
  // in the rest, which keeps the lookup defined.
  for (unsigned i = 0; i < listed; ++i) taken[permutation[i]] = true;
  unsigned next = listed;
  for (unsigned symbol = 0; symbol < kPrefixCodeSymbols && next < kPrefixCodeSymbols; ++symbol) {
    if (!taken[symbol]) permutation[next++] = static_cast<std::uint8_t>(symbol);
  }
  return permutation;
}

// The symbols 0..15 sorted by the steps of a merge sort whose decisions are
// the bits: swaps of neighbouring pairs, then `passes` merges of runs of 2,
// 4 and 8.
Permutation readMergedPermutation(BitReader& bits) {
  const unsigned passes = bits.read(2);
  Permutation list{};
  for (unsigned i = 0; i < kPrefixCodeSymbols; ++i) list[i] = static_cast<std::uint8_t>(i);
  for (unsigned i = 0; i < kPrefixCodeSymbols; i += 2) {
    if (bits.readBit()) std::swap(list[i], list[i + 1]);
  }
  for (unsigned pass = 0, run = 2; pass < passes; ++pass, run *= 2) {
    Permutation merged{};
    std::size_t out = 0;
    for (std::size_t start = 0; start < kPrefixCodeSymbols; start += 2 * run) {
      std::size_t a = start;
      std::size_t b = start + run;
      const std::size_t aEnd = start + run;
      const std::size_t bEnd = start + 2 * run;
      while (a < aEnd && b < bEnd) merged[out++] = bits.readBit() ? list[b++] : list[a++];
      while (a < aEnd) merged[out++] = list[a++];
      while (b < bEnd) merged[out++] = list[b++];
    }
    list = merged;
  }
  return list;
}

Permutation readPermutation(BitReader& bits) {
  return bits.readBit() ? readListedPermutation(bits) : readMergedPermutation(bits);
}

}  // namespace

CodeTree readCodeTree(BitReader& bits) {
  const unsigned table = bits.read(4);
  Permutation permutation{};
  if (table == 0) {
    for (unsigned i = 0; i < kPrefixCodeSymbols; ++i) permutation[i] = static_cast<std::uint8_t>(i);
  } else {
    permutation = readPermutation(bits);
  }
  CodeTree tree;
  const PrefixCodeLookup& codes = prefixCodeLookup[table];
  for (std::size_t peeked = 0; peeked < codes.size(); ++peeked) {
    const unsigned entry = codes[peeked];
    tree.lookup[peeked] = static_cast<std::uint8_t>((entry & 0xF0) | permutation[entry & 15]);
  }
  return tree;
}

}  // namespace zet
