// Reads a plane's bits: little-endian 32-bit words, least significant bit
// first, which is the same as reading the bytes in order, each from bit 0.
//
// The reader is bounded by the data's end: bits past it read as zeros and
// mark the reader overrun, so a damaged plane can never make it read outside
// its buffer; the decoder checks the mark and fails the plane.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zet {

class BitReader {
 public:
  BitReader(const std::uint8_t* data, const std::uint8_t* end)
      : data_(data), bytes_(static_cast<std::size_t>(end - data)) {}

  // The next `count` bits (at most 32) without taking them.
  std::uint32_t peek(unsigned count) const {
    const std::size_t byte = position_ / 8;
    std::uint64_t window;
    if (byte + 8 <= bytes_) {
      std::memcpy(&window, data_ + byte, 8);
      if constexpr (std::endian::native == std::endian::big) window = __builtin_bswap64(window);
    } else {
      window = tailWindow(byte);
    }
    window >>= position_ % 8;
    return static_cast<std::uint32_t>(window & ((std::uint64_t{1} << count) - 1));
  }

  void skip(unsigned count) { position_ += count; }

  std::uint32_t read(unsigned count) {
    const std::uint32_t value = peek(count);
    skip(count);
    return value;
  }

  bool readBit() { return read(1) != 0; }

  // True once a bit past the end of the data has been taken.
  bool overrun() const { return position_ > bytes_ * 8; }

  // The first byte after the last word from which a bit was taken, kept
  // inside the data.
  const std::uint8_t* nextWord() const {
    const std::size_t wordEnd = (position_ + 31) / 32 * 4;
    return data_ + (wordEnd < bytes_ ? wordEnd : bytes_);
  }

 private:
  // The last bytes of the data, zero-extended; the position may be far past
  // the end once a damaged plane has overrun.
  std::uint64_t tailWindow(std::size_t byte) const {
    std::uint64_t window = 0;
    for (std::size_t i = 0; i < 8 && byte + i < bytes_; ++i) {
      window |= std::uint64_t{data_[byte + i]} << (8 * i);
    }
    return window;
  }

  const std::uint8_t* data_;
  std::size_t bytes_;
  std::size_t position_ = 0;
};

}  // namespace zet
