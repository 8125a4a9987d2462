// Bits kept aside while a plane's bundles are still being collected: the
// per-block data of every block row, emitted after that row's batches.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "bit_writer.h"

namespace movra {

class BitRecorder {
 public:
  void put(std::uint32_t value, unsigned count) {
    for (unsigned i = 0; i < count; ++i) putBit(((value >> i) & 1) != 0);
  }
  void putBit(bool bit) {
    if (bits_ % 64 == 0) words_.push_back(0);
    if (bit) words_.back() |= std::uint64_t{1} << (bits_ % 64);
    ++bits_;
  }
  std::uint64_t bitCount() const { return bits_; }

  // Appends bits [first, last) to `out`.
  void copyTo(BitWriter& out, std::uint64_t first, std::uint64_t last) const {
    while (first < last) {
      const unsigned offset = static_cast<unsigned>(first % 64);
      const unsigned count = static_cast<unsigned>(std::min<std::uint64_t>({last - first, std::uint64_t{64} - offset, 32}));
      const std::uint64_t word = words_[first / 64] >> offset;
      out.put(static_cast<std::uint32_t>(word), count);
      first += count;
    }
  }

 private:
  std::vector<std::uint64_t> words_;
  std::uint64_t bits_ = 0;
};

}  // namespace movra
