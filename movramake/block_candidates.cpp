#include "block_candidates.h"

#include <algorithm>

#include "block_sad.h"
#include "candidate_pruning.h"
#include "pattern_coding.h"
#include "residue_coding.h"
#include "scan_orders.h"

namespace movra {
namespace {

constexpr unsigned kLastResidueCandidate = 127;

BlockSamples filled(std::uint8_t colour) {
  BlockSamples block;
  block.fill(colour);
  return block;
}

void addRunFamily(const BlockSamples& source, const BlockCosts& costs, CandidatePool& pool) {
  const unsigned scan = chooseRunScan(source);
  const BlockSamples along = scanned(source, scan);
  CandidatePool family;
  for (std::uint32_t threshold = 0; threshold < 256;) {
    const RunFill fill = fillRuns(along, threshold);
    const std::uint32_t rate = 1024 + runBlockCost(segmentRuns(fill.values), costs.run, costs.colour);
    family.add({kRunBlock, static_cast<std::uint16_t>(scan * 256 + threshold), rate, sad64(fill.values.data(), along.data())});
    threshold = fill.nextThreshold;
  }
  reduceToStaircase(family);
  for (unsigned i = 0; i < family.count; ++i) pool.add(family.items[i]);
}

void addResidueFamily(const BlockInputs& inputs, const BlockCosts& costs, CandidatePool& pool) {
  std::array<std::int8_t, 64> differences{};
  bool any = false;
  for (unsigned p = 0; p < 64; ++p) {
    differences[p] = static_cast<std::int8_t>(static_cast<std::uint8_t>(inputs.source[p] - inputs.prediction[p]));
    any = any || differences[p] != 0;
  }
  if (!any) return;
  BlockSamples reconstruction = inputs.prediction;
  std::uint32_t distortion = sad64(reconstruction.data(), inputs.source.data());
  measureResidue(differences.data(), [&](const ResidueUse& use) {
    const std::uint8_t before = reconstruction[use.position];
    const std::uint8_t after = static_cast<std::uint8_t>(inputs.prediction[use.position] + use.value);
    const int wanted = inputs.source[use.position];
    distortion = distortion - static_cast<std::uint32_t>(std::abs(before - wanted)) +
                 static_cast<std::uint32_t>(std::abs(after - wanted));
    reconstruction[use.position] = after;
    const std::uint32_t rate = costs.motion + 1792 + 256 * static_cast<std::uint32_t>(use.bitsSoFar);
    pool.add({kResidueBlock, static_cast<std::uint16_t>(use.index), rate, distortion});
    return distortion != 0 && use.index < kLastResidueCandidate;
  });
}

}  // namespace

std::uint8_t fillColour(const BlockSamples& sorted) {
  return static_cast<std::uint8_t>((sorted[31] + sorted[32]) / 2);
}

BlockSamples runBlockValues(const BlockSamples& source, std::uint16_t parameter) {
  const unsigned scan = parameter >> 8;
  const RunFill fill = fillRuns(scanned(source, scan), parameter & 0xFF);
  BlockSamples block{};
  for (unsigned k = 0; k < 64; ++k) block[zet::runScanOrders[scan][k]] = fill.values[k];
  return block;
}

void buildBlockCandidates(const BlockInputs& inputs, const BlockCosts& costs, CandidateList& list) {
  CandidatePool pool;
  const BlockSamples& source = inputs.source;
  bool complete = false;
  if (inputs.inter) {
    const std::uint32_t unchanged = sad64(inputs.reference.data(), source.data());
    pool.add({kSkipBlock, 0, 0, unchanged});
    complete = unchanged == 0;
  }
  BlockSamples sorted = source;
  std::sort(sorted.begin(), sorted.end());
  if (!complete) {
    const std::uint8_t colour = fillColour(sorted);
    const std::uint32_t fillError = sad64(filled(colour).data(), source.data());
    pool.add({kFillBlock, colour, costs.colour, fillError});
    complete = fillError == 0;
  }
  if (!complete) {
    if (const auto colours = choosePatternColours(sorted)) {
      const BlockSamples pattern = patternBlock(patternRows(source, *colours), *colours);
      pool.add({kPatternBlock, static_cast<std::uint16_t>(colours->low + 256 * colours->high),
                2 * costs.colour + costs.pattern, sad64(pattern.data(), source.data())});
    }
    addRunFamily(source, costs, pool);
    if (inputs.inter) {
      addResidueFamily(inputs, costs, pool);
      pool.add({kMotionBlock, 0, costs.motion, sad64(inputs.prediction.data(), source.data())});
    }
    pool.add({kRawBlock, 0, 64 * costs.colour, 0});
  }

  reduceToConvexHull(pool);
  resampleTo(pool, kMaxCandidates);
  list.count = 0;
  for (unsigned i = 0; i < pool.count; ++i) {
    Candidate candidate = pool.items[i];
    candidate.rate += costs.blockType;
    list.add(candidate);
  }
}

}  // namespace movra
