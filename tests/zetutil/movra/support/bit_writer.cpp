#include "bit_writer.h"

namespace zet::testing {

void BitWriter::put(std::uint32_t value, unsigned count) {
  for (unsigned i = 0; i < count; ++i, ++bitCount_) {
    if (bitCount_ % 8 == 0) bytes_.push_back(0);
    if ((value >> i) & 1) bytes_.back() = static_cast<std::uint8_t>(bytes_.back() | 1u << (bitCount_ % 8));
  }
}

void BitWriter::append(const BitWriter& other) {
  for (std::size_t i = 0; i < other.bitCount_; ++i) {
    putBit((other.bytes_[i / 8] >> (i % 8)) & 1);
  }
}

std::vector<std::uint8_t> BitWriter::words() const {
  std::vector<std::uint8_t> padded = bytes_;
  padded.resize((bitCount_ + 31) / 32 * 4, 0);
  return padded;
}

}  // namespace zet::testing
