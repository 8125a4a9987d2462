// Codes one plane: stages its blocks, chooses the code table of every tree
// from the symbols it will carry, and writes the tables, then each block row
// as the batches its blocks need followed by the blocks' own bits.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "plane_staging.h"

namespace movra {

// What each bundle cost in the plane, for the next frame's estimates.
struct BundleUsage {
  std::array<std::uint32_t, kBundles> values{};
  std::array<std::uint32_t, kBundles> bits{};  // count fields and form bits included
};

struct CodedPlane {
  bool fits = false;       // false when the stream did not fit `capacity`
  std::uint32_t bytes = 0;  // a multiple of 4
  BundleUsage usage;
};

CodedPlane codePlane(const PlaneToCode& plane, std::uint8_t* out, std::size_t capacity);

}  // namespace movra
