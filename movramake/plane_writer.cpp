#include "plane_writer.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

#include "bit_writer.h"
#include "code_table_choice.h"

namespace movra {
namespace {

constexpr std::size_t kBatchValues = 512;

// Trees in the order the decoder reads them.
enum TreeIndex : unsigned {
  kBlockTypesTree = 0,
  kBlockSubtypesTree = 1,
  kFirstColorHighTree = 2,  // 16 of them, by the previous colour's high nibble
  kColorsTree = 18,
  kPatternsTree = 19,
  kXOffsetsTree = 20,
  kYOffsetsTree = 21,
  kRunsTree = 22,
};
constexpr unsigned kTrees = 23;

// A run of `repeats` values equal to the one before, as the symbols that
// carry it: repeat codes for 32, 12, 8 and 4, the rest as the value itself.
template <typename Emit>
void splitRepeats(unsigned repeats, unsigned value, Emit&& emit) {
  while (repeats > 0) {
    if (repeats > 32) {
      emit(15u), repeats -= 32;
    } else if (repeats > 12) {
      emit(14u), repeats -= 12;
    } else if (repeats > 8) {
      emit(13u), repeats -= 8;
    } else if (repeats > 4) {
      emit(12u), repeats -= 4;
    } else {
      for (; repeats > 0; --repeats) emit(value);
    }
  }
}

unsigned magnitudeOf(std::int32_t value) { return static_cast<unsigned>(std::abs(value)); }

std::array<SymbolCounts, kTrees> countSymbols(const StagedPlane& staged) {
  std::array<SymbolCounts, kTrees> counts{};
  for (const BundleIndex bundle : {kBlockTypesBundle, kBlockSubtypesBundle}) {
    SymbolCounts& tree = counts[bundle == kBlockTypesBundle ? kBlockTypesTree : kBlockSubtypesTree];
    const auto& values = staged.values[bundle];
    int previous = 0;
    unsigned pending = 0;
    std::size_t next = 0;
    for (const std::size_t rowEnd : staged.rowEnds[bundle]) {
      for (; next < rowEnd; ++next) {
        if (values[next] == previous) {
          ++pending;
          continue;
        }
        splitRepeats(pending, static_cast<unsigned>(previous), [&](unsigned s) { ++tree[s]; });
        pending = 0;
        ++tree[values[next]];
        previous = values[next];
      }
      splitRepeats(pending, static_cast<unsigned>(previous), [&](unsigned s) { ++tree[s]; });
      pending = 0;
    }
  }
  unsigned previousHigh = 0;
  for (const std::int32_t colour : staged.values[kColorsBundle]) {
    ++counts[kFirstColorHighTree + previousHigh][colour >> 4];
    ++counts[kColorsTree][colour & 15];
    previousHigh = static_cast<unsigned>(colour >> 4);
  }
  for (const std::int32_t row : staged.values[kPatternsBundle]) {
    ++counts[kPatternsTree][row & 15];
    ++counts[kPatternsTree][row >> 4];
  }
  for (const std::int32_t dx : staged.values[kXOffsetsBundle]) ++counts[kXOffsetsTree][magnitudeOf(dx)];
  for (const std::int32_t dy : staged.values[kYOffsetsBundle]) ++counts[kYOffsetsTree][magnitudeOf(dy)];
  for (const std::int32_t run : staged.values[kRunsBundle]) ++counts[kRunsTree][run];
  return counts;
}

// Batches of one bundle: each closes at the end of the first block row
// after which it holds 512 values or more; the last closes at the end of
// the plane and may be empty.
std::vector<std::size_t> batchEnds(const std::vector<std::size_t>& rowEnds) {
  std::vector<std::size_t> ends;
  std::size_t start = 0;
  for (const std::size_t rowEnd : rowEnds) {
    if (rowEnd - start >= kBatchValues) {
      ends.push_back(rowEnd);
      start = rowEnd;
    }
  }
  ends.push_back(rowEnds.empty() ? 0 : rowEnds.back());
  return ends;
}

class StreamWriter {
 public:
  StreamWriter(BitWriter& out, const StagedPlane& staged, const std::array<CodeTable, kTrees>& tables,
               std::uint32_t blocksPerRow, BundleUsage& usage)
      : out_(out), staged_(staged), tables_(tables), usage_(usage) {
    const std::uint32_t basis[kBundles] = {blocksPerRow,     blocksPerRow / 2, blocksPerRow * 64,
                                           blocksPerRow * 8, blocksPerRow,     blocksPerRow,
                                           blocksPerRow,     blocksPerRow,     blocksPerRow * 48};
    for (unsigned b = 0; b < kBundles; ++b) {
      countBits_[b] = static_cast<unsigned>(std::bit_width(511u + basis[b]));
      ends_[b] = batchEnds(staged.rowEnds[b]);
      usage_.values[b] = static_cast<std::uint32_t>(staged.values[b].size());
    }
  }

  // Before block row `row`: a new batch for every bundle whose last batch
  // its blocks have used up, or the end mark once no batch is left.
  void refill(std::size_t row) {
    for (unsigned b = 0; b < kBundles; ++b) {
      const std::size_t used = row == 0 ? 0 : staged_.rowEnds[b][row - 1];
      if (ended_[b] || used < written_[b]) continue;
      const std::uint64_t before = out_.bitCount();
      if (nextBatch_[b] == ends_[b].size()) {
        out_.put(0, countBits_[b]);
        ended_[b] = true;
      } else {
        const std::size_t end = ends_[b][nextBatch_[b]++];
        writeBatch(static_cast<BundleIndex>(b), written_[b], end);
        if (end == written_[b]) ended_[b] = true;
        written_[b] = end;
      }
      usage_.bits[b] += static_cast<std::uint32_t>(out_.bitCount() - before);
    }
  }

 private:
  void symbol(unsigned tree, unsigned value) { tables_[tree].writeSymbol(out_, value); }

  void colour(std::int32_t value) {
    symbol(kFirstColorHighTree + previousHigh_, static_cast<unsigned>(value >> 4));
    symbol(kColorsTree, static_cast<unsigned>(value & 15));
    previousHigh_ = static_cast<unsigned>(value >> 4);
  }

  void signedMagnitude(unsigned tree, std::int32_t value) {
    symbol(tree, magnitudeOf(value));
    if (value != 0) out_.putBit(value < 0);
  }

  void writeBatch(BundleIndex bundle, std::size_t first, std::size_t last) {
    const std::vector<std::int32_t>& all = staged_.values[bundle];
    const auto begin = all.begin() + static_cast<std::ptrdiff_t>(first);
    const auto end = all.begin() + static_cast<std::ptrdiff_t>(last);
    out_.put(static_cast<std::uint32_t>(last - first), countBits_[bundle]);
    if (first == last) return;
    const bool allZero = std::all_of(begin, end, [](std::int32_t v) { return v == 0; });
    switch (bundle) {
      case kBlockTypesBundle:
      case kBlockSubtypesBundle:
        if (allZero) return zeroFill();
        out_.putBit(false);
        return writeTypes(bundle == kBlockTypesBundle ? kBlockTypesTree : kBlockSubtypesTree, begin, end);
      case kColorsBundle:
        if (std::all_of(begin, end, [&](std::int32_t v) { return v == *begin; })) {
          out_.putBit(true);
          return colour(*begin);
        }
        out_.putBit(false);
        for (auto v = begin; v != end; ++v) colour(*v);
        return;
      case kPatternsBundle:
        for (auto v = begin; v != end; ++v) {
          symbol(kPatternsTree, static_cast<unsigned>(*v & 15));
          symbol(kPatternsTree, static_cast<unsigned>(*v >> 4));
        }
        return;
      case kXOffsetsBundle:
      case kYOffsetsBundle: {
        if (allZero) return zeroFill();
        out_.putBit(false);
        const unsigned tree = bundle == kXOffsetsBundle ? kXOffsetsTree : kYOffsetsTree;
        for (auto v = begin; v != end; ++v) signedMagnitude(tree, *v);
        return;
      }
      case kIntraDcBundle:
      case kInterDcBundle:
        return writeDcValues(bundle == kInterDcBundle, begin, end);
      case kRunsBundle:
        if (allZero) return zeroFill();
        out_.putBit(false);
        for (auto v = begin; v != end; ++v) symbol(kRunsTree, static_cast<unsigned>(*v));
        return;
    }
  }

  void zeroFill() {
    out_.putBit(true);
    out_.put(0, 4);
  }

  template <typename Iterator>
  void writeTypes(unsigned tree, Iterator begin, Iterator end) {
    int remembered = 0;
    unsigned pending = 0;
    const auto flush = [&] {
      splitRepeats(pending, static_cast<unsigned>(remembered), [&](unsigned s) { symbol(tree, s); });
      pending = 0;
    };
    for (auto v = begin; v != end; ++v) {
      if (*v == remembered) {
        ++pending;
        continue;
      }
      flush();
      symbol(tree, static_cast<unsigned>(*v));
      remembered = *v;
    }
    flush();
  }

  template <typename Iterator>
  void writeDcValues(bool isSigned, Iterator begin, Iterator end) {
    if (isSigned) {
      out_.put(magnitudeOf(*begin), 10);
      if (*begin != 0) out_.putBit(*begin < 0);
    } else {
      out_.put(static_cast<std::uint32_t>(*begin), 11);
    }
    for (auto group = begin + 1; group < end; group += std::min<std::ptrdiff_t>(8, end - group)) {
      const auto groupEnd = group + std::min<std::ptrdiff_t>(8, end - group);
      unsigned width = 0;
      for (auto v = group; v != groupEnd; ++v) {
        width = std::max(width, static_cast<unsigned>(std::bit_width(magnitudeOf(*v - *(v - 1)))));
      }
      out_.put(width, 4);
      if (width == 0) continue;
      for (auto v = group; v != groupEnd; ++v) {
        const std::int32_t delta = *v - *(v - 1);
        out_.put(magnitudeOf(delta), width);
        if (delta != 0) out_.putBit(delta < 0);
      }
    }
  }

  BitWriter& out_;
  const StagedPlane& staged_;
  const std::array<CodeTable, kTrees>& tables_;
  BundleUsage& usage_;
  std::array<unsigned, kBundles> countBits_{};
  std::array<std::vector<std::size_t>, kBundles> ends_;
  std::array<std::size_t, kBundles> nextBatch_{};
  std::array<std::size_t, kBundles> written_{};  // values in the batches written so far
  std::array<bool, kBundles> ended_{};
  unsigned previousHigh_ = 0;
};

}  // namespace

CodedPlane codePlane(const PlaneToCode& plane, std::uint8_t* out, std::size_t capacity) {
  StagedPlane staged;
  stagePlane(plane, staged);

  const std::array<SymbolCounts, kTrees> counts = countSymbols(staged);
  std::array<CodeTable, kTrees> tables;
  BitWriter writer(out, capacity);
  for (unsigned t = 0; t < kTrees; ++t) {
    tables[t] = chooseCodeTable(counts[t]);
    writeCodeTable(writer, tables[t]);
  }

  CodedPlane coded;
  StreamWriter stream(writer, staged, tables, plane.width / 8, coded.usage);
  std::uint64_t rowStart = 0;
  for (std::size_t row = 0; row < staged.rowBitEnds.size(); ++row) {
    stream.refill(row);
    staged.blockBits.copyTo(writer, rowStart, staged.rowBitEnds[row]);
    rowStart = staged.rowBitEnds[row];
  }
  coded.bytes = static_cast<std::uint32_t>(writer.finishWords());
  coded.fits = !writer.overflowed();
  return coded;
}

}  // namespace movra
