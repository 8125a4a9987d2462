#include "options.h"

#include <cstdlib>
#include <cstring>

namespace movra::compress {

const char* const kUsage =
    "usage: movra-compress IN OUT.mvr [--size WxH --rate N/D] [--wav FILE]\n"
    "         [--data-rate BYTES_PER_SECOND | --frame-bytes N] [--peak X] [--key N]\n"
    "         [--window N] [--grey] [--alpha] [--sound-codec dct|fft] [--sound-quality Q]\n"
    "         [--threads N] [--psnr] [--quiet]\n"
    "IN ending in .y4m is YUV4MPEG2 (4:2:0 or 4:4:4, 8-bit); any other IN is raw\n"
    "32-bit BGRA frames and needs --size and --rate.\n";

namespace {

bool number(const char* text, std::uint32_t& out, std::uint32_t low, std::uint32_t high) {
  char* end = nullptr;
  const unsigned long value = std::strtoul(text, &end, 10);
  if (end == text || *end != '\0' || text[0] == '-' || value < low || value > high) return false;
  out = static_cast<std::uint32_t>(value);
  return true;
}

bool pair(const char* text, char separator, std::uint32_t& first, std::uint32_t& second) {
  const char* split = std::strchr(text, separator);
  if (!split) return false;
  const std::string left(text, split);
  return number(left.c_str(), first, 1, 0xFFFFFFFF) && number(split + 1, second, 1, 0xFFFFFFFF);
}

}  // namespace

std::optional<Options> parseOptions(int argc, char** argv) {
  Options options;
  int positional = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    const char* value = hasValue ? argv[i + 1] : "";
    bool ok = true;
    if (arg == "--grey") {
      options.grey = true;
    } else if (arg == "--alpha") {
      options.alpha = true;
    } else if (arg == "--psnr") {
      options.psnr = true;
    } else if (arg == "--quiet") {
      options.quiet = true;
    } else if (arg.rfind("--", 0) == 0) {
      if (!hasValue) return std::nullopt;
      ++i;
      std::uint32_t key = 0;
      if (arg == "--size") ok = pair(value, 'x', options.width, options.height);
      else if (arg == "--rate") ok = pair(value, '/', options.rateNum, options.rateDiv);
      else if (arg == "--wav") options.wav = value;
      else if (arg == "--data-rate") ok = number(value, options.dataRate, 1, 0xFFFFFFFF);
      else if (arg == "--frame-bytes") ok = number(value, options.frameBytes, 1, 0xFFFFFFFF);
      else if (arg == "--peak") {
        char* end = nullptr;
        options.peak = std::strtod(value, &end);
        ok = end != value && *end == '\0' && options.peak >= 1.0 && options.peak <= 1000.0;
      } else if (arg == "--key") {
        ok = number(value, key, 0, 0xFFFFFFFF);
        options.keyInterval = key;
      } else if (arg == "--window") ok = number(value, options.window, 2, 64);
      else if (arg == "--sound-codec") {
        ok = std::strcmp(value, "dct") == 0 || std::strcmp(value, "fft") == 0;
        options.fftSound = std::strcmp(value, "fft") == 0;
      } else if (arg == "--sound-quality") ok = number(value, options.soundQuality, 0, 99);
      else if (arg == "--threads") ok = number(value, options.threads, 1, 32);
      else return std::nullopt;
    } else if (positional == 0) {
      options.input = arg, ++positional;
    } else if (positional == 1) {
      options.output = arg, ++positional;
    } else {
      return std::nullopt;
    }
    if (!ok) return std::nullopt;
  }
  if (positional != 2) return std::nullopt;
  return options;
}

}  // namespace movra::compress
