// Reads a sound block's fields least significant bit first, as the format
// stores them in little-endian 32-bit words. The reader never looks past the
// end it is given: beyond it every bit reads as 0, and overran() tells that
// the fields asked for did not fit in the data.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zet {

class SoundBitReader {
 public:
  SoundBitReader(const std::uint8_t* data, const std::uint8_t* end)
      : begin_(data), next_(data), end_(end) {}

  // Makes at least 56 bits available.
  void refill() {
    if (end_ - next_ >= 8) {
      bits_ |= loadLittleEndian64(next_) << available_;
      next_ += (63 - available_) >> 3;
      available_ |= 56;
      return;
    }
    while (available_ <= 56) {
      std::uint64_t byte = 0;
      if (next_ < end_) {
        byte = *next_++;
      } else {
        ++paddingBytes_;
      }
      bits_ |= byte << available_;
      available_ += 8;
    }
  }

  // `count` <= 32 bits.
  std::uint32_t read(unsigned count) {
    if (available_ < count) refill();
    const std::uint32_t value = peek(count);
    skip(count);
    return value;
  }

  // Without a refill: the caller has made `count` bits available.
  std::uint32_t peek(unsigned count) const {
    return static_cast<std::uint32_t>(bits_ & ((std::uint64_t{1} << count) - 1));
  }
  void skip(unsigned count) {
    bits_ >>= count;
    available_ -= count;
  }
  unsigned available() const { return available_; }

  std::size_t bitsUsed() const {
    return static_cast<std::size_t>(next_ - begin_ + paddingBytes_) * 8 - available_;
  }
  bool overran() const { return bitsUsed() > static_cast<std::size_t>(end_ - begin_) * 8; }

  // The word after the last bit used, where the next block starts; the end
  // when the data stops inside that word's padding.
  const std::uint8_t* nextWord() const {
    const std::size_t bytes = (bitsUsed() + 31) / 32 * 4;
    return bytes < static_cast<std::size_t>(end_ - begin_) ? begin_ + bytes : end_;
  }

 private:
  static std::uint64_t loadLittleEndian64(const std::uint8_t* p) {
    std::uint64_t value = 0;
    for (unsigned i = 0; i < 8; ++i) value |= std::uint64_t{p[i]} << (8 * i);
    return value;
  }

  const std::uint8_t* begin_;
  const std::uint8_t* next_;
  const std::uint8_t* end_;
  std::uint64_t bits_ = 0;
  unsigned available_ = 0;
  std::size_t paddingBytes_ = 0;
};

}  // namespace zet
