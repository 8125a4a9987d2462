// Writes the code trees of a plane and the symbols coded with them, in
// either of the two permutation forms.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "bit_writer.h"

namespace zet::testing {

using SymbolOrder = std::array<std::uint8_t, 16>;

SymbolOrder identityOrder();

struct TreeSpec {
  enum class Form { kList, kMerge };

  // Table 0 is the plain 4-bit code with the symbols in order; nothing but
  // the table number is written for it.
  unsigned table = 0;
  Form form = Form::kMerge;
  // List form: how many symbols are listed (1..8); the rest follow in
  // increasing order.
  unsigned listed = 1;
  // Merge form: merge passes (0..3); 3 reaches any order.
  unsigned mergePasses = 3;
  // The symbol wanted at each code index (code index 0 is the shortest code).
  SymbolOrder order = identityOrder();

  static TreeSpec plain() { return {}; }
  static TreeSpec listForm(unsigned table, unsigned listed, const SymbolOrder& order) {
    return {table, Form::kList, listed, 3, order};
  }
  static TreeSpec mergeForm(unsigned table, unsigned passes, const SymbolOrder& order) {
    return {table, Form::kMerge, 1, passes, order};
  }
};

class TreeWriter {
 public:
  explicit TreeWriter(const TreeSpec& spec);

  void writeTree(BitWriter& bits) const;
  void writeSymbol(BitWriter& bits, unsigned symbol) const;

  // The permutation the tree stands for: with the list form, or with fewer
  // than 3 merge passes, it can differ from the order asked for.
  const SymbolOrder& permutation() const { return permutation_; }

 private:
  unsigned table_;
  BitWriter treeBits_;
  SymbolOrder permutation_{};
};

}  // namespace zet::testing
