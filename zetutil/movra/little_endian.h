// Numbers in house video files are little-endian whatever the machine.
#pragma once

#include <cstdint>

namespace zet {

inline std::uint32_t readLittleEndian32(const std::uint8_t* bytes) {
  return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
         std::uint32_t{bytes[3]} << 24;
}

}  // namespace zet
