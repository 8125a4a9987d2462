#include "frame_index.h"

#include <algorithm>

namespace zet {

bool frameIndexFitsFile(const std::uint32_t* entries, std::uint32_t frames, std::uint64_t firstAllowed,
                        std::uint64_t fileBytes) {
  std::uint64_t previous = firstAllowed;
  for (std::uint32_t i = 0; i <= frames; ++i) {
    const std::uint64_t offset = packetOffset(entries[i]);
    if (offset < previous) return false;
    previous = offset;
  }
  return previous <= fileBytes;
}

std::uint32_t largestPacketBytes(const std::uint32_t* entries, std::uint32_t frames) {
  std::uint32_t largest = 0;
  for (std::uint32_t i = 0; i < frames; ++i) largest = std::max(largest, packetBytes(entries, i));
  return largest;
}

std::uint32_t keyFrameCount(const std::uint32_t* entries, std::uint32_t frames) {
  std::uint32_t keys = 0;
  for (std::uint32_t i = 0; i < frames; ++i) keys += entries[i] & 1;
  return keys;
}

std::uint32_t framesPerSecondWindow(std::uint32_t rateNum, std::uint32_t rateDiv) {
  const std::uint64_t window = (std::uint64_t{rateDiv} / 2 + rateNum) / rateDiv;
  return static_cast<std::uint32_t>(std::clamp<std::uint64_t>(window, 1, 0xFFFFFFFF));
}

// Offsets are compared with their key bits cleared: with the bits in, a key
// frame followed by an empty packet gives a difference of -1, which wraps
// to the largest possible size.
std::uint32_t peakSecondBytes(const std::uint32_t* entries, std::uint32_t frames, std::uint32_t window) {
  std::uint32_t peak = 0;
  if (frames > window) {
    for (std::uint32_t i = 0; i < frames - window; ++i) {
      peak = std::max(peak, packetOffset(entries[i + window]) - packetOffset(entries[i]));
    }
  }
  if (peak != 0) return peak;
  const std::uint64_t all = packetOffset(entries[frames]) - packetOffset(entries[0]);
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(all * window / frames, 0xFFFFFFFF));
}

}  // namespace zet
