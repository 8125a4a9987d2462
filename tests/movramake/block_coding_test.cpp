// The block coder's decisions and codes: candidate families, pruning, the
// coefficient and residue codes (read back with the decoder's readers),
// code tables and motion search.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "area_candidates.h"
#include "block_sad.h"
#include "bit_reader.h"
#include "block_candidates.h"
#include "candidate_pruning.h"
#include "code_table_choice.h"
#include "coefficient_coding.h"
#include "coefficient_reader.h"
#include "motion_search.h"
#include "prefix_codes.h"
#include "residue_coding.h"
#include "plane_decoder.h"
#include "plane_writer.h"
#include "run_coding.h"
#include "transform_coding.h"

namespace movra {
namespace {

BlockCosts lumaCosts() { return blockCostsOf(initialPlaneCosts(kLuma)); }

std::vector<std::uint8_t> bytesOf(const BitRecorder& bits) {
  std::vector<std::uint8_t> bytes(bits.bitCount() / 8 + 16);
  BitWriter writer(bytes.data(), bytes.size());
  bits.copyTo(writer, 0, bits.bitCount());
  writer.finishWords();
  return bytes;
}

TEST(BlockCandidates, AFlatBlockGetsOnlyItsFill) {
  BlockInputs inputs;
  inputs.source.fill(77);
  CandidateList list;
  buildBlockCandidates(inputs, lumaCosts(), list);
  ASSERT_EQ(list.count, 1);
  EXPECT_EQ(list.candidates[0].type, kFillBlock);
  EXPECT_EQ(list.candidates[0].parameter, 77);
  EXPECT_EQ(list.candidates[0].distortion, 0u);
  EXPECT_EQ(list.candidates[0].rate, lumaCosts().colour + lumaCosts().blockType);

  inputs.inter = true;
  inputs.reference = inputs.source;
  buildBlockCandidates(inputs, lumaCosts(), list);
  ASSERT_EQ(list.count, 1) << "an unchanged inter block is skipped";
  EXPECT_EQ(list.candidates[0].type, kSkipBlock);
  EXPECT_EQ(list.candidates[0].rate, lumaCosts().blockType);
}

TEST(BlockCandidates, TwoColoursSplitEvenlyMakeAnExactPattern) {
  BlockInputs inputs;
  for (unsigned p = 0; p < 64; ++p) inputs.source[p] = p % 2 ? 40 : 200;
  CandidateList list;
  buildBlockCandidates(inputs, lumaCosts(), list);
  bool exactPattern = false;
  for (unsigned i = 0; i < list.count; ++i) {
    exactPattern |= list.candidates[i].type == kPatternBlock && list.candidates[i].distortion == 0 &&
                    list.candidates[i].parameter == 40 + 256 * 200;
  }
  EXPECT_TRUE(exactPattern);
}

TEST(BlockCandidates, APerfectPredictionHasNoResidueAndAnExactMotionCandidate) {
  BlockInputs inputs;
  inputs.inter = true;
  for (unsigned p = 0; p < 64; ++p) {
    inputs.source[p] = static_cast<std::uint8_t>(p * 3);
    inputs.reference[p] = 0;
  }
  inputs.prediction = inputs.source;
  CandidateList list;
  buildBlockCandidates(inputs, lumaCosts(), list);
  for (unsigned i = 0; i < list.count; ++i) EXPECT_NE(list.candidates[i].type, kResidueBlock);
  EXPECT_EQ(list.candidates[list.count - 1].type, kMotionBlock);
  EXPECT_EQ(list.candidates[list.count - 1].distortion, 0u);
}

TEST(BlockCandidates, ListsFollowTheConvexHullAndKeepAtMost32Points) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 50; ++trial) {
    BlockInputs inputs;
    inputs.inter = trial % 2 == 1;
    for (unsigned p = 0; p < 64; ++p) {
      inputs.source[p] = static_cast<std::uint8_t>(random());
      inputs.reference[p] = static_cast<std::uint8_t>(random());
      inputs.prediction[p] = static_cast<std::uint8_t>(inputs.source[p] + random() % 9 - 4);
    }
    CandidateList list;
    buildBlockCandidates(inputs, lumaCosts(), list);
    ASSERT_GE(list.count, 1);
    ASSERT_LE(list.count, kMaxCandidates);
    for (unsigned i = 1; i < list.count; ++i) {
      EXPECT_GT(list.candidates[i].rate, list.candidates[i - 1].rate);
      EXPECT_LT(list.candidates[i].distortion, list.candidates[i - 1].distortion);
    }
    EXPECT_EQ(list.candidates[list.count - 1].distortion, 0u) << "RAW, or an exact residue, is always on the hull";
  }
}

TEST(CandidatePruning, ResamplingKeepsTheEndsAndEvenlySpacedPoints) {
  CandidatePool pool;
  for (unsigned i = 0; i < 40; ++i) pool.add({kRawBlock, static_cast<std::uint16_t>(i), i, 40 - i});
  resampleTo(pool, 32);
  ASSERT_EQ(pool.count, 32u);
  for (unsigned k = 0; k < 32; ++k) EXPECT_EQ(pool.items[k].parameter, k * 39 / 31);
  EXPECT_EQ(pool.items[31].parameter, 39);
}

TEST(CandidatePruning, TheHullDropsPointsAboveItAndTheStaircaseKeepsThem) {
  // (rate, distortion): (0,100) (10,50) (20,40) (30,0): (20,40) lies above
  // the line from (10,50) to (30,0) and leaves the hull, not the staircase.
  const Candidate points[] = {{kFillBlock, 0, 20, 40}, {kFillBlock, 1, 0, 100}, {kFillBlock, 2, 30, 0},
                              {kFillBlock, 3, 10, 50}, {kFillBlock, 4, 15, 60}};
  CandidatePool hull, stairs;
  for (const Candidate& c : points) hull.add(c), stairs.add(c);
  reduceToConvexHull(hull);
  ASSERT_EQ(hull.count, 3u);
  EXPECT_EQ(hull.items[0].parameter, 1);
  EXPECT_EQ(hull.items[1].parameter, 3);
  EXPECT_EQ(hull.items[2].parameter, 2);
  reduceToStaircase(stairs);
  ASSERT_EQ(stairs.count, 4u);
  EXPECT_EQ(stairs.items[2].parameter, 0);
}

TEST(RunCoding, SegmentsCoverTheBlockAsTheDecoderWalksIt) {
  BlockSamples values{};
  for (unsigned i = 0; i < 64; ++i) values[i] = static_cast<std::uint8_t>(i < 20 ? 5 : i);
  RunSegments segments = segmentRuns(values);
  ASSERT_GE(segments.count, 2u);
  EXPECT_TRUE(segments.segments[0].repeat);
  EXPECT_EQ(segments.segments[0].length, 16);
  EXPECT_TRUE(segments.segments[1].repeat);
  EXPECT_EQ(segments.segments[1].length, 4);
  unsigned covered = 0;
  for (unsigned s = 0; s < segments.count; ++s) {
    EXPECT_EQ(segments.segments[s].start, covered);
    covered += segments.segments[s].length;
  }
  EXPECT_EQ(covered + (segments.lastAlone ? 1 : 0), 64u);

  // Runs of 16, 16, 16 and 15 leave position 63 to one more colour.
  for (unsigned i = 0; i < 64; ++i) values[i] = static_cast<std::uint8_t>(i < 16 ? 1 : i < 32 ? 2 : i < 48 ? 3 : i < 63 ? 4 : 9);
  segments = segmentRuns(values);
  EXPECT_EQ(segments.count, 4u);
  EXPECT_TRUE(segments.lastAlone);
}

TEST(MotionSearch, TheFirstOffsetInVisitingOrderWinsTies) {
  // A reference that repeats every 3 columns matches the block at dx = 0,
  // 3, 6, ...; with the block placed one column off, dx = 1 and dx = 4 tie.
  constexpr std::uint32_t kSize = 64;
  std::vector<std::uint8_t> reference(kSize * kSize);
  for (std::uint32_t y = 0; y < kSize; ++y) {
    for (std::uint32_t x = 0; x < kSize; ++x) reference[y * kSize + x] = static_cast<std::uint8_t>((x % 3) * 50 + y);
  }
  BlockSamples source{};
  for (unsigned row = 0; row < 8; ++row) {
    for (unsigned column = 0; column < 8; ++column) source[row * 8 + column] = reference[(16 + row) * kSize + 17 + column];
  }
  const MotionVector vector = searchMotion({reference.data(), kSize, kSize, kSize}, 16, 16, source.data());
  EXPECT_EQ(vector.dx, 1);
  EXPECT_EQ(vector.dy, 0);
}

TEST(CodeTables, ChoiceFollowsTheCountedCosts) {
  SymbolCounts counts{};
  EXPECT_EQ(chooseCodeTable(counts).table, 0u) << "nothing counted: table 0";
  counts[0] = 3;
  CodeTable once = chooseCodeTable(counts);
  EXPECT_EQ(once.table, 1u);
  EXPECT_TRUE(once.listForm);
  EXPECT_EQ(once.listLength, 0u);
  counts[0] = 2;
  EXPECT_EQ(chooseCodeTable(counts).table, 0u);
}

TEST(CodeTables, EveryTableWrittenReadsBackWithItsOrder) {
  std::mt19937 random(3);
  for (int trial = 0; trial < 200; ++trial) {
    SymbolCounts counts{};
    for (auto& count : counts) count = static_cast<std::uint32_t>(random() % 4 == 0 ? random() % 1000 : random() % 3);
    const CodeTable table = chooseCodeTable(counts);
    std::vector<std::uint8_t> bytes(64);
    BitWriter writer(bytes.data(), bytes.size());
    writeCodeTable(writer, table);
    // Encode each symbol and check its code decodes through the lookup.
    for (unsigned s = 0; s < 16; ++s) {
      const zet::PrefixCode& code = zet::prefixCodes[table.table][table.indexOf[s]];
      const std::uint8_t entry = zet::prefixCodeLookup[table.table][code.bits];
      EXPECT_EQ(entry & 15, table.indexOf[s]);
      EXPECT_EQ(table.order[table.indexOf[s]], s);
    }
  }
}

TEST(CoefficientCoding, TheDecodersReaderGetsBackEveryCoefficient) {
  std::mt19937 random(11);
  for (int trial = 0; trial < 300; ++trial) {
    std::array<std::int32_t, 64> block{};
    const int spread = 1 << (random() % 14);
    for (unsigned p = 1; p < 64; ++p) {
      if (random() % 3 == 0) block[p] = static_cast<std::int32_t>(random() % (2 * spread + 1)) - spread;
    }
    BitRecorder bits;
    writeTransformCoefficients(bits, block.data());
    EXPECT_EQ(bits.bitCount(), transformCoefficientBits(block.data()));
    const std::vector<std::uint8_t> bytes = bytesOf(bits);
    zet::BitReader reader(bytes.data(), bytes.data() + bytes.size());
    std::array<std::int32_t, 64> decoded{};
    zet::readTransformCoefficients(reader, decoded.data());
    EXPECT_EQ(decoded, block);
  }
}

TEST(ResidueCoding, EveryCutReadsBackAsTheDecoderReadsIt) {
  std::mt19937 random(5);
  for (int trial = 0; trial < 100; ++trial) {
    std::array<std::int8_t, 64> differences{};
    for (auto& d : differences) d = random() % 4 == 0 ? static_cast<std::int8_t>(random()) : 0;
    differences[random() % 64] = -128;
    std::vector<std::array<std::uint8_t, 64>> cuts;
    std::array<std::uint8_t, 64> running{};
    measureResidue(differences.data(), [&](const ResidueUse& use) {
      running[use.position] = use.value;
      cuts.push_back(running);
      return true;
    });
    ASSERT_FALSE(cuts.empty());
    for (std::size_t c = 0; c < cuts.size(); c += 1 + cuts.size() / 7) {
      BitRecorder bits;
      codeResidue(bits, differences.data(), [&](const ResidueUse& use) { return use.index < c; });
      const std::vector<std::uint8_t> bytes = bytesOf(bits);
      zet::BitReader reader(bytes.data(), bytes.data() + bytes.size());
      std::array<std::uint8_t, 64> decoded{};
      zet::readResidue(reader, static_cast<unsigned>(c), decoded.data());
      EXPECT_EQ(decoded, cuts[c]) << "cut after use " << c;
    }
    for (unsigned p = 0; p < 64; ++p) EXPECT_EQ(static_cast<std::int8_t>(cuts.back()[p]), differences[p]);
  }
}

TEST(AreaCandidates, AnAreaTheReferenceAlreadyShowsHasNoCandidates) {
  AreaInputs inputs;
  inputs.inter = true;
  for (unsigned p = 0; p < 256; ++p) inputs.source[p] = static_cast<std::uint8_t>((p / 32) * 8 + (p % 16) / 2);
  inputs.reference = expandBlock(reduceArea(inputs.source));
  CandidateList list;
  buildAreaCandidates(inputs, lumaCosts(), list);
  EXPECT_EQ(list.count, 0);
  inputs.inter = false;
  buildAreaCandidates(inputs, lumaCosts(), list);
  EXPECT_GT(list.count, 0);
  EXPECT_LE(list.count, kMaxAreaCandidates);
}

TEST(BlockCandidates, AnInterDcTheBundleCannotCarryIsNeverOffered) {
  // The source is the prediction shifted by +128: every difference is -128,
  // which at the finest quantiser gives a DC of -1024.
  std::mt19937 random(2);
  BlockInputs inputs;
  inputs.inter = true;
  for (unsigned p = 0; p < 64; ++p) {
    inputs.prediction[p] = static_cast<std::uint8_t>(random());
    inputs.source[p] = static_cast<std::uint8_t>(inputs.prediction[p] + 128);
    inputs.reference[p] = inputs.prediction[p];
  }
  std::array<std::int32_t, 64> differences{};
  differences.fill(-128);
  ASSERT_EQ(quantise(forwardTransform(differences), QuantiserKind::kInter, 0)[0], -1024);
  CandidateList list;
  buildBlockCandidates(inputs, lumaCosts(), list);
  for (unsigned i = 0; i < list.count; ++i) {
    EXPECT_FALSE(list.candidates[i].type == kInterBlock && list.candidates[i].parameter == 0);
  }
}

// Codes a plane with every block forced to one kind of candidate and reads
// it back with the decoder.
class PlaneRoundTrip : public ::testing::Test {
 protected:
  static constexpr std::uint32_t kWidth = 48, kHeight = 32;

  void SetUp() override {
    std::mt19937 random(4);
    reference_.resize(kWidth * kHeight);
    source_.resize(kWidth * kHeight);
    for (std::uint32_t y = 0; y < kHeight; ++y) {
      for (std::uint32_t x = 0; x < kWidth; ++x) {
        reference_[y * kWidth + x] = static_cast<std::uint8_t>(x * 5 + y * 3 + random() % 16);
        // The picture moved one pixel right and brightened, with noise.
        const std::uint32_t from = y * kWidth + (x == 0 ? 0 : x - 1);
        source_[y * kWidth + x] = static_cast<std::uint8_t>(reference_[from] + 9 + random() % 5);
      }
    }
  }

  // Every block is coded as `type` with `parameter` (for RUN blocks, the
  // threshold on the block's own scan).
  void codeAndCompare(std::uint8_t type, std::uint16_t parameter) {
    const std::uint32_t columns = kWidth / 8, blocks = columns * (kHeight / 8);
    std::vector<CandidateList> lists(blocks);
    std::vector<std::uint8_t> subtypes(blocks);
    for (std::uint32_t i = 0; i < blocks; ++i) {
      const std::uint32_t x = (i % columns) * 8, y = (i / columns) * 8;
      BlockSamples block{};
      gatherBlock({&source_[y * kWidth + x], kWidth}, block.data());
      const MotionVector vector = searchMotion({reference_.data(), kWidth, kWidth, kHeight}, x, y, block.data());
      lists[i].dx = vector.dx;
      lists[i].dy = vector.dy;
      const std::uint16_t scan = type == kRunBlock ? static_cast<std::uint16_t>(chooseRunScan(block) * 256) : 0;
      lists[i].chosen = {type, static_cast<std::uint16_t>(scan + parameter), 0, 0};
    }

    std::vector<std::uint8_t> rebuilt(kWidth * kHeight), coded(kWidth * kHeight * 4);
    const PlaneToCode plane{source_.data(), reference_.data(), rebuilt.data(), kWidth, kHeight, lists.data(),
                            subtypes.data()};
    const CodedPlane result = codePlane(plane, coded.data(), coded.size());
    ASSERT_TRUE(result.fits);
    std::vector<std::uint8_t> buffers(zet::planeValueBuffersBytes(kWidth));
    std::vector<std::uint8_t> decoded(kWidth * kHeight);
    const zet::PlaneDecodeResult read =
        zet::MovraPlaneDecode(decoded.data(), reference_.data(), kWidth, kHeight, kWidth, coded.data(),
                              coded.data() + result.bytes, {buffers.data(), kWidth}, 0);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.next, coded.data() + result.bytes);
    EXPECT_EQ(decoded, rebuilt);
  }

  std::vector<std::uint8_t> reference_, source_;
};

TEST_F(PlaneRoundTrip, EveryBlockTypeDecodesToTheEncodersReconstruction) {
  struct Case {
    std::uint8_t type;
    std::uint16_t parameter;
  };
  for (const Case& c : {Case{kInterBlock, 0}, Case{kInterBlock, 5}, Case{kResidueBlock, 0}, Case{kResidueBlock, 20},
                        Case{kIntraBlock, 0}, Case{kIntraBlock, 9}, Case{kRunBlock, 0}, Case{kRunBlock, 12},
                        Case{kMotionBlock, 0}, Case{kSkipBlock, 0}, Case{kPatternBlock, 30 + 256 * 200},
                        Case{kFillBlock, 77}, Case{kRawBlock, 0}}) {
    SCOPED_TRACE(testing::Message() << "type " << int{c.type} << " parameter " << c.parameter);
    codeAndCompare(c.type, c.parameter);
  }
}

}  // namespace
}  // namespace movra

namespace movra {
namespace {

TEST(SadKernels, TheSse2VariantAgreesWithThePlainOneOnRandomBlocks) {
  const unsigned seed = ::testing::UnitTest::GetInstance()->random_seed();
  std::mt19937 random(seed);
  SCOPED_TRACE(testing::Message() << "seed " << seed);
  const SadKernels& plain = plainSadKernels();
  const SadKernels& sse2 = sse2SadKernels();
  std::vector<std::uint8_t> plane(40 * 24), samples(64), other(64);
  for (int trial = 0; trial < 2000; ++trial) {
    const int spread = 1 + static_cast<int>(random() % 256);
    for (auto& v : plane) v = static_cast<std::uint8_t>(random() % spread);
    for (auto& v : samples) v = static_cast<std::uint8_t>(random() % spread);
    for (auto& v : other) v = static_cast<std::uint8_t>(random() % spread);
    EXPECT_EQ(sse2.sad64(samples.data(), other.data()), plain.sad64(samples.data(), other.data()));
    const std::uint8_t* block = &plane[(random() % 17) * 40 + random() % 33];
    const std::uint32_t full = plain.sadBounded(block, 40, samples.data(), ~0u);
    const std::uint32_t limit = static_cast<std::uint32_t>(random() % (full + 2));
    const std::uint32_t a = plain.sadBounded(block, 40, samples.data(), limit);
    const std::uint32_t b = sse2.sadBounded(block, 40, samples.data(), limit);
    if (full <= limit) {
      EXPECT_EQ(a, full);
      EXPECT_EQ(b, full);
    } else {
      EXPECT_GT(a, limit);
      EXPECT_GT(b, limit);
    }
  }
}

}  // namespace
}  // namespace movra
