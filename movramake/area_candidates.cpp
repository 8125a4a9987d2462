#include "area_candidates.h"

#include <algorithm>
#include <cstdlib>

#include "block_candidates.h"
#include "candidate_pruning.h"
#include "pattern_coding.h"

namespace movra {
namespace {

std::uint32_t sad256(const AreaSamples& a, const AreaSamples& b) {
  std::uint32_t sum = 0;
  for (unsigned i = 0; i < 256; ++i) sum += static_cast<std::uint32_t>(std::abs(a[i] - b[i]));
  return sum;
}

std::uint32_t expandedError(const BlockSamples& block, const AreaSamples& source) {
  return sad256(expandBlock(block), source);
}

}  // namespace

BlockSamples reduceArea(const AreaSamples& area) {
  BlockSamples reduced{};
  for (unsigned row = 0; row < 8; ++row) {
    for (unsigned column = 0; column < 8; ++column) {
      const unsigned top = row * 32 + column * 2;
      std::array<std::uint8_t, 4> cell = {area[top], area[top + 1], area[top + 16], area[top + 17]};
      std::sort(cell.begin(), cell.end());
      reduced[row * 8 + column] = static_cast<std::uint8_t>((cell[1] + cell[2]) / 2);
    }
  }
  return reduced;
}

AreaSamples expandBlock(const BlockSamples& block) {
  AreaSamples area{};
  for (unsigned p = 0; p < 256; ++p) area[p] = block[(p / 32) * 8 + (p % 16) / 2];
  return area;
}

std::uint8_t areaFillColour(const AreaSamples& source) {
  AreaSamples sorted = source;
  std::sort(sorted.begin(), sorted.end());
  return static_cast<std::uint8_t>((sorted[127] + sorted[128]) / 2);
}

void buildAreaCandidates(const AreaInputs& inputs, const BlockCosts& costs, CandidateList& list) {
  list.count = 0;
  const BlockSamples reduced = reduceArea(inputs.source);
  if (inputs.inter && inputs.reference == expandBlock(reduced)) return;

  CandidatePool pool;
  AreaSamples fill;
  const std::uint8_t colour = areaFillColour(inputs.source);
  fill.fill(colour);
  const std::uint32_t fillError = sad256(fill, inputs.source);
  pool.add({kFillBlock, colour, costs.colour, fillError});
  if (fillError != 0) {
    BlockSamples sorted = reduced;
    std::sort(sorted.begin(), sorted.end());
    if (const auto colours = choosePatternColours(sorted)) {
      const BlockSamples pattern = patternBlock(patternRows(reduced, *colours), *colours);
      pool.add({kPatternBlock, static_cast<std::uint16_t>(colours->low + 256 * colours->high),
                2 * costs.colour + costs.pattern, expandedError(pattern, inputs.source)});
    }
    const unsigned scan = chooseRunScan(reduced);
    const BlockSamples along = scanned(reduced, scan);
    CandidatePool runs;
    for (std::uint32_t threshold = 0; threshold < 256;) {
      const RunFill runFill = fillRuns(along, threshold);
      const auto parameter = static_cast<std::uint16_t>(scan * 256 + threshold);
      const std::uint32_t rate = 1024 + runBlockCost(segmentRuns(runFill.values), costs.run, costs.colour);
      runs.add({kRunBlock, parameter, rate, expandedError(runBlockValues(reduced, parameter), inputs.source)});
      threshold = runFill.nextThreshold;
    }
    reduceToStaircase(runs);
    for (unsigned i = 0; i < runs.count; ++i) pool.add(runs.items[i]);
    addIntraFamily(reduced, costs, [&](const BlockSamples& rebuilt) { return expandedError(rebuilt, inputs.source); },
                   pool);
    pool.add({kRawBlock, 0, 64 * costs.colour, expandedError(reduced, inputs.source)});
  }

  reduceToStaircase(pool);
  resampleTo(pool, kMaxAreaCandidates);
  for (unsigned i = 0; i < pool.count; ++i) {
    Candidate candidate = pool.items[i];
    candidate.rate += 2 * costs.blockType + costs.subType;
    list.add(candidate);
  }
}

}  // namespace movra
