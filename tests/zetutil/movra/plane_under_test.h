// A destination and a previous plane with the value buffers the decoder
// needs, sized exactly so that the sanitizers see any access outside them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "expected_plane.h"
#include "plane_decoder.h"

namespace zet::testing {

struct PlaneUnderTest {
  PlaneUnderTest(std::uint32_t width, std::uint32_t height, std::uint32_t pitch = 0,
                 std::uint32_t lumaPitch = 0)
      : destination(width, height, pitch == 0 ? width : pitch, 0x5A),
        previous(width, height, pitch == 0 ? width : pitch),
        valueMemory((planeValueBuffersBytes(lumaPitch == 0 ? width : lumaPitch) + 3) / 4),
        buffers{reinterpret_cast<std::uint8_t*>(valueMemory.data()), lumaPitch == 0 ? width : lumaPitch} {}

  // Decodes from an exact-size copy of `data`, so reading past its end is caught.
  PlaneDecodeResult decode(const std::vector<std::uint8_t>& data, std::uint32_t flags = 0) {
    exactData = std::make_unique<std::uint8_t[]>(data.size());
    std::copy(data.begin(), data.end(), exactData.get());
    const PlaneDecodeResult result =
        MovraPlaneDecode(destination.samples.data(), previous.samples.data(), destination.width,
                         destination.height, static_cast<std::uint32_t>(destination.pitch),
                         exactData.get(), exactData.get() + data.size(), buffers, flags);
    nextOffset = result.next == nullptr ? -1 : result.next - exactData.get();
    return result;
  }

  PictureFrame destination;
  PictureFrame previous;
  std::vector<std::uint32_t> valueMemory;
  PlaneValueBuffers buffers;
  std::unique_ptr<std::uint8_t[]> exactData;
  std::ptrdiff_t nextOffset = -1;
};

}  // namespace zet::testing
