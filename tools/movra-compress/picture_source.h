// Where movra-compress takes its pictures from: a YUV4MPEG2 file (4:2:0 or
// 4:4:4, 8-bit) converted to 32-bit pixels, or raw 32-bit BGRA frames.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace movra::compress {

class PictureSource {
 public:
  virtual ~PictureSource() = default;
  // The next frame as width x height pixels B, G, R, A; false at the end.
  virtual bool next(std::vector<std::uint8_t>& pixels) = 0;

  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t rateNum = 0;
  std::uint32_t rateDiv = 0;
  std::uint32_t frames = 0;  // frames the file holds
};

struct RawFormat {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t rateNum = 0;
  std::uint32_t rateDiv = 0;
};

// Null with `error` set when the file cannot be read. `raw` is used for
// files that do not end in ".y4m" and then must give a size and a rate.
std::unique_ptr<PictureSource> openPictureSource(const std::string& name, const RawFormat& raw,
                                                 std::string& error);

}  // namespace movra::compress
