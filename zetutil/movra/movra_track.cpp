#include "movra_track.h"

namespace zet {

std::uint32_t trackOutputBytes(std::uint32_t trackBufferSize, std::uint32_t trackFormat) {
  const std::uint64_t words = (std::uint64_t{trackBufferSize} + 3) / 4 * 4;
  const std::uint64_t bytes = trackFormat & kTrack16Bit ? words : words / 2;
  return static_cast<std::uint32_t>(bytes > 0xFFFFFFFC ? 0xFFFFFFFC : bytes);
}

MovraTrack* MovraTrackOpen(MovraReader* reader, std::uint32_t i) {
  if (!reader || i >= reader->tracks) return nullptr;
  const std::uint32_t format = reader->track_format[i];
  if (!(format & (kTrackDct | kTrackFft))) return nullptr;
  // No sound decoder is built into the library yet.
  return nullptr;
}

}  // namespace zet
