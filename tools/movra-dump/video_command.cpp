// movra-dump video: every frame in order as display-size 32-bit pixels
// (bytes B, G, R, A, rows top-down), frames back to back.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "open_reader.h"
#include "output_file.h"

namespace zet::dump {
namespace {

constexpr std::uint32_t kVideoOpenFlags = 0x08104000;

}  // namespace

int runVideo(const char* movie, const char* output, const VideoOptions& options) {
  const Reader reader = openReader(movie, kVideoOpenFlags | options.scaleMode << zet::kScaleModeShift);
  if (!reader) return kFailure;
  OutputFile out(std::fopen(output, "wb"));
  if (!out) {
    reportError(("Cannot create " + std::string(output) + ".").c_str());
    return kFailure;
  }
  const std::size_t width = reader->display_width;
  const std::size_t height = reader->display_height;
  std::vector<std::uint8_t> bitmap(width * height * 4);
  const std::uint32_t format = options.alpha ? zet::kBlitFormat32Alpha : zet::kBlitFormat32;
  for (std::uint32_t frame = 1; frame <= reader->frames; ++frame) {
    if (zet::MovraReaderDecode(reader.get()) != 0) {
      reportError(("Frame " + std::to_string(frame) + " cannot be decoded.").c_str());
      return kFailure;
    }
    // Lines that interlaced scale modes leave alone stay 0.
    std::memset(bitmap.data(), 0, bitmap.size());
    zet::MovraReaderBlit(reader.get(), bitmap.data(), static_cast<std::int32_t>(width * 4),
                         static_cast<std::uint32_t>(height), 0, 0, format);
    if (std::fwrite(bitmap.data(), 1, bitmap.size(), out.get()) != bitmap.size()) {
      reportError(("Cannot write " + std::string(output) + ".").c_str());
      return kFailure;
    }
    zet::MovraReaderNext(reader.get());
  }
  if (std::fclose(out.release()) != 0) {
    reportError(("Cannot write " + std::string(output) + ".").c_str());
    return kFailure;
  }
  return 0;
}

}  // namespace zet::dump
