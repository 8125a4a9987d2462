#include "luma_psnr.h"

#include <cmath>
#include <vector>

#include "movra_reader.h"

namespace movra::compress {
namespace {

constexpr std::uint32_t kReadVideoOnly = 0x08004000;

int lumaOf(const std::uint8_t* pixel) { return 16 + (263 * pixel[2] + 516 * pixel[1] + 100 * pixel[0]) / 1024; }

}  // namespace

std::optional<double> lumaPsnr(const std::string& movie, PictureSource& pictures) {
  zet::MovraReader* reader = zet::MovraReaderOpen(movie.c_str(), kReadVideoOnly);
  if (!reader) return std::nullopt;
  double squares = 0;
  std::uint64_t samples = 0;
  std::vector<std::uint8_t> pixels;
  for (std::uint32_t frame = 0; frame < reader->frames && pictures.next(pixels); ++frame) {
    if (zet::MovraReaderDecode(reader) != 0) break;
    const std::uint8_t* luma = reader->planes[reader->current_set];
    for (std::uint32_t y = 0; y < pictures.height; ++y) {
      for (std::uint32_t x = 0; x < pictures.width; ++x) {
        const int difference = lumaOf(&pixels[(std::size_t{y} * pictures.width + x) * 4]) -
                               luma[std::size_t{y} * reader->luma_pitch + x];
        squares += difference * difference;
      }
    }
    samples += std::uint64_t{pictures.width} * pictures.height;
    zet::MovraReaderNext(reader);
  }
  zet::MovraReaderClose(reader);
  if (samples == 0) return std::nullopt;
  if (squares == 0) return 99.0;
  return 10 * std::log10(255.0 * 255.0 * static_cast<double>(samples) / squares);
}

}  // namespace movra::compress
