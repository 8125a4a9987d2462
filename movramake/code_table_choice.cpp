#include "code_table_choice.h"

#include <algorithm>
#include <numeric>

namespace movra {
namespace {

constexpr unsigned kMaxListLength = 7;
constexpr unsigned kMaxMergeDepth = 3;

struct Ranking {
  std::array<std::uint8_t, 16> bySymbol{};  // rank of each symbol
  std::array<std::uint8_t, 16> ranked{};    // symbols by decreasing count
};

Ranking rank(const SymbolCounts& counts) {
  Ranking ranking;
  std::iota(ranking.ranked.begin(), ranking.ranked.end(), std::uint8_t{0});
  std::stable_sort(ranking.ranked.begin(), ranking.ranked.end(),
                   [&](std::uint8_t a, std::uint8_t b) { return counts[a] > counts[b]; });
  for (unsigned r = 0; r < 16; ++r) ranking.bySymbol[ranking.ranked[r]] = static_cast<std::uint8_t>(r);
  return ranking;
}

std::uint64_t orderCost(unsigned table, const std::array<std::uint8_t, 16>& order, const SymbolCounts& counts) {
  std::uint64_t cost = 0;
  for (unsigned j = 0; j < 16; ++j) cost += std::uint64_t{zet::prefixCodes[table][j].length} * counts[order[j]];
  return cost;
}

struct Form {
  std::uint64_t cost = ~std::uint64_t{0};
  CodeTable table;
};

Form bestListForm(unsigned t, const SymbolCounts& counts, const Ranking& ranking) {
  Form best;
  for (unsigned n = 0; n <= kMaxListLength; ++n) {
    CodeTable candidate;
    candidate.table = t;
    candidate.listForm = true;
    candidate.listLength = n;
    std::array<bool, 16> listed{};
    unsigned j = 0;
    for (; j <= n; ++j) {
      candidate.order[j] = ranking.ranked[j];
      listed[ranking.ranked[j]] = true;
    }
    for (unsigned s = 0; s < 16; ++s) {
      if (!listed[s]) candidate.order[j++] = static_cast<std::uint8_t>(s);
    }
    const std::uint64_t cost = 7 + 4 * n + orderCost(t, candidate.order, counts);
    if (cost < best.cost) best = {cost, candidate};
  }
  return best;
}

Form bestMergeForm(unsigned t, const SymbolCounts& counts, const Ranking& ranking) {
  const auto key = [&](std::uint8_t symbol) { return zet::prefixCodes[t][ranking.bySymbol[symbol]].length; };
  CodeTable working;
  working.table = t;
  std::iota(working.order.begin(), working.order.end(), std::uint8_t{0});
  for (unsigned i = 0; i < 16; i += 2) {
    const bool swap = key(working.order[i + 1]) < key(working.order[i]);
    if (swap) std::swap(working.order[i], working.order[i + 1]);
    working.sortBits[working.sortBitCount++] = swap;
  }

  Form best;
  for (unsigned depth = 0;; ++depth) {
    working.mergeDepth = depth;
    const std::uint64_t cost = 2 + working.sortBitCount + orderCost(t, working.order, counts);
    if (cost < best.cost) best = {cost, working};
    if (depth == kMaxMergeDepth) break;
    const unsigned run = 2u << depth;
    std::array<std::uint8_t, 16> merged{};
    for (unsigned start = 0; start < 16; start += 2 * run) {
      unsigned a = start, b = start + run, out = start;
      const unsigned aEnd = start + run, bEnd = start + 2 * run;
      while (a < aEnd && b < bEnd) {
        const bool takeB = key(working.order[b]) < key(working.order[a]) ||
                           (key(working.order[b]) == key(working.order[a]) && bEnd - b < aEnd - a);
        working.sortBits[working.sortBitCount++] = takeB;
        merged[out++] = takeB ? working.order[b++] : working.order[a++];
      }
      while (a < aEnd) merged[out++] = working.order[a++];
      while (b < bEnd) merged[out++] = working.order[b++];
    }
    working.order = merged;
  }
  return best;
}

}  // namespace

CodeTable chooseCodeTable(const SymbolCounts& counts) {
  const std::uint64_t total = std::accumulate(counts.begin(), counts.end(), std::uint64_t{0});
  CodeTable best;
  std::iota(best.order.begin(), best.order.end(), std::uint8_t{0});
  std::uint64_t bestCost = 4 * total;
  const Ranking ranking = rank(counts);
  for (unsigned t = 1; t < zet::kPrefixCodeTables; ++t) {
    const Form list = bestListForm(t, counts, ranking);
    const Form merge = bestMergeForm(t, counts, ranking);
    const Form& cheaper = merge.cost <= list.cost ? merge : list;
    if (cheaper.cost < bestCost) {
      bestCost = cheaper.cost;
      best = cheaper.table;
    }
  }
  for (unsigned j = 0; j < 16; ++j) best.indexOf[best.order[j]] = static_cast<std::uint8_t>(j);
  return best;
}

void writeCodeTable(BitWriter& out, const CodeTable& table) {
  out.put(table.table, 4);
  if (table.table == 0) return;
  out.putBit(table.listForm);
  if (table.listForm) {
    out.put(table.listLength, 3);
    for (unsigned j = 0; j <= table.listLength; ++j) out.put(table.order[j], 4);
    return;
  }
  out.put(table.mergeDepth, 2);
  for (unsigned i = 0; i < table.sortBitCount; ++i) out.putBit(table.sortBits[i]);
}

}  // namespace movra
