#include "tree_writer.h"

#include <stdexcept>

#include "prefix_codes.h"

namespace zet::testing {

SymbolOrder identityOrder() {
  SymbolOrder order{};
  for (unsigned i = 0; i < 16; ++i) order[i] = static_cast<std::uint8_t>(i);
  return order;
}

namespace {

// Merge-sort decisions that move the symbols towards `wanted`: each
// symbol's key is its wanted position.
SymbolOrder mergeBits(const TreeSpec& spec, BitWriter& bits) {
  std::array<unsigned, 16> key{};
  for (unsigned i = 0; i < 16; ++i) key[spec.order[i]] = i;
  SymbolOrder list = identityOrder();
  bits.put(spec.mergePasses, 2);
  for (unsigned i = 0; i < 16; i += 2) {
    const bool swap = key[list[i + 1]] < key[list[i]];
    bits.putBit(swap);
    if (swap) std::swap(list[i], list[i + 1]);
  }
  for (unsigned pass = 0, run = 2; pass < spec.mergePasses; ++pass, run *= 2) {
    SymbolOrder merged{};
    unsigned out = 0;
    for (unsigned start = 0; start < 16; start += 2 * run) {
      unsigned a = start;
      unsigned b = start + run;
      while (a < start + run && b < start + 2 * run) {
        const bool takeB = key[list[b]] < key[list[a]];
        bits.putBit(takeB);
        merged[out++] = takeB ? list[b++] : list[a++];
      }
      while (a < start + run) merged[out++] = list[a++];
      while (b < start + 2 * run) merged[out++] = list[b++];
    }
    list = merged;
  }
  return list;
}

SymbolOrder listBits(const TreeSpec& spec, BitWriter& bits) {
  if (spec.listed < 1 || spec.listed > 8) throw std::invalid_argument("list form lists 1 to 8 symbols");
  bits.put(spec.listed - 1, 3);
  SymbolOrder permutation{};
  std::array<bool, 16> taken{};
  for (unsigned i = 0; i < spec.listed; ++i) {
    bits.put(spec.order[i], 4);
    permutation[i] = spec.order[i];
    taken[spec.order[i]] = true;
  }
  unsigned next = spec.listed;
  for (unsigned s = 0; s < 16; ++s) {
    if (!taken[s]) permutation[next++] = static_cast<std::uint8_t>(s);
  }
  return permutation;
}

}  // namespace

TreeWriter::TreeWriter(const TreeSpec& spec) : table_(spec.table) {
  treeBits_.put(spec.table, 4);
  if (spec.table == 0) {
    permutation_ = identityOrder();
    return;
  }
  const bool listForm = spec.form == TreeSpec::Form::kList;
  treeBits_.putBit(listForm);
  permutation_ = listForm ? listBits(spec, treeBits_) : mergeBits(spec, treeBits_);
}

void TreeWriter::writeTree(BitWriter& bits) const { bits.append(treeBits_); }

void TreeWriter::writeSymbol(BitWriter& bits, unsigned symbol) const {
  for (unsigned index = 0; index < 16; ++index) {
    if (permutation_[index] == symbol) {
      const PrefixCode code = prefixCodes[table_][index];
      bits.put(code.bits, code.length);
      return;
    }
  }
  throw std::invalid_argument("symbol has no code in this tree");
}

}  // namespace zet::testing
