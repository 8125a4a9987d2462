#include "sample_scene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>

namespace movra::sample {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The next header number of a PPM, skipping blanks and comments.
bool headerNumber(std::FILE* file, std::uint32_t& value) {
  int c = std::fgetc(file);
  while (c == '#' || c == ' ' || c == '\n' || c == '\r' || c == '\t') {
    if (c == '#') {
      while (c != '\n' && c != EOF) c = std::fgetc(file);
    }
    c = std::fgetc(file);
  }
  if (c < '0' || c > '9') return false;
  value = 0;
  while (c >= '0' && c <= '9') {
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
    if (value > 100000) return false;
    c = std::fgetc(file);
  }
  return true;  // the single blank after the number is consumed
}

}  // namespace

std::string mediaFolder() { return MOVRA_SAMPLE_MEDIA; }

std::optional<Photograph> loadPpm(const std::string& name) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(name.c_str(), "rb"));
  if (!file || std::fgetc(file.get()) != 'P' || std::fgetc(file.get()) != '6') return std::nullopt;
  Photograph photo;
  std::uint32_t maximum = 0;
  if (!headerNumber(file.get(), photo.width) || !headerNumber(file.get(), photo.height) ||
      !headerNumber(file.get(), maximum) || maximum != 255 || photo.width == 0 || photo.height == 0) {
    return std::nullopt;
  }
  photo.rgb.resize(std::size_t{photo.width} * photo.height * 3);
  if (std::fread(photo.rgb.data(), 1, photo.rgb.size(), file.get()) != photo.rgb.size()) return std::nullopt;
  return photo;
}

std::vector<std::uint8_t> panAndZoomFrame(const Photograph& photo, std::uint32_t width, std::uint32_t height,
                                          std::uint32_t frame, std::uint32_t frames) {
  const double progress = frames > 1 ? static_cast<double>(frame) / (frames - 1) : 0.0;
  // The view keeps the output's shape and shrinks to 70% of the largest
  // view that fits, drifting from the top left towards the bottom right.
  const double fit = std::min(static_cast<double>(photo.width) / width, static_cast<double>(photo.height) / height);
  const double scale = fit * (1.0 - 0.3 * progress);
  const double left = (photo.width - width * scale) * (0.2 + 0.6 * progress);
  const double top = (photo.height - height * scale) * (0.3 + 0.4 * progress);
  std::vector<std::uint8_t> pixels(std::size_t{width} * height * 4);
  std::uint32_t noise = 2463534242u + frame * 977u;
  for (std::uint32_t y = 0; y < height; ++y) {
    const double sy = std::clamp(top + (y + 0.5) * scale - 0.5, 0.0, photo.height - 1.0);
    const auto y0 = static_cast<std::uint32_t>(sy);
    const std::uint32_t y1 = std::min(y0 + 1, photo.height - 1);
    const double fy = sy - y0;
    for (std::uint32_t x = 0; x < width; ++x) {
      const double sx = std::clamp(left + (x + 0.5) * scale - 0.5, 0.0, photo.width - 1.0);
      const auto x0 = static_cast<std::uint32_t>(sx);
      const std::uint32_t x1 = std::min(x0 + 1, photo.width - 1);
      const double fx = sx - x0;
      noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
      const int grain = static_cast<int>(noise % 5) - 2;
      std::uint8_t* out = &pixels[(std::size_t{y} * width + x) * 4];
      for (unsigned c = 0; c < 3; ++c) {
        const auto at = [&](std::uint32_t px, std::uint32_t py) {
          return photo.rgb[(std::size_t{py} * photo.width + px) * 3 + c];
        };
        const double value = (at(x0, y0) * (1 - fx) + at(x1, y0) * fx) * (1 - fy) +
                             (at(x0, y1) * (1 - fx) + at(x1, y1) * fx) * fy;
        out[2 - c] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(value + 0.5) + grain, 0, 255));
      }
      out[3] = 255;
    }
  }
  return pixels;
}

std::vector<std::int16_t> chordSound(std::uint32_t rate, std::uint32_t samples) {
  std::vector<std::int16_t> sound(samples);
  const double notes[3] = {220.0, 277.18, 329.63};
  for (std::uint32_t i = 0; i < samples; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double glide = 1.0 + 0.05 * std::sin(2 * std::numbers::pi * 0.25 * t);
    double value = 0;
    for (const double note : notes) value += std::sin(2 * std::numbers::pi * note * glide * t);
    const double envelope = 0.5 + 0.5 * std::sin(2 * std::numbers::pi * 0.5 * t);
    sound[i] = static_cast<std::int16_t>(5000 * value * envelope);
  }
  return sound;
}

}  // namespace movra::sample
