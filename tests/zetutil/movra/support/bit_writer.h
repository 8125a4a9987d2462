// Writes bits the way the house video format reads them: each field least
// significant bit first, bytes filled from bit 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zet::testing {

class BitWriter {
 public:
  // The low `count` bits of `value` (count at most 32).
  void put(std::uint32_t value, unsigned count);
  void putBit(bool bit) { put(bit ? 1 : 0, 1); }
  void append(const BitWriter& other);

  std::size_t bitCount() const { return bitCount_; }

  // The bits so far, padded with zero bits to a whole 32-bit word.
  std::vector<std::uint8_t> words() const;

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t bitCount_ = 0;
};

}  // namespace zet::testing
