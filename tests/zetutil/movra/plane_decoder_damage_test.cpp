// Damaged plane data: every break of the coding rules makes the plane fail
// without reading or writing outside its buffers (the sanitizer builds run
// these too).
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "bit_writer.h"
#include "plane_stream_writer.h"
#include "plane_under_test.h"
#include "random_blocks.h"
#include "test_seed.h"

namespace zet::testing {
namespace {

// A hand-written plane of one block row: plain trees, the row's batches,
// each written by `batch` for its stream, then the blocks' bits.
std::vector<std::uint8_t> handWritten(const std::function<void(BitWriter&, Stream)>& batch,
                                      const std::function<void(BitWriter&)>& blockBits = {}) {
  BitWriter bits;
  writePlainTrees(bits);
  for (unsigned s = 0; s < kStreams; ++s) batch(bits, static_cast<Stream>(s));
  if (blockBits) blockBits(bits);
  return bits.words();
}

// A block type batch of one value in fill form, the other streams ended
// unless `more` writes them.
std::function<void(BitWriter&, Stream)> oneType(std::uint32_t width, unsigned type, unsigned count,
                                                const std::function<bool(BitWriter&, Stream)>& more = {}) {
  return [=](BitWriter& bits, Stream stream) {
    if (more && more(bits, stream)) return;
    if (stream == Stream::kBlockTypes) {
      bits.put(count, countFieldBits(stream, width));
      bits.putBit(true);
      bits.put(type, 4);
      return;
    }
    bits.put(0, countFieldBits(stream, width));
  };
}

TEST(PlaneDecoderDamageTest, BatchLargerThanItsBuffer) {
  // 8-pixel-wide buffers hold 516 block types; the count field can say 1023.
  const auto data = handWritten(oneType(8, 6, 1023));
  PlaneUnderTest plane(8, 8);
  EXPECT_FALSE(plane.decode(data).ok);
}

TEST(PlaneDecoderDamageTest, RepeatCodesPastTheCount) {
  const auto data = handWritten([](BitWriter& bits, Stream stream) {
    if (stream != Stream::kBlockTypes) return bits.put(0, countFieldBits(stream, 8));
    bits.put(2, countFieldBits(stream, 8));
    bits.putBit(false);
    bits.put(12, 4);  // repeat 4 times, with room for 2
  });
  PlaneUnderTest plane(16, 8);
  EXPECT_FALSE(plane.decode(data).ok);
}

TEST(PlaneDecoderDamageTest, ValueTakenFromAnEndedStream) {
  // A FILL block, but the colour stream ended at once.
  const auto data = handWritten(oneType(8, 6, 1));
  PlaneUnderTest plane(8, 8);
  EXPECT_FALSE(plane.decode(data).ok);
}

TEST(PlaneDecoderDamageTest, ValueTakenPastTheBatch) {
  // Two FILL blocks and one colour.
  const auto data = handWritten(oneType(16, 6, 2, [](BitWriter& bits, Stream stream) {
                                  if (stream != Stream::kColors) return false;
                                  bits.put(1, countFieldBits(stream, 16));
                                  bits.putBit(true);
                                  bits.put(0x77, 8);
                                  return true;
                                }));
  PlaneUnderTest plane(16, 8);
  EXPECT_FALSE(plane.decode(data).ok);
}

TEST(PlaneDecoderDamageTest, RunPastTheLastPosition) {
  // Runs of 10, 16, 16, 16 reach 58; another 16 would end at 74.
  const auto data = handWritten(
      oneType(8, 3, 1,
              [](BitWriter& bits, Stream stream) {
                if (stream == Stream::kColors) {
                  bits.put(1, countFieldBits(stream, 8));
                  bits.putBit(true);
                  bits.put(0x10, 8);
                  return true;
                }
                if (stream != Stream::kRuns) return false;
                bits.put(5, countFieldBits(stream, 8));
                bits.putBit(false);
                for (unsigned run : {9u, 15u, 15u, 15u, 15u}) bits.put(run, 4);
                return true;
              }),
      [](BitWriter& bits) {
        bits.put(0, 4);  // scan order
        for (int i = 0; i < 5; ++i) bits.putBit(true);
      });
  PlaneUnderTest plane(8, 8);
  EXPECT_FALSE(plane.decode(data).ok);
}

TEST(PlaneDecoderDamageTest, MotionLeavingThePlane) {
  struct Case {
    int dx, dy;
    std::uint32_t blockX, blockY;
  };
  // The plane is 24 x 16 inside a pitch of 32: the padding is not the plane.
  const Case cases[] = {{-1, 0, 0, 0}, {0, -1, 8, 0}, {1, 0, 16, 0}, {0, 1, 8, 8}, {-15, -15, 8, 8}, {15, 0, 8, 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.dx << "," << c.dy << " at " << c.blockX << "," << c.blockY);
    PlaneStreamWriter writer(24, 16);
    for (std::uint32_t y = 0; y < 16; y += 8) {
      for (std::uint32_t x = 0; x < 24; x += 8) {
        // The writer checks only the range; placing is the decoder's check.
        writer.add(x == c.blockX && y == c.blockY ? CodedBlock::motion(c.dx, c.dy) : CodedBlock::skip());
      }
    }
    PlaneUnderTest plane(24, 16, 32);
    EXPECT_FALSE(plane.decode(writer.finish()).ok);
  }
}

TEST(PlaneDecoderDamageTest, ScaledAreaWithoutRoom) {
  const CodedBlock scaled = CodedBlock::scaled(CodedBlock::fill(2));
  const CodedBlock fill = CodedBlock::fill(1);
  struct Case {
    std::uint32_t width, height;
    std::vector<CodedBlock> blocks;
  };
  const Case cases[] = {
      {8, 16, {scaled, fill}},                              // no block to the right
      {24, 16, {fill, fill, scaled, fill, fill, fill}},     // nor here, at the right edge
      {16, 8, {scaled}},                                    // no row below
      {32, 24, {fill, fill, fill, fill, fill, fill, fill, fill, scaled, fill, fill}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height);
    PlaneStreamWriter writer(c.width, c.height);
    for (const CodedBlock& block : c.blocks) writer.add(block);
    PlaneUnderTest plane(c.width, c.height);
    EXPECT_FALSE(plane.decode(writer.finish()).ok);
  }
}

TEST(PlaneDecoderDamageTest, CutShortDataFailsOrDecodesAsWhole) {
  std::mt19937 random(testSeed());
  PlaneStreamWriter writer(48, 32);
  for (const CodedBlock& block : randomPlaneBlocks(48, 32, evenMix(), random)) writer.add(block);
  const std::vector<std::uint8_t> data = writer.finish();
  PlaneUnderTest whole(48, 32);
  ASSERT_TRUE(whole.decode(data).ok);
  // Only the zero padding after the last bit may go missing.
  for (std::size_t size = 0; size < data.size(); ++size) {
    PlaneUnderTest cut(48, 32);
    const std::vector<std::uint8_t> shorter(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size));
    const PlaneDecodeResult result = cut.decode(shorter);
    if (size + 4 <= data.size()) {
      EXPECT_FALSE(result.ok) << size;
    }
    if (result.ok) {
      EXPECT_EQ(cut.destination.samples, whole.destination.samples);
      EXPECT_EQ(cut.nextOffset, static_cast<std::ptrdiff_t>(size));
    }
  }
}

TEST(PlaneDecoderDamageTest, DamagedStreamsStayInsideTheirBuffers) {
  std::mt19937 random(testSeed());
  PlaneStreamWriter writer(64, 48);
  for (const CodedBlock& block : randomPlaneBlocks(64, 48, interFrameMix(), random)) writer.add(block);
  const std::vector<std::uint8_t> valid = writer.finish();
  for (int round = 0; round < 600; ++round) {
    std::vector<std::uint8_t> data = valid;
    if (round % 3 == 0) {
      for (auto& byte : data) byte = static_cast<std::uint8_t>(random());
    } else {
      for (int flips = 1 + round % 5; flips > 0; --flips) {
        data[random() % data.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
      }
    }
    // Some with one buffer as both pictures, as in a file of key frames only.
    PlaneUnderTest plane(64, 48, round % 2 ? 72 : 64);
    if (round % 4 == 1) {
      const PlaneDecodeResult result =
          MovraPlaneDecode(plane.destination.samples.data(), plane.destination.samples.data(), 64, 48, 72,
                           data.data(), data.data() + data.size(), plane.buffers, 0);
      if (result.ok) {
        EXPECT_GE(result.next, data.data());
        EXPECT_LE(result.next, data.data() + data.size());
      }
    } else {
      plane.decode(data, round % 5 == 0 ? kPlaneOlderColourValues : 0);
    }
  }
}

TEST(PlaneDecoderDamageTest, RefusesCallsThatBreakThePlaneRules) {
  std::vector<std::uint8_t> data = writeFlatPlane(16, 16, 9);
  PlaneUnderTest plane(16, 16, 16, 8);  // buffers sized for a narrower picture
  EXPECT_FALSE(plane.decode(data).ok);
  PlaneUnderTest fits(16, 16);
  EXPECT_TRUE(fits.decode(data).ok);
  EXPECT_FALSE(MovraPlaneDecode(fits.destination.samples.data(), fits.previous.samples.data(), 12, 16, 16,
                                data.data(), data.data() + data.size(), fits.buffers, 0)
                   .ok);
  EXPECT_FALSE(MovraPlaneDecode(fits.destination.samples.data(), fits.previous.samples.data(), 16, 16, 16,
                                data.data() + 4, data.data(), fits.buffers, 0)
                   .ok);
}

}  // namespace
}  // namespace zet::testing
