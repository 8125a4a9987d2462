// The commands of movra-dump. Each returns the process exit status.
#pragma once

#include <cstdint>
#include <optional>

namespace zet::dump {

inline constexpr int kFailure = 1;

int runInfo(const char* movie);

struct VideoOptions {
  bool alpha = false;
  std::uint32_t scaleMode = 0;  // as the open flags' bits 28..30: 0 the file's, 7 none
};
int runVideo(const char* movie, const char* output, const VideoOptions& options);

int runAudio(const char* movie, std::uint32_t track, const char* output);

}  // namespace zet::dump
