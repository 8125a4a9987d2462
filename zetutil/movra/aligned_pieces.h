// Places the pieces of one allocation one after another, each on a 32-byte
// boundary: blocks from zetmalloc are 32-byte aligned, so every piece can be
// read with the widest vector loads.
#pragma once

#include <cstddef>

namespace zet {

class AlignedPieces {
 public:
  // Offset of a new piece of `bytes` bytes.
  std::size_t reserve(std::size_t bytes) {
    const std::size_t offset = size_;
    size_ += (bytes + kAlignment - 1) & ~(kAlignment - 1);
    return offset;
  }
  std::size_t size() const { return size_; }

  static constexpr std::size_t kAlignment = 32;

 private:
  std::size_t size_ = 0;
};

}  // namespace zet
