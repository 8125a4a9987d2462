#include "coded_planes.h"

#include "plane_stream_writer.h"

namespace zet::testing {

std::vector<std::uint8_t> rawPlane(std::uint32_t width, std::uint32_t height, const SampleAt& sample, bool older) {
  PlaneStreamOptions options;
  options.olderColourValues = older;
  PlaneStreamWriter writer(width, height, options);
  for (std::uint32_t by = 0; by < height; by += 8) {
    for (std::uint32_t bx = 0; bx < width; bx += 8) {
      std::vector<std::uint8_t> colors;
      for (std::uint32_t j = 0; j < 8; ++j) {
        for (std::uint32_t i = 0; i < 8; ++i) colors.push_back(sample(bx + i, by + j));
      }
      writer.add(CodedBlock::raw(colors));
    }
  }
  return writer.finish();
}

std::vector<std::uint8_t> skipPlane(std::uint32_t width, std::uint32_t height) {
  PlaneStreamWriter writer(width, height);
  for (std::uint32_t i = 0; i < width / 8 * (height / 8); ++i) writer.add(CodedBlock::skip());
  return writer.finish();
}

}  // namespace zet::testing
