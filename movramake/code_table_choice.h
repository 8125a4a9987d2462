// The code table of each of a plane's 23 trees, chosen from the counts of
// the symbols it will code: one of the 16 fixed prefix codes and an order of
// the symbols over its code indices, sent as a short list of the most
// frequent symbols or as the bits of a partial merge sort.
#pragma once

#include <array>
#include <cstdint>

#include "bit_writer.h"

namespace movra {

using SymbolCounts = std::array<std::uint32_t, 16>;

struct CodeTable {
  unsigned table = 0;
  bool listForm = false;
  unsigned listLength = 0;  // n: n + 1 symbols are listed
  unsigned mergeDepth = 0;  // d
  std::array<std::uint8_t, 16> order{};     // order[j] = symbol of code index j
  std::array<std::uint8_t, 16> indexOf{};   // inverse of `order`
  std::array<bool, 64> sortBits{};          // pair bits, then merge bits
  unsigned sortBitCount = 0;

  // Sends symbol `symbol` (0..15) with this table.
  template <typename Sink>
  void writeSymbol(Sink& out, unsigned symbol) const;
};

CodeTable chooseCodeTable(const SymbolCounts& counts);

// The table as the decoder reads it at the start of the plane.
void writeCodeTable(BitWriter& out, const CodeTable& table);

}  // namespace movra

#include "prefix_codes.h"

namespace movra {

template <typename Sink>
void CodeTable::writeSymbol(Sink& out, unsigned symbol) const {
  const zet::PrefixCode& code = zet::prefixCodes[table][indexOf[symbol]];
  out.put(code.bits, code.length);
}

}  // namespace movra
