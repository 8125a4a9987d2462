#include "frame_size_estimate.h"

#include <cstdlib>

#include "byte_entropy.h"

namespace movra {
namespace {

std::size_t planeBytes(unsigned plane, const PlaneGeometry& geometry) {
  return plane == kCr || plane == kCb ? geometry.chromaBytes() : geometry.lumaBytes();
}

std::uint64_t planeEntropy(const std::uint8_t* plane, std::size_t bytes) {
  ByteHistogram counts{};
  for (std::size_t i = 0; i < bytes; ++i) ++counts[plane[i]];
  return entropyBytes(counts);
}

std::uint64_t changedEntropy(const std::uint8_t* plane, const std::uint8_t* previous, std::size_t bytes) {
  ByteHistogram counts{};
  for (std::size_t i = 0; i < bytes; ++i) {
    if (std::abs(plane[i] - previous[i]) > 2) ++counts[plane[i]];
  }
  return entropyBytes(counts);
}

}  // namespace

std::uint64_t estimateFrameBytes(const FramePlanes& frame, const FramePlanes& previous, bool key,
                                 const PlaneGeometry& geometry) {
  std::uint64_t total = 0;
  for (unsigned p = 0; p < kPlaneCount; ++p) {
    if (!frame.plane[p]) continue;
    const std::size_t bytes = planeBytes(p, geometry);
    total += key ? planeEntropy(frame.plane[p], bytes)
                 : changedEntropy(frame.plane[p], previous.plane[p], bytes);
  }
  return key ? total * 3 / 2 : total;
}

}  // namespace movra
