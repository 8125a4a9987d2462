// MovraMix: rewrites a house video file with sound tracks replaced, added
// or removed, copying the video and the untouched tracks byte for byte.
#pragma once

#include <cstdint>

#include "movramake.h"

namespace movra {

struct MixArguments {
  const char* input = nullptr;
  const char* output = nullptr;
  std::uint32_t offset = 0;  // where the movie starts in the input file
  std::uint32_t rateNum = 0;  // both non-zero: the frame rate to write
  std::uint32_t rateDiv = 0;
  std::int32_t delay = 0;  // negative: milliseconds; positive: value - 1 frames
  std::uint32_t trackCount = 0;
  MovraMakeTrack* tracks = nullptr;
  MovraMakeStatus status = nullptr;
};

// The size of the file written, or 0 when nothing was written or the
// output was discarded.
std::uint32_t mixMovie(const MixArguments& arguments);

}  // namespace movra
