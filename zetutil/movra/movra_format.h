// Layout constants of the house video file and the flag words the reader
// keeps about it.
#pragma once

#include <cstdint>

namespace zet {

inline constexpr std::uint32_t kMovraHeaderBytes = 44;

// Largest coded picture side the reader accepts. Frame sets for this size
// already take about 400 MB each; anything larger is a damaged header.
inline constexpr std::uint32_t kMovraLargestSide = 16384;

// `video_flags` of the header.
inline constexpr std::uint32_t kVideoGrey = 0x00020000;
inline constexpr std::uint32_t kVideoAlpha = 0x00100000;
inline constexpr std::uint32_t kScaleModeShift = 28;
inline constexpr std::uint32_t kScaleModeMask = 0x70000000;
inline constexpr std::uint32_t kScaleModeNone = 7;  // in open flags: ignore the header's mode

// Flags derived from the version letter.
inline constexpr std::uint32_t kVersionNoLumaPrefix = 0x00008000;      // 'f', 'g', 'h'
inline constexpr std::uint32_t kVersionOlderColourLayout = 0x00010000;  // 'f', 'g'

// Open flags.
inline constexpr std::uint32_t kOpenTakeTrackSelection = 0x00004000;
inline constexpr std::uint32_t kOpenDecodeAlpha = 0x00100000;
inline constexpr std::uint32_t kOpenNoInitialFill = 0x00200000;
inline constexpr std::uint32_t kOpenFromHandle = 0x00800000;
inline constexpr std::uint32_t kOpenNoReadingThread = 0x08000000;

// Set in the reader's flags when the frame area was read whole at open.
inline constexpr std::uint32_t kReaderPreloaded = 0x00002000;

// Sound track format bits.
inline constexpr std::uint32_t kTrackRateMask = 0x0000FFFF;
inline constexpr std::uint32_t kTrackDct = 0x10000000;
inline constexpr std::uint32_t kTrackStereo = 0x20000000;
inline constexpr std::uint32_t kTrack16Bit = 0x40000000;
inline constexpr std::uint32_t kTrackFft = 0x80000000;

// Bit 0 of a frame index entry marks a key frame; packets start on even offsets.
inline constexpr std::uint32_t kKeyFrameBit = 1;

// Blit pixel formats (bits 0..3 of the blit flags).
inline constexpr std::uint32_t kBlitFormatMask = 0x0000000F;
inline constexpr std::uint32_t kBlitFormat32 = 3;
inline constexpr std::uint32_t kBlitFormat32Alpha = 5;

}  // namespace zet
