// The command line of movra-compress.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace movra::compress {

struct Options {
  std::string input;
  std::string output;
  std::uint32_t width = 0, height = 0;
  std::uint32_t rateNum = 0, rateDiv = 0;
  std::string wav;
  std::uint32_t dataRate = 400000;  // bytes per second
  std::uint32_t frameBytes = 0;     // overrides the data rate when set
  double peak = 3.0;
  std::optional<std::uint32_t> keyInterval;
  std::uint32_t window = 8;
  bool grey = false;
  bool alpha = false;
  bool fftSound = false;
  std::uint32_t soundQuality = 50;
  std::uint32_t threads = 0;  // 0: every processor
  bool psnr = false;
  bool quiet = false;
};

// Empty when the arguments are not understood.
std::optional<Options> parseOptions(int argc, char** argv);

extern const char* const kUsage;

}  // namespace movra::compress
