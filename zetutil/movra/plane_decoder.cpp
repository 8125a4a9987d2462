#include "plane_decoder.h"

#include <algorithm>

#include "bit_reader.h"
#include "block_decoder.h"
#include "bundles.h"
#include "value_buffer_layout.h"

namespace zet {

std::size_t planeValueBuffersBytes(std::uint32_t lumaPitch) {
  return ValueBufferLayout(lumaPitch).totalBytes;
}

namespace {

// What the caller promises; a plane that breaks it is not decoded at all.
bool sensibleCall(const std::uint8_t* destination, const std::uint8_t* previous,
                  std::uint32_t width, std::uint32_t height, std::uint32_t pitch,
                  const std::uint8_t* data, const std::uint8_t* dataEnd,
                  const PlaneValueBuffers& valueBuffers) {
  return destination != nullptr && previous != nullptr && data != nullptr && dataEnd >= data &&
         valueBuffers.memory != nullptr && width != 0 && height != 0 && width % 8 == 0 &&
         height % 8 == 0 && width <= pitch && width <= valueBuffers.lumaPitch;
}

// Motion copies of the next block row may reach rows that no block has
// read yet; asking for them a row ahead hides most of their memory latency.
void prefetchMotionRows(const std::uint8_t* previous, std::uint32_t width, std::uint32_t height,
                        std::size_t pitch, std::uint32_t y) {
  const std::uint32_t first = y + 8 + 7 + 8;
  const std::uint32_t last = std::min(height, first + 8);
  for (std::uint32_t row = first; row < last; ++row) {
    const std::uint8_t* line = previous + row * pitch;
    for (std::uint32_t x = 0; x < width; x += 64) __builtin_prefetch(line + x);
  }
}

}  // namespace

PlaneDecodeResult MovraPlaneDecode(std::uint8_t* destination, const std::uint8_t* previous,
                                   std::uint32_t width, std::uint32_t height, std::uint32_t pitch,
                                   const std::uint8_t* data, const std::uint8_t* dataEnd,
                                   const PlaneValueBuffers& valueBuffers, std::uint32_t flags) {
  if (!sensibleCall(destination, previous, width, height, pitch, data, dataEnd, valueBuffers)) {
    return {};
  }
  BitReader bits(data, dataEnd);
  PlaneBundles bundles(valueBuffers, width, (flags & kPlaneOlderColourValues) != 0);
  bundles.readTrees(bits);
  BlockDecoder blocks(bits, bundles, {destination, previous, width, height, pitch});
  bool failed = false;
  for (std::uint32_t y = 0; y < height; y += 8) {
    prefetchMotionRows(previous, width, height, pitch, y);
    if (!bundles.refill(bits)) return {};
    for (std::uint32_t x = 0; x < width;) {
      const unsigned type = bundles.blockTypes.take(failed);
      if (failed) return {};
      x += blocks.decode(type, x, y);
      if (blocks.failed()) return {};
    }
    // Bits past the end read as zeros, which can only lead to more zeros
    // being read, so one check per row is enough to stop a damaged plane.
    if (bits.overrun()) return {};
  }
  return {true, bits.nextWord()};
}

}  // namespace zet
