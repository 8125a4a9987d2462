// The frame index: `frames` + 1 packet offsets, bit 0 of each marking a key frame.
#pragma once

#include <cstdint>

namespace zet {

inline std::uint32_t packetOffset(std::uint32_t entry) { return entry & ~std::uint32_t{1}; }

// True when packets 0 .. frames - 1 start at or after `firstAllowed`, follow
// each other in file order and end at or before `fileBytes`: then every
// packet size taken from neighbouring entries is the size of bytes that exist.
bool frameIndexFitsFile(const std::uint32_t* entries, std::uint32_t frames, std::uint64_t firstAllowed,
                        std::uint64_t fileBytes);

// Size of packet i (0-based) of an index that fits its file.
inline std::uint32_t packetBytes(const std::uint32_t* entries, std::uint32_t i) {
  return packetOffset(entries[i + 1]) - packetOffset(entries[i]);
}

std::uint32_t largestPacketBytes(const std::uint32_t* entries, std::uint32_t frames);
std::uint32_t keyFrameCount(const std::uint32_t* entries, std::uint32_t frames);

// Frames in one second, rounded; at least 1.
std::uint32_t framesPerSecondWindow(std::uint32_t rateNum, std::uint32_t rateDiv);

// The most packet bytes any `window` consecutive frames take; for movies no
// longer than the window, the average second. Saturates at 0xFFFFFFFF.
std::uint32_t peakSecondBytes(const std::uint32_t* entries, std::uint32_t frames, std::uint32_t window);

}  // namespace zet
