// Writes a plane's bit stream: fields packed least significant bit first
// into little-endian 32-bit words, the order the decoder reads them. The
// writer is bounded by its buffer: a stream that does not fit sets the
// overflow mark and writes nothing past the end.
#pragma once

#include <cstddef>
#include <cstdint>

namespace movra {

class BitWriter {
 public:
  BitWriter(std::uint8_t* buffer, std::size_t capacity) : buffer_(buffer), capacity_(capacity) {}

  // The low `count` bits of `value` (count at most 32).
  void put(std::uint32_t value, unsigned count) {
    if (count == 0) return;
    pending_ |= std::uint64_t{value & mask(count)} << pendingBits_;
    pendingBits_ += count;
    bits_ += count;
    while (pendingBits_ >= 8) {
      emit(static_cast<std::uint8_t>(pending_));
      pending_ >>= 8;
      pendingBits_ -= 8;
    }
  }

  void putBit(bool bit) { put(bit ? 1u : 0u, 1); }

  // Pads with zero bits to a 32-bit boundary; returns the stream's bytes.
  std::size_t finishWords() {
    while (bits_ % 32 != 0) put(0, 1);
    return bytes_;
  }

  std::uint64_t bitCount() const { return bits_; }
  bool overflowed() const { return overflowed_; }

 private:
  static std::uint32_t mask(unsigned count) { return count >= 32 ? ~0u : (1u << count) - 1; }

  void emit(std::uint8_t byte) {
    if (bytes_ < capacity_) {
      buffer_[bytes_++] = byte;
    } else {
      overflowed_ = true;
    }
  }

  std::uint8_t* buffer_;
  std::size_t capacity_;
  std::size_t bytes_ = 0;
  std::uint64_t pending_ = 0;
  unsigned pendingBits_ = 0;
  std::uint64_t bits_ = 0;
  bool overflowed_ = false;
};

// Counts the bits a stream would take without writing them.
class BitCounter {
 public:
  void put(std::uint32_t, unsigned count) { bits_ += count; }
  void putBit(bool) { ++bits_; }
  std::uint64_t bitCount() const { return bits_; }

 private:
  std::uint64_t bits_ = 0;
};

}  // namespace movra
