// Decodes the blocks of one plane, one 8x8 block (or 16x16 scaled area) at
// a time, taking values from the bundles and per-block data from the bits.
#pragma once

#include <cstddef>
#include <cstdint>

#include "bit_reader.h"
#include "bundles.h"
#include "plane_kernels.h"

namespace zet {

struct PlaneGeometry {
  std::uint8_t* destination = nullptr;
  const std::uint8_t* previous = nullptr;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::size_t pitch = 0;
};

class BlockDecoder {
 public:
  BlockDecoder(BitReader& bits, PlaneBundles& bundles, const PlaneGeometry& plane);

  // Decodes the block of type `type` whose top-left sample is at (x, y) and
  // returns how many samples to the right it covered. Anything that breaks
  // the coding rules sets failed().
  std::uint32_t decode(unsigned type, std::uint32_t x, std::uint32_t y);

  bool failed() const { return failed_; }

 private:
  // The types that stand alone, also used inside a scaled area; they write
  // an 8x8 block at `out`, rows `pitch` apart.
  void decodeFill(std::uint8_t* out, std::size_t pitch);
  void decodePattern(std::uint8_t* out, std::size_t pitch);
  void decodeRaw(std::uint8_t* out, std::size_t pitch);
  void decodeRun(std::uint8_t* out, std::size_t pitch);
  void decodeIntra(std::uint8_t* out, std::size_t pitch);

  // The types that start from the previous picture.
  void copyFromPrevious(std::uint8_t* out, std::uint32_t x, std::uint32_t y);
  // Copies the motion-compensated block; false (and failed) when the offset
  // leaves the plane.
  bool predict(std::uint8_t* out, std::uint32_t x, std::uint32_t y);
  void decodeResidue(std::uint8_t* out, std::uint32_t x, std::uint32_t y);
  void decodeInter(std::uint8_t* out, std::uint32_t x, std::uint32_t y);

  std::uint32_t decodeScaled(std::uint8_t* out, std::uint32_t x, std::uint32_t y);

  BitReader& bits_;
  PlaneBundles& bundles_;
  PlaneGeometry plane_;
  const PlaneKernels& kernels_;
  bool failed_ = false;
};

}  // namespace zet
