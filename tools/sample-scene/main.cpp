// movra-sample: writes the sample clip (a pan and zoom over a photograph
// that ships with the sources, as YUV4MPEG2 4:4:4) and its sound track (a
// 16-bit mono WAV file).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sample_scene.h"

namespace {

constexpr const char* kUsage =
    "usage: movra-sample OUT.y4m OUT.wav [--size WxH] [--frames N] [--rate FPS]\n"
    "       [--photo NAME.ppm]\n";

bool writeWav(const std::string& name, const std::vector<std::int16_t>& samples, std::uint32_t rate) {
  std::FILE* file = std::fopen(name.c_str(), "wb");
  if (!file) return false;
  const auto put32 = [&](std::uint32_t v) {
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    std::fwrite(b, 1, 4, file);
  };
  const auto put16 = [&](std::uint32_t v) {
    const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
    std::fwrite(b, 1, 2, file);
  };
  const auto bytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::fwrite("RIFF", 1, 4, file);
  put32(36 + bytes);
  std::fwrite("WAVEfmt ", 1, 8, file);
  put32(16);
  put16(1);  // PCM
  put16(1);  // mono
  put32(rate);
  put32(rate * 2);
  put16(2);
  put16(16);
  std::fwrite("data", 1, 4, file);
  put32(bytes);
  for (const std::int16_t s : samples) put16(static_cast<std::uint16_t>(s));
  return std::fclose(file) == 0;
}

// BGRA to studio-range BT.601, full-resolution chroma.
void writeY4mFrame(std::FILE* file, const std::vector<std::uint8_t>& pixels, std::size_t count) {
  std::vector<std::uint8_t> planes(count * 3);
  for (std::size_t i = 0; i < count; ++i) {
    const int b = pixels[i * 4], g = pixels[i * 4 + 1], r = pixels[i * 4 + 2];
    planes[i] = static_cast<std::uint8_t>((66 * r + 129 * g + 25 * b + 128) / 256 + 16);
    planes[count + i] = static_cast<std::uint8_t>((-38 * r - 74 * g + 112 * b + 128) / 256 + 128);
    planes[2 * count + i] = static_cast<std::uint8_t>((112 * r - 94 * g - 18 * b + 128) / 256 + 128);
  }
  std::fputs("FRAME\n", file);
  std::fwrite(planes.data(), 1, planes.size(), file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::uint32_t width = 320, height = 240, frames = 90, rate = 30;
  std::string photoName = movra::sample::mediaFolder() + "/coffee.ppm";
  for (int i = 3; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--size") == 0 && std::sscanf(argv[i + 1], "%ux%u", &width, &height) == 2) continue;
    if (std::strcmp(argv[i], "--frames") == 0 && std::sscanf(argv[i + 1], "%u", &frames) == 1) continue;
    if (std::strcmp(argv[i], "--rate") == 0 && std::sscanf(argv[i + 1], "%u", &rate) == 1) continue;
    if (std::strcmp(argv[i], "--photo") == 0) {
      photoName = movra::sample::mediaFolder() + "/" + argv[i + 1];
      continue;
    }
    std::fputs(kUsage, stderr);
    return 2;
  }
  if ((argc - 3) % 2 != 0 || width == 0 || height == 0 || frames == 0 || rate == 0) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::optional<movra::sample::Photograph> photo = movra::sample::loadPpm(photoName);
  if (!photo) {
    std::fprintf(stderr, "movra-sample: cannot read %s\n", photoName.c_str());
    return 1;
  }
  std::FILE* video = std::fopen(argv[1], "wb");
  if (!video) {
    std::fprintf(stderr, "movra-sample: cannot write %s\n", argv[1]);
    return 1;
  }
  std::fprintf(video, "YUV4MPEG2 W%u H%u F%u:1 Ip A1:1 C444\n", width, height, rate);
  for (std::uint32_t f = 0; f < frames; ++f) {
    writeY4mFrame(video, movra::sample::panAndZoomFrame(*photo, width, height, f, frames),
                  std::size_t{width} * height);
  }
  if (std::fclose(video) != 0) return 1;
  constexpr std::uint32_t kSoundRate = 22050;
  if (!writeWav(argv[2], movra::sample::chordSound(kSoundRate, kSoundRate * frames / rate), kSoundRate)) {
    std::fprintf(stderr, "movra-sample: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
