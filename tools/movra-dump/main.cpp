// movra-dump: what a house video file holds (info), its pictures (video)
// and its sound (audio).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "commands.h"

namespace {

constexpr const char* kUsage =
    "usage: movra-dump info FILE.mvr\n"
    "       movra-dump video FILE.mvr OUT.bgra [--alpha] [--scale MODE]\n"
    "       movra-dump audio FILE.mvr TRACK OUT.pcm\n"
    "\n"
    "info   prints the header, flags, frame rate, track tables and a summary\n"
    "       of the frame index as JSON.\n"
    "video  writes every frame as display-size pixels, bytes B, G, R, A, rows\n"
    "       top-down, frames back to back. --alpha fills A from the alpha plane;\n"
    "       --scale MODE overrides the file's scale mode (1..6; 7 for none;\n"
    "       0 keeps the file's).\n"
    "audio  writes track TRACK's decoded sound (0 is the first track), frame\n"
    "       after frame: 16-bit little-endian samples, or unsigned bytes for an\n"
    "       8-bit track, channels interleaved.\n";

int usage() {
  std::fputs(kUsage, stderr);
  return zet::dump::kFailure;
}

std::optional<std::uint32_t> number(const char* text, std::uint32_t largest) {
  char* end = nullptr;
  const unsigned long value = std::strtoul(text, &end, 10);
  if (end == text || *end != '\0' || text[0] == '-' || value > largest) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

int video(int argc, char** argv) {
  if (argc < 4) return usage();
  zet::dump::VideoOptions options;
  for (int i = 4; i < argc; ++i) {
    if (std::strcmp(argv[i], "--alpha") == 0) {
      options.alpha = true;
    } else if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc) {
      const std::optional<std::uint32_t> mode = number(argv[++i], 7);
      if (!mode) return usage();
      options.scaleMode = *mode;
    } else {
      return usage();
    }
  }
  return zet::dump::runVideo(argv[2], argv[3], options);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  const std::string command = argv[1];
  if (command == "info" && argc == 3) return zet::dump::runInfo(argv[2]);
  if (command == "video") return video(argc, argv);
  if (command == "audio" && argc == 5) {
    const std::optional<std::uint32_t> track = number(argv[3], 0xFFFFFFFF);
    if (!track) return usage();
    return zet::dump::runAudio(argv[2], *track, argv[4]);
  }
  return usage();
}
