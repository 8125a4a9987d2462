#include "plane_decoder.h"

#include "value_buffer_layout.h"

namespace zet {

std::size_t planeValueBuffersBytes(std::uint32_t lumaPitch) {
  return ValueBufferLayout(lumaPitch).totalBytes;
}

PlaneDecodeResult MovraPlaneDecode(std::uint8_t*, const std::uint8_t*, std::uint32_t, std::uint32_t,
                                   std::uint32_t, const std::uint8_t*, const std::uint8_t*,
                                   const PlaneValueBuffers&, std::uint32_t) {
  // Block decoding lands in the following commits; until then every plane fails.
  return {};
}

}  // namespace zet
