#include <gtest/gtest.h>

#include <random>

#include "bit_writer.h"
#include "expected_plane.h"
#include "plane_stream_writer.h"
#include "plane_under_test.h"
#include "random_blocks.h"
#include "scan_orders.h"
#include "test_seed.h"

namespace zet::testing {
namespace {

void fillRandom(PictureFrame& frame, std::mt19937& random) {
  for (auto& sample : frame.samples) sample = static_cast<std::uint8_t>(random());
}

// Codes `blocks`, decodes them over `plane` and compares with the plane
// the blocks describe.
void expectDecodes(PlaneUnderTest& plane, const std::vector<CodedBlock>& blocks,
                   const PlaneStreamOptions& options = {}) {
  PlaneStreamWriter writer(plane.destination.width, plane.destination.height, options);
  for (const CodedBlock& block : blocks) writer.add(block);
  const std::vector<std::uint8_t> data = writer.finish();

  PictureFrame expected = plane.destination;
  applyBlocks(expected, plane.previous, blocks);
  const PlaneDecodeResult result = plane.decode(data, options.olderColourValues ? kPlaneOlderColourValues : 0);
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(plane.nextOffset, static_cast<std::ptrdiff_t>(data.size()));
  for (std::uint32_t y = 0; y < expected.height; ++y) {
    for (std::uint32_t x = 0; x < expected.width; ++x) {
      ASSERT_EQ(plane.destination.at(x, y), expected.at(x, y)) << "at (" << x << ", " << y << ")";
    }
  }
  // The samples right of the plane inside the pitch are not the plane's.
  for (std::uint32_t y = 0; y < expected.height; ++y) {
    for (std::size_t x = expected.width; x < expected.pitch; ++x) ASSERT_EQ(plane.destination.at(x, y), 0x5A);
  }
}

std::array<std::uint8_t, 8> rowsOf(std::uint64_t bits) {
  std::array<std::uint8_t, 8> rows{};
  for (unsigned i = 0; i < 8; ++i) rows[i] = static_cast<std::uint8_t>(bits >> (8 * i));
  return rows;
}

std::vector<std::uint8_t> ramp(unsigned first, unsigned count) {
  std::vector<std::uint8_t> values(count);
  for (unsigned i = 0; i < count; ++i) values[i] = static_cast<std::uint8_t>(first + i * 3);
  return values;
}

TEST(PlaneDecoderTest, BlocksThatNeedNoPreviousPicture) {
  PlaneUnderTest plane(48, 16);
  std::vector<RunSegment> segments = {{16, false}, {16, true}, {16, false}, {16, false}};
  std::vector<std::uint8_t> runColors = ramp(1, 64);
  std::fill(runColors.begin() + 16, runColors.begin() + 32, 77);
  CoefficientValues coefficients{};
  coefficients[1] = 12;
  coefficients[9] = -7;
  coefficients[63] = 3;
  expectDecodes(plane, {
                           CodedBlock::fill(200),
                           CodedBlock::pattern(10, 250, rowsOf(0x0123456789ABCDEF)),
                           CodedBlock::raw(ramp(5, 64)),
                           CodedBlock::run(5, segments, runColors),
                           CodedBlock::intra(1500, coefficients, 3),
                           CodedBlock::fill(0),
                           CodedBlock::pattern(0, 255, rowsOf(0xFF00FF00AA55AA55)),
                           CodedBlock::intra(0, {}, 0),
                           CodedBlock::intra(2047, {}, 15),
                           CodedBlock::raw(ramp(100, 64)),
                           CodedBlock::fill(1),
                           CodedBlock::fill(2),
                       });
}

TEST(PlaneDecoderTest, TypesTenToFifteenLeaveTheDestinationAsItWas) {
  PlaneUnderTest plane(32, 16);
  expectDecodes(plane, {CodedBlock::unused(10), CodedBlock::fill(9), CodedBlock::unused(11), CodedBlock::fill(8),
                        CodedBlock::fill(7), CodedBlock::unused(10), CodedBlock::unused(11), CodedBlock::fill(6)});
  // 12 to 15 are repeat codes among symbols, so only a fill batch carries them.
  for (unsigned type = 12; type < 16; ++type) {
    PlaneUnderTest filled(16, 8);
    PlaneStreamOptions options;
    options.fillForms = FillForms::kWheneverEqual;
    expectDecodes(filled, {CodedBlock::unused(type), CodedBlock::unused(type)}, options);
  }
}

TEST(PlaneDecoderTest, CopiesFromThePreviousPictureWithOffsetsBothWays) {
  std::mt19937 random(testSeed());
  PlaneUnderTest plane(48, 48, 56);
  fillRandom(plane.previous, random);
  std::vector<CodedBlock> blocks(36, CodedBlock::skip());
  blocks[7] = CodedBlock::motion(-8, -8);     // (8, 8) from the corner
  blocks[14] = CodedBlock::motion(-15, -15);  // (16, 16) from (1, 1)
  blocks[15] = CodedBlock::motion(15, 15);
  blocks[20] = CodedBlock::motion(-3, 7);
  blocks[23] = CodedBlock::motion(0, -13);
  blocks[35] = CodedBlock::motion(-15, -1);
  blocks[1] = CodedBlock::motion(13, 0);
  expectDecodes(plane, blocks);
}

TEST(PlaneDecoderTest, RunBlocksInEveryScanOrder) {
  std::mt19937 random(testSeed());
  PlaneUnderTest plane(64, 32);
  std::vector<CodedBlock> blocks;
  for (unsigned scan = 0; scan < kRunScanOrders; ++scan) {
    // 16 x 4 covers all 64 positions; 16 + 16 + 16 + 15 leaves the last
    // one, which takes a colour of its own.
    const bool lastApart = scan % 2 == 1;
    std::vector<RunSegment> segments = {{16, false}, {16, true}, {16, false}, {lastApart ? 15u : 16u, scan % 4 < 2}};
    std::vector<std::uint8_t> colors(64);
    for (auto& c : colors) c = static_cast<std::uint8_t>(random());
    std::fill(colors.begin() + 16, colors.begin() + 32, colors[16]);
    if (scan % 4 < 2) std::fill(colors.begin() + 48, colors.begin() + (lastApart ? 63 : 64), colors[48]);
    blocks.push_back(CodedBlock::run(scan, segments, colors));
    blocks.push_back(CodedBlock::fill(static_cast<std::uint8_t>(scan)));  // shows a colour taken too many or few
  }
  expectDecodes(plane, blocks);
}

TEST(PlaneDecoderTest, ResidueBlocksAddToTheMotionCopy) {
  std::mt19937 random(testSeed());
  PlaneUnderTest plane(32, 32);
  fillRandom(plane.previous, random);
  std::vector<CodedBlock> blocks;
  for (int i = 0; i < 16; ++i) {
    CoefficientValues values{};
    for (auto& v : values) v = random() % 3 == 0 ? static_cast<int>(random() % 257) - 128 : 0;
    blocks.push_back(CodedBlock::residue(i % 4 == 0 ? 0 : -(i % 4), i / 4 == 3 ? -2 : i / 4, values, 127));
  }
  expectDecodes(plane, blocks);
}

TEST(PlaneDecoderTest, ResidueEndsAfterItsMaskCountUses) {
  // +5 and -3 are sent as +4, -2, then +1 on the 5, then -1 on the 3.
  struct Case {
    unsigned maskCount;
    std::uint8_t first;
    std::uint8_t second;
  };
  const Case cases[] = {{0, 4, 0}, {1, 4, 0xFE}, {2, 5, 0xFE}, {3, 5, 0xFD}, {127, 5, 0xFD}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.maskCount);
    PlaneUnderTest plane(16, 8);
    CoefficientValues values{};
    values[0] = 5;
    values[1] = -3;
    PlaneStreamWriter writer(16, 8);
    writer.add(CodedBlock::residue(0, 0, values, c.maskCount));
    // A second block's bits follow; it comes out right only if the first
    // residue stopped where the writer stopped.
    CoefficientValues one{};
    one[0] = 9;
    writer.add(CodedBlock::residue(0, 0, one, 127));
    ASSERT_TRUE(plane.decode(writer.finish()).ok);
    EXPECT_EQ(plane.destination.at(0, 0), c.first);   // coefficient 0 sits at (0, 0)
    EXPECT_EQ(plane.destination.at(1, 0), c.second);  // coefficient 1 at (1, 0)
    EXPECT_EQ(plane.destination.at(8, 0), 9);
  }
}

TEST(PlaneDecoderTest, ResidueRefinesATopBitValueAsNegative) {
  // 192 is sent as +128, which as a signed byte is -128, so the refinement
  // by 64 moves it to 0x80 - 64 = 0x40.
  PlaneUnderTest plane(8, 8);
  CoefficientValues values{};
  values[0] = 192;
  PlaneStreamWriter writer(8, 8);
  writer.add(CodedBlock::residue(0, 0, values, 127));
  ASSERT_TRUE(plane.decode(writer.finish()).ok);
  EXPECT_EQ(plane.destination.at(0, 0), 0x40);
}

TEST(PlaneDecoderTest, TransformBlocksWithEveryQuantiser) {
  std::mt19937 random(testSeed());
  PlaneUnderTest plane(64, 32);
  fillRandom(plane.previous, random);
  std::vector<CodedBlock> blocks;
  for (unsigned q = 0; q < 16; ++q) {
    CoefficientValues coefficients{};
    for (unsigned k = 1; k < 64; ++k) coefficients[k] = random() % 4 == 0 ? static_cast<int>(random() % 61) - 30 : 0;
    blocks.push_back(CodedBlock::intra(static_cast<int>(random() % 2048), coefficients, q));
    blocks.push_back(CodedBlock::inter(-static_cast<int>(q % 2), q < 8 ? 1 : -1,
                                       static_cast<int>(random() % 2047) - 1023, coefficients, q));
  }
  // No coefficients at all: the DC alone, spread by the transform.
  blocks[3] = CodedBlock::inter(0, 0, -1023, {}, 15);
  blocks[5] = CodedBlock::inter(-1, 0, 500, {}, 7);
  expectDecodes(plane, blocks);
}

TEST(PlaneDecoderTest, LargeCoefficientsWrapInsteadOfOverflowing) {
  PlaneUnderTest plane(16, 8);
  CoefficientValues coefficients{};
  for (unsigned k = 1; k < 64; ++k) coefficients[k] = (k % 2 ? 1 : -1) * 32767;
  expectDecodes(plane, {CodedBlock::intra(2047, coefficients, 15), CodedBlock::inter(0, 0, -1023, coefficients, 15)});
}

TEST(PlaneDecoderTest, ScaledAreasDoubleEverySubType) {
  std::mt19937 random(testSeed());
  PlaneUnderTest plane(96, 32);
  fillRandom(plane.previous, random);
  std::vector<std::uint8_t> colors(64);
  for (auto& c : colors) c = static_cast<std::uint8_t>(random());
  CoefficientValues coefficients{};
  coefficients[2] = 20;
  coefficients[5] = -11;
  std::vector<RunSegment> segments = {{16, false}, {16, false}, {16, false}, {15, false}};
  const std::vector<CodedBlock> upper = {
      CodedBlock::scaled(CodedBlock::run(9, segments, colors)),
      CodedBlock::scaled(CodedBlock::intra(900, coefficients, 2)),
      CodedBlock::scaled(CodedBlock::fill(33)),
      CodedBlock::scaled(CodedBlock::pattern(1, 2, rowsOf(0x8040201008040201))),
      CodedBlock::scaled(CodedBlock::raw(colors)),
      CodedBlock::scaled(CodedBlock::motion(0, 0)),  // not a sub type: writes nothing
  };
  std::vector<CodedBlock> blocks = upper;
  // The lower halves: passed over, or overwritten block by block.
  blocks.push_back(CodedBlock::scaledLower());
  blocks.push_back(CodedBlock::fill(44));
  blocks.push_back(CodedBlock::skip());
  blocks.push_back(CodedBlock::scaledLower());
  blocks.push_back(CodedBlock::scaledLower());
  blocks.push_back(CodedBlock::raw(colors));
  blocks.push_back(CodedBlock::fill(45));
  blocks.push_back(CodedBlock::scaledLower());
  blocks.insert(blocks.end(), upper.rbegin(), upper.rend());
  for (int i = 0; i < 6; ++i) blocks.push_back(CodedBlock::scaledLower());
  expectDecodes(plane, blocks);
}

TEST(PlaneDecoderTest, OlderColourValuesAreSignAndMagnitude) {
  // An 8x8 plane holding one FILL block, written out bit by bit.
  BitWriter bits;
  writePlainTrees(bits);
  bits.put(1, 10);  // block types: one value (10-bit count: 511 + 1 needs 10 bits)
  bits.putBit(true);
  bits.put(6, 4);   // FILL for all
  bits.put(0, 9);   // sub types: none (511 + 0 needs 9 bits)
  bits.put(1, 10);  // colours: one (511 + 64 = 575 needs 10 bits)
  bits.putBit(false);
  bits.put(0x8, 4);  // high nibble, plain code
  bits.put(0x5, 4);  // low nibble
  for (int stream = 0; stream < 6; ++stream) bits.put(0, 10);  // the other six end at once
  const std::vector<std::uint8_t> data = bits.words();

  PlaneUnderTest older(8, 8);
  ASSERT_TRUE(older.decode(data, kPlaneOlderColourValues).ok);
  EXPECT_EQ(older.destination.at(3, 3), 123);
  PlaneUnderTest current(8, 8);
  ASSERT_TRUE(current.decode(data).ok);
  EXPECT_EQ(current.destination.at(3, 3), 133);
}

TEST(PlaneDecoderTest, OlderColourValuesCoverEveryColourTheyCanCarry) {
  PlaneUnderTest plane(32, 8);
  // Colour 0 has no code in the older form; 1 to 255 fill four RAW blocks.
  std::vector<CodedBlock> blocks;
  for (unsigned b = 0; b < 4; ++b) {
    std::vector<std::uint8_t> colors(64);
    for (unsigned i = 0; i < 64; ++i) colors[i] = static_cast<std::uint8_t>(std::min(255u, 1 + b * 64 + i));
    blocks.push_back(CodedBlock::raw(colors));
  }
  PlaneStreamOptions options;
  options.olderColourValues = true;
  expectDecodes(plane, blocks, options);
}

TEST(PlaneDecoderTest, CodeTreesOfEveryTableInBothForms) {
  std::mt19937 random(testSeed());
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    PlaneStreamOptions options;
    for (TreeSpec& tree : options.trees) {
      SymbolOrder order = identityOrder();
      std::shuffle(order.begin(), order.end(), random);
      const unsigned table = static_cast<unsigned>(random() % 16);
      tree = random() % 2 ? TreeSpec::listForm(table, 1 + static_cast<unsigned>(random() % 8), order)
                          : TreeSpec::mergeForm(table, static_cast<unsigned>(random() % 4), order);
    }
    PlaneUnderTest plane(64, 48);
    fillRandom(plane.previous, random);
    expectDecodes(plane, randomPlaneBlocks(64, 48, evenMix(), random), options);
  }
}

TEST(PlaneDecoderTest, BatchesSpanRowsAndCloseAtTheThreshold) {
  std::mt19937 random(testSeed());
  // Five RAW blocks a row bring 320 colours; the first batch closes after
  // the second row with 640, more than a 9-bit count could say.
  std::vector<CodedBlock> blocks;
  for (int row = 0; row < 8; ++row) {
    for (int b = 0; b < 8; ++b) {
      std::vector<std::uint8_t> colors(64);
      for (auto& c : colors) c = static_cast<std::uint8_t>(random());
      blocks.push_back(b < 5 ? CodedBlock::raw(colors) : b == 5 ? CodedBlock::fill(colors[0]) : CodedBlock::skip());
    }
  }
  // A row of nothing but SKIP in the middle: other streams' batches run dry
  // and end at the next row.
  for (int b = 16; b < 24; ++b) blocks[b] = CodedBlock::skip();
  for (std::size_t threshold : {std::size_t{512}, std::size_t{1}, std::size_t{100}, std::size_t{900}}) {
    SCOPED_TRACE(threshold);
    PlaneStreamOptions options;
    options.batchClose = threshold;
    PlaneUnderTest plane(64, 64);
    fillRandom(plane.previous, random);
    expectDecodes(plane, blocks, options);
  }
}

TEST(PlaneDecoderTest, FillFormsAndRepeatCodes) {
  std::mt19937 random(testSeed());
  // Runs of equal types of 33, 32, 9, 5 and 4 repeats take every repeat code.
  std::vector<CodedBlock> blocks;
  const std::pair<CodedBlock, int> runs[] = {
      {CodedBlock::fill(3), 34}, {CodedBlock::motion(0, 0), 33}, {CodedBlock::fill(4), 10},
      {CodedBlock::skip(), 6},   {CodedBlock::motion(0, 0), 5},  {CodedBlock::skip(), 8},
  };
  for (const auto& [block, count] : runs) blocks.insert(blocks.end(), count, block);
  for (FillForms forms : {FillForms::kEncoder, FillForms::kWheneverEqual, FillForms::kNever}) {
    PlaneStreamOptions options;
    options.fillForms = forms;
    SCOPED_TRACE(static_cast<int>(forms));
    PlaneUnderTest plane(96, 64);
    fillRandom(plane.previous, random);
    expectDecodes(plane, blocks, options);
    // Streams whose values are all equal, zero or not.
    PlaneUnderTest equal(32, 16);
    fillRandom(equal.previous, random);
    const CodedBlock inter = CodedBlock::inter(-1, 1, -77, {}, 4);
    const CodedBlock fill = CodedBlock::fill(5);
    expectDecodes(equal, {fill, inter, fill, inter, fill, fill, fill, fill}, options);
    PlaneUnderTest skipped(32, 16);
    fillRandom(skipped.previous, random);
    expectDecodes(skipped, std::vector<CodedBlock>(8, CodedBlock::skip()), options);
  }
}

TEST(PlaneDecoderTest, PlanesFollowEachOtherFromTheNextWord) {
  std::mt19937 random(testSeed());
  // Alpha, luma and the two chroma planes of a 40 x 24 picture, back to
  // back as in a frame packet of a file without a luma size prefix.
  const std::uint32_t widths[] = {40, 40, 24, 24};
  const std::uint32_t heights[] = {24, 24, 16, 16};
  const std::uint32_t pitches[] = {48, 48, 24, 24};
  std::vector<std::uint8_t> data;
  std::vector<std::vector<CodedBlock>> planes;
  for (int i = 0; i < 4; ++i) {
    planes.push_back(randomPlaneBlocks(widths[i], heights[i], keyFrameMix(), random));
    PlaneStreamWriter writer(widths[i], heights[i]);
    for (const CodedBlock& block : planes.back()) writer.add(block);
    const std::vector<std::uint8_t> plane = writer.finish();
    data.insert(data.end(), plane.begin(), plane.end());
  }
  std::vector<std::uint32_t> values((planeValueBuffersBytes(48) + 3) / 4);
  const PlaneValueBuffers buffers{reinterpret_cast<std::uint8_t*>(values.data()), 48};
  const std::uint8_t* at = data.data();
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    PictureFrame decoded(widths[i], heights[i], pitches[i]);
    PictureFrame expected = decoded;
    applyBlocks(expected, decoded, planes[static_cast<std::size_t>(i)]);
    const PlaneDecodeResult result = MovraPlaneDecode(decoded.samples.data(), decoded.samples.data(), widths[i],
                                                      heights[i], pitches[i], at, data.data() + data.size(),
                                                      buffers, 0);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(decoded.samples, expected.samples);
    at = result.next;
  }
  EXPECT_EQ(at, data.data() + data.size());
}

TEST(PlaneDecoderTest, OddPictureSizesAndWidePitches) {
  std::mt19937 random(testSeed());
  struct Size {
    std::uint32_t width, height, pitch;
  };
  for (const Size s : {Size{8, 8, 8}, Size{8, 40, 16}, Size{24, 8, 32}, Size{136, 72, 144}, Size{16, 120, 16}}) {
    SCOPED_TRACE(::testing::Message() << s.width << "x" << s.height);
    PlaneUnderTest plane(s.width, s.height, s.pitch);
    fillRandom(plane.previous, random);
    expectDecodes(plane, randomPlaneBlocks(s.width, s.height, evenMix(), random));
  }
}

}  // namespace
}  // namespace zet::testing
