#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "bit_writer.h"
#include "code_tree.h"

namespace zet {
namespace {

using testing::BitWriter;

// The symbol each code index of `table` decodes to under `tree`, found by
// feeding the table's codes through it.
std::array<unsigned, 16> symbolsByIndex(const CodeTree& tree, unsigned table) {
  std::array<unsigned, 16> symbols{};
  for (unsigned index = 0; index < 16; ++index) {
    BitWriter bits;
    bits.put(prefixCodes[table][index].bits, prefixCodes[table][index].length);
    const std::vector<std::uint8_t> data = bits.words();
    BitReader reader(data.data(), data.data() + data.size());
    symbols[index] = decodeSymbol(reader, tree);
    EXPECT_EQ(reader.nextWord(), data.data() + 4);
  }
  return symbols;
}

CodeTree readTree(const BitWriter& bits) {
  const std::vector<std::uint8_t> data = bits.words();
  BitReader reader(data.data(), data.data() + data.size());
  return readCodeTree(reader);
}

TEST(CodeTreeReaderTest, TableZeroIsThePlainFourBitCode) {
  BitWriter bits;
  bits.put(0, 4);
  const auto symbols = symbolsByIndex(readTree(bits), 0);
  for (unsigned i = 0; i < 16; ++i) EXPECT_EQ(symbols[i], i);
}

TEST(CodeTreeReaderTest, ListFormPutsListedSymbolsFirstThenTheRestInOrder) {
  BitWriter bits;
  bits.put(5, 4);      // table 5
  bits.putBit(true);   // list form
  bits.put(2, 3);      // three symbols
  bits.put(9, 4);
  bits.put(0, 4);
  bits.put(15, 4);
  const auto symbols = symbolsByIndex(readTree(bits), 5);
  const std::array<unsigned, 16> expected = {9, 0, 15, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14};
  EXPECT_EQ(symbols, expected);
}

TEST(CodeTreeReaderTest, MergeFormFollowsTheSwapAndMergeBits) {
  BitWriter bits;
  bits.put(13, 4);
  bits.putBit(false);  // merge form
  bits.put(1, 2);      // one merge pass
  // Pairs: swap (0,1) and (6,7) -> 1 0 2 3 4 5 7 6 8 9 ...
  for (unsigned pair = 0; pair < 8; ++pair) bits.putBit(pair == 0 || pair == 3);
  // Merging runs of 2, [1 0] with [2 3]: 2 from B, then 1 and 0 from A; 3 follows.
  bits.putBit(true);
  bits.putBit(false);
  bits.putBit(false);
  // [4 5]+[7 6]: A, A, then the rest of B.
  bits.putBit(false);
  bits.putBit(false);
  // [8 9]+[10 11], [12 13]+[14 15]: B, B and B, B.
  bits.putBit(true);
  bits.putBit(true);
  bits.putBit(true);
  bits.putBit(true);
  const auto symbols = symbolsByIndex(readTree(bits), 13);
  const std::array<unsigned, 16> expected = {2, 1, 0, 3, 4, 5, 7, 6, 10, 11, 8, 9, 14, 15, 12, 13};
  EXPECT_EQ(symbols, expected);
}

}  // namespace
}  // namespace zet
