// The 44-byte header at the start of a house video file.
#pragma once

#include <cstdint>
#include <optional>

#include "movra_format.h"

namespace zet {

struct MovraHeader {
  std::uint32_t magic = 0;
  std::uint32_t file_size = 0;
  std::uint32_t frames = 0;
  std::uint32_t largest_frame_size = 0;
  std::uint32_t index_frames = 0;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t rate_num = 0;
  std::uint32_t rate_div = 0;
  std::uint32_t video_flags = 0;
  std::uint32_t tracks = 0;
};

MovraHeader parseMovraHeader(const std::uint8_t (&bytes)[kMovraHeaderBytes]);

// The version flags of an accepted magic ("MVRf" .. "MVRi"); nothing for any other.
std::optional<std::uint32_t> movraVersionFlags(std::uint32_t magic);

// Bytes from the start of the file to the first byte after the frame index.
// 64-bit: damaged counts must not wrap into a small, plausible size.
std::uint64_t movraIndexEnd(const MovraHeader& header);

}  // namespace zet
