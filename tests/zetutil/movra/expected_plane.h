// What a plane of coded blocks must decode to, worked out directly from the
// blocks' values without the decoder's code: the oracle of the decoder tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "coded_block.h"

namespace zet::testing {

struct PictureFrame {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::size_t pitch = 0;
  std::vector<std::uint8_t> samples;  // pitch x height

  PictureFrame(std::uint32_t w, std::uint32_t h, std::size_t p, std::uint8_t initial = 0)
      : width(w), height(h), pitch(p), samples(p * h, initial) {}
  std::uint8_t& at(std::size_t x, std::size_t y) { return samples[y * pitch + x]; }
  std::uint8_t at(std::size_t x, std::size_t y) const { return samples[y * pitch + x]; }
};

// The 8x8 inverse transform written out from its formulas in 64-bit
// arithmetic, wrapped to 32 bits after every step: values by natural block
// position, quantiser entries likewise.
std::vector<std::uint8_t> referenceInverseTransform(const std::vector<std::int64_t>& coefficients,
                                                    const std::int32_t* quantiser);

// Applies `blocks` (raster order, as given to the stream writer) to
// `picture`, which holds the destination's contents before decoding, with
// `previous` as the previous picture. Residues must be complete (their mask
// count not cutting them) and within -128..128, where adding the value
// modulo 256 is what the refinement passes amount to.
void applyBlocks(PictureFrame& picture, const PictureFrame& previous,
                 const std::vector<CodedBlock>& blocks);

}  // namespace zet::testing
