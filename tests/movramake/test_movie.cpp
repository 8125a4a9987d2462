#include "test_movie.h"

namespace movra::testing {

std::vector<std::uint8_t> scenePicture(std::uint32_t width, std::uint32_t height, std::uint32_t frame) {
  std::vector<std::uint8_t> pixels(std::size_t{width} * height * 4);
  std::uint32_t noise = 12345 + frame * 7;
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      noise = noise * 1103515245u + 12345u;
      std::uint8_t* p = &pixels[(std::size_t{y} * width + x) * 4];
      const std::uint32_t u = x + frame * 2, v = y + frame;
      // A gradient sky, a checkered floor in the lower half, and a bright
      // box that moves right; a little noise everywhere.
      const bool floor = y > height / 2;
      const bool box = x >= 4 + frame * 3 && x < 20 + frame * 3 && y >= 6 && y < 18;
      const int grain = static_cast<int>((noise >> 16) & 7) - 3;
      int red = floor ? (((u / 8) + (v / 8)) % 2 ? 200 : 60) : static_cast<int>(40 + y * 2);
      int green = floor ? 120 : static_cast<int>(80 + (x * 3) % 100);
      int blue = floor ? 90 : 220;
      if (box) red = 250, green = 240, blue = 30;
      const auto clamp = [](int c) { return static_cast<std::uint8_t>(c < 0 ? 0 : c > 255 ? 255 : c); };
      p[0] = clamp(blue + grain);
      p[1] = clamp(green + grain);
      p[2] = clamp(red + grain);
      p[3] = static_cast<std::uint8_t>((x * 5 + y * 3 + frame) & 0xFF);
    }
  }
  return pixels;
}

}  // namespace movra::testing
