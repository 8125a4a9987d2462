// Writes a sound block's fields least significant bit first into
// little-endian 32-bit words, the counterpart of SoundBitReader. Output
// beyond the buffer's capacity is dropped and reported by overflowed().
#pragma once

#include <cstddef>
#include <cstdint>

namespace zet {

class SoundBitWriter {
 public:
  SoundBitWriter(std::uint8_t* buffer, std::size_t capacity)
      : begin_(buffer), next_(buffer), end_(buffer + capacity) {}

  // `count` <= 32 bits; `value` has no bits above them.
  void write(std::uint32_t value, unsigned count) {
    bits_ |= std::uint64_t{value} << pending_;
    pending_ += count;
    if (pending_ >= 32) {
      storeWord(static_cast<std::uint32_t>(bits_));
      bits_ >>= 32;
      pending_ -= 32;
    }
  }

  // Zero bits up to the next word boundary.
  void padToWord() {
    if (pending_ > 0) {
      storeWord(static_cast<std::uint32_t>(bits_));
      bits_ = 0;
      pending_ = 0;
    }
  }

  // Bytes of whole words written (after padToWord, everything written).
  std::size_t bytesWritten() const { return static_cast<std::size_t>(next_ - begin_); }
  bool overflowed() const { return overflowed_; }

 private:
  void storeWord(std::uint32_t word) {
    if (end_ - next_ < 4) {
      overflowed_ = true;
      return;
    }
    for (unsigned i = 0; i < 4; ++i) next_[i] = static_cast<std::uint8_t>(word >> (8 * i));
    next_ += 4;
  }

  std::uint8_t* begin_;
  std::uint8_t* next_;
  std::uint8_t* end_;
  std::uint64_t bits_ = 0;
  unsigned pending_ = 0;
  bool overflowed_ = false;
};

}  // namespace zet
