#include "block_candidates.h"

#include <algorithm>
#include <cstdlib>

#include "block_sad.h"
#include "coefficient_coding.h"
#include "candidate_pruning.h"
#include "pattern_coding.h"
#include "residue_coding.h"
#include "scan_orders.h"
#include "transform_coding.h"

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
  RunSplitter splitter(along);
  for (std::uint32_t threshold = 0; threshold < 256;) {
    const RunFill fill = splitter.fill(threshold);
    const std::uint32_t rate = 1024 + runBlockCost(segmentRuns(fill.values), costs.run, costs.colour);
    family.add({kRunBlock, static_cast<std::uint16_t>(scan * 256 + threshold), rate, splitter.lastError()});
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

// Intra DC values have 11 bits; inter DC values 10 bits and a sign.
constexpr std::int32_t kLargestInterDc = 1023;
// Coefficient magnitudes must fit the 4-bit count of bit planes.
constexpr std::int32_t kLargestCoefficient = (1 << 15) - 1;

bool codable(const Coefficients& quantised) {
  for (unsigned p = 1; p < 64; ++p) {
    if (quantised[p] > kLargestCoefficient || quantised[p] < -kLargestCoefficient) return false;
  }
  return true;
}

}  // namespace

void addIntraFamily(const BlockSamples& samples, const BlockCosts& costs,
                    const std::function<std::uint32_t(const BlockSamples&)>& error, CandidatePool& pool) {
  std::array<std::int32_t, 64> values{};
  for (unsigned p = 0; p < 64; ++p) values[p] = samples[p];
  const Coefficients coefficients = forwardTransform(values);
  for (unsigned q = 0; q < 16; ++q) {
    const Coefficients quantised = quantise(coefficients, QuantiserKind::kIntra, q);
    if (onlyDc(quantised)) return;
    if (!codable(quantised)) continue;
    const std::uint32_t rate = costs.intraDc + 256 * transformCoefficientBits(quantised.data()) + 1024;
    pool.add({kIntraBlock, static_cast<std::uint16_t>(q), rate, error(reconstructIntra(quantised, q))});
  }
}

namespace {

// An inter DC of -1024 (a difference of nearly -128 everywhere, at the
// finest quantiser) does not fit its bundle: such candidates are not
// offered, so that what the decoder rebuilds is always what was measured.
void addInterFamily(const BlockInputs& inputs, const BlockCosts& costs, CandidatePool& pool) {
  std::array<std::int32_t, 64> differences{};
  for (unsigned p = 0; p < 64; ++p) {
    differences[p] = static_cast<std::int8_t>(static_cast<std::uint8_t>(inputs.source[p] - inputs.prediction[p]));
  }
  const Coefficients coefficients = forwardTransform(differences);
  for (unsigned q = 0; q < 16; ++q) {
    const Coefficients quantised = quantise(coefficients, QuantiserKind::kInter, q);
    if (std::abs(quantised[0]) <= kLargestInterDc && codable(quantised)) {
      const BlockSamples rebuilt = reconstructInter(quantised, q, inputs.prediction);
      const std::uint32_t rate = costs.interDc + 256 * transformCoefficientBits(quantised.data()) + costs.motion + 1024;
      pool.add({kInterBlock, static_cast<std::uint16_t>(q), rate, sad64(rebuilt.data(), inputs.source.data())});
    }
    if (onlyDc(quantised)) return;
  }
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
    addIntraFamily(source, costs, [&](const BlockSamples& rebuilt) { return sad64(rebuilt.data(), source.data()); },
                   pool);
    if (inputs.inter) {
      addResidueFamily(inputs, costs, pool);
      addInterFamily(inputs, costs, pool);
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
