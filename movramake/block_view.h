// An 8 x 8 (or larger) block inside a plane: its first sample and the
// distance between rows.
#pragma once

#include <cstddef>
#include <cstdint>

namespace movra {

struct ConstBlock {
  const std::uint8_t* data = nullptr;
  std::size_t pitch = 0;
  std::uint8_t at(unsigned row, unsigned column) const { return data[row * pitch + column]; }
};

// Copies an 8 x 8 block into 64 contiguous samples, row by row.
inline void gatherBlock(const ConstBlock& block, std::uint8_t* out) {
  for (unsigned row = 0; row < 8; ++row) {
    for (unsigned column = 0; column < 8; ++column) out[row * 8 + column] = block.at(row, column);
  }
}

}  // namespace movra
