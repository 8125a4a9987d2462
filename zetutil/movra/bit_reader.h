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
      : data_(data), next_(data), bytes_(static_cast<std::size_t>(end - data)) {
    refill();
  }

  // The next `count` bits (at most 32) without taking them.
  std::uint32_t peek(unsigned count) {
    if (cached_ < 32) refill();
    return static_cast<std::uint32_t>(cache_ & ((std::uint64_t{1} << count) - 1));
  }

  void skip(unsigned count) {
    if (cached_ < count) refill();
    cache_ >>= count;
    cached_ -= count;
  }

  std::uint32_t read(unsigned count) {
    const std::uint32_t value = peek(count);
    cache_ >>= count;
    cached_ -= count;
    return value;
  }

  bool readBit() {
    if (cached_ == 0) refill();
    const bool bit = (cache_ & 1) != 0;
    cache_ >>= 1;
    --cached_;
    return bit;
  }

  // True once a bit past the end of the data has been taken.
  bool overrun() const { return position() > bytes_ * 8; }

  // The first byte after the last word from which a bit was taken, kept
  // inside the data.
  const std::uint8_t* nextWord() const {
    const std::size_t wordEnd = (position() + 31) / 32 * 4;
    return data_ + (wordEnd < bytes_ ? wordEnd : bytes_);
  }

 private:
  // Bits taken so far: those loaded minus those still cached.
  std::size_t position() const { return loadedBytes_ * 8 - cached_; }

  // Tops the cache up to at least 56 bits. Past the end of the data the
  // cache fills with zeros, still counted as loaded so that the position
  // keeps growing and the overrun shows.
  void refill() {
    const std::size_t room = (63 - cached_) / 8;
    std::uint64_t word;
    if (loadedBytes_ + 8 <= bytes_) {
      std::memcpy(&word, next_, 8);
      if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    } else {
      word = 0;
      for (std::size_t i = 0; i < room && loadedBytes_ + i < bytes_; ++i) {
        word |= std::uint64_t{next_[i]} << (8 * i);
      }
    }
    cache_ |= word << cached_;
    // Only the bytes that fitted are taken; the pointer stays inside the
    // data even when zeros are being supplied.
    const std::size_t inside = loadedBytes_ < bytes_ ? bytes_ - loadedBytes_ : 0;
    next_ += room < inside ? room : inside;
    loadedBytes_ += room;
    cached_ += static_cast<unsigned>(room * 8);
  }

  const std::uint8_t* data_;
  const std::uint8_t* next_;
  std::size_t bytes_;
  std::size_t loadedBytes_ = 0;
  std::uint64_t cache_ = 0;
  unsigned cached_ = 0;
};

}  // namespace zet
