#include "plane_staging.h"

#include <cstring>

#include "area_candidates.h"
#include "block_candidates.h"
#include "coefficient_coding.h"
#include "pattern_coding.h"
#include "residue_coding.h"
#include "scan_orders.h"
#include "transform_coding.h"

namespace movra {
namespace {

class Stager {
 public:
  Stager(const PlaneToCode& plane, StagedPlane& staged) : plane_(plane), staged_(staged) {}

  void run() {
    const std::uint32_t columns = plane_.width / 8;
    const std::uint32_t rows = plane_.height / 8;
    for (std::uint32_t row = 0; row < rows; ++row) {
      for (std::uint32_t column = 0; column < columns; ++column) {
        stageBlock(column * 8, row * 8, row * columns + column);
      }
      for (unsigned b = 0; b < kBundles; ++b) staged_.rowEnds[b].push_back(staged_.values[b].size());
      staged_.rowBitEnds.push_back(staged_.blockBits.bitCount());
    }
  }

 private:
  void push(BundleIndex bundle, int value) { staged_.values[bundle].push_back(value); }

  BlockSamples gather(const std::uint8_t* plane, std::uint32_t x, std::uint32_t y) const {
    BlockSamples block{};
    gatherBlock({plane + std::size_t{y} * plane_.width + x, plane_.width}, block.data());
    return block;
  }

  void store(const BlockSamples& block, std::uint32_t x, std::uint32_t y) {
    for (unsigned row = 0; row < 8; ++row) {
      std::memcpy(plane_.reconstruction + std::size_t{y + row} * plane_.width + x, block.data() + row * 8, 8);
    }
  }

  // A block of the types that need no previous picture, from `samples`
  // (the block itself, or an area reduced to 8 x 8); returns what the
  // decoder rebuilds.
  BlockSamples stageSelfContained(std::uint8_t type, std::uint16_t parameter, const BlockSamples& samples) {
    switch (type) {
      case kFillBlock: {
        push(kColorsBundle, parameter & 0xFF);
        BlockSamples block;
        block.fill(static_cast<std::uint8_t>(parameter));
        return block;
      }
      case kPatternBlock: {
        const PatternColours colours{static_cast<std::uint8_t>(parameter & 0xFF),
                                     static_cast<std::uint8_t>(parameter >> 8)};
        const std::array<std::uint8_t, 8> rows = patternRows(samples, colours);
        push(kColorsBundle, colours.low);
        push(kColorsBundle, colours.high);
        for (const std::uint8_t row : rows) push(kPatternsBundle, row);
        return patternBlock(rows, colours);
      }
      case kRunBlock:
        return stageRun(parameter, samples);
      case kIntraBlock: {
        const Coefficients quantised = quantisedBlock(samples, QuantiserKind::kIntra, parameter);
        push(kIntraDcBundle, quantised[0]);
        writeTransformCoefficients(staged_.blockBits, quantised.data());
        staged_.blockBits.put(parameter, 4);
        return reconstructIntra(quantised, parameter);
      }
      default:  // kRawBlock
        for (const std::uint8_t value : samples) push(kColorsBundle, value);
        return samples;
    }
  }

  static Coefficients quantisedBlock(const BlockSamples& samples, QuantiserKind kind, unsigned q) {
    std::array<std::int32_t, 64> values{};
    for (unsigned p = 0; p < 64; ++p) {
      values[p] = kind == QuantiserKind::kIntra ? samples[p] : static_cast<std::int8_t>(samples[p]);
    }
    return quantise(forwardTransform(values), kind, q);
  }

  BlockSamples stageInter(std::uint16_t q, const BlockSamples& source, const BlockSamples& prediction) {
    BlockSamples differences{};
    for (unsigned p = 0; p < 64; ++p) differences[p] = static_cast<std::uint8_t>(source[p] - prediction[p]);
    const Coefficients quantised = quantisedBlock(differences, QuantiserKind::kInter, q);
    push(kInterDcBundle, quantised[0]);
    writeTransformCoefficients(staged_.blockBits, quantised.data());
    staged_.blockBits.put(q, 4);
    return reconstructInter(quantised, q, prediction);
  }

  BlockSamples stageRun(std::uint16_t parameter, const BlockSamples& samples) {
    const unsigned scan = parameter >> 8;
    const BlockSamples filled = fillRuns(scanned(samples, scan), parameter & 0xFF).values;
    const RunSegments segments = segmentRuns(filled);
    staged_.blockBits.put(scan, 4);
    for (unsigned s = 0; s < segments.count; ++s) {
      const RunSegment& segment = segments.segments[s];
      staged_.blockBits.putBit(segment.repeat);
      push(kRunsBundle, segment.length - 1);
      const unsigned colours = segment.repeat ? 1 : segment.length;
      for (unsigned i = 0; i < colours; ++i) push(kColorsBundle, filled[segment.start + i]);
    }
    if (segments.lastAlone) push(kColorsBundle, filled[63]);
    BlockSamples block{};
    for (unsigned k = 0; k < 64; ++k) block[zet::runScanOrders[scan][k]] = filled[k];
    return block;
  }

  BlockSamples stageResidue(std::uint16_t maskCount, const BlockSamples& source, const BlockSamples& prediction) {
    staged_.blockBits.put(maskCount, 7);
    std::array<std::int8_t, 64> differences{};
    for (unsigned p = 0; p < 64; ++p) {
      differences[p] = static_cast<std::int8_t>(static_cast<std::uint8_t>(source[p] - prediction[p]));
    }
    BlockSamples block = prediction;
    codeResidue(staged_.blockBits, differences.data(), [&](const ResidueUse& use) {
      block[use.position] = static_cast<std::uint8_t>(prediction[use.position] + use.value);
      return use.index < maskCount;
    });
    return block;
  }

  void stageScaledArea(std::uint8_t subtype, std::uint16_t parameter, std::uint32_t x, std::uint32_t y) {
    push(kBlockSubtypesBundle, subtype);
    AreaSamples area{};
    for (unsigned row = 0; row < 16; ++row) {
      std::memcpy(area.data() + row * 16, plane_.source + std::size_t{y + row} * plane_.width + x, 16);
    }
    const BlockSamples decoded = stageSelfContained(subtype, parameter, reduceArea(area));
    const AreaSamples doubled = expandBlock(decoded);
    for (unsigned row = 0; row < 16; ++row) {
      std::memcpy(plane_.reconstruction + std::size_t{y + row} * plane_.width + x, doubled.data() + row * 16, 16);
    }
  }

  void stageBlock(std::uint32_t x, std::uint32_t y, std::size_t index) {
    const CandidateList& list = plane_.blocks[index];
    const Candidate& chosen = list.chosen;
    if (chosen.type == kCoveredBlock) return;
    push(kBlockTypesBundle, chosen.type);
    if (chosen.type == kScaledBlock) {
      if (plane_.subtypes[index] != 0) stageScaledArea(plane_.subtypes[index], chosen.parameter, x, y);
      return;
    }
    const BlockSamples source = gather(plane_.source, x, y);
    switch (chosen.type) {
      case kSkipBlock:
        store(gather(plane_.reference, x, y), x, y);
        return;
      case kMotionBlock:
      case kResidueBlock:
      case kInterBlock: {
        push(kXOffsetsBundle, list.dx);
        push(kYOffsetsBundle, list.dy);
        const BlockSamples prediction = gather(plane_.reference, x + list.dx, y + list.dy);
        if (chosen.type == kMotionBlock) {
          store(prediction, x, y);
        } else if (chosen.type == kResidueBlock) {
          store(stageResidue(chosen.parameter, source, prediction), x, y);
        } else {
          store(stageInter(chosen.parameter, source, prediction), x, y);
        }
        return;
      }
      default:
        store(stageSelfContained(chosen.type, chosen.parameter, source), x, y);
        return;
    }
  }

  const PlaneToCode& plane_;
  StagedPlane& staged_;
};

}  // namespace

void stagePlane(const PlaneToCode& plane, StagedPlane& staged) { Stager(plane, staged).run(); }

}  // namespace movra
