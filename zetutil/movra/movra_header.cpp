#include "movra_header.h"

#include "little_endian.h"

namespace zet {
namespace {

constexpr std::uint32_t magicOf(char version) {
  return std::uint32_t{'M'} | std::uint32_t{'V'} << 8 | std::uint32_t{'R'} << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(version)) << 24;
}

}  // namespace

MovraHeader parseMovraHeader(const std::uint8_t (&bytes)[kMovraHeaderBytes]) {
  MovraHeader header;
  std::uint32_t* fields[] = {&header.magic,  &header.file_size,    &header.frames,   &header.largest_frame_size,
                             &header.index_frames, &header.width, &header.height, &header.rate_num,
                             &header.rate_div, &header.video_flags, &header.tracks};
  const std::uint8_t* field = bytes;
  for (std::uint32_t* value : fields) {
    *value = readLittleEndian32(field);
    field += 4;
  }
  return header;
}

std::optional<std::uint32_t> movraVersionFlags(std::uint32_t magic) {
  if (magic == magicOf('f') || magic == magicOf('g')) return kVersionNoLumaPrefix | kVersionOlderColourLayout;
  if (magic == magicOf('h')) return kVersionNoLumaPrefix;
  if (magic == magicOf('i')) return 0u;
  return std::nullopt;
}

std::uint64_t movraIndexEnd(const MovraHeader& header) {
  const std::uint64_t trackTables = std::uint64_t{header.tracks} * 12;
  const std::uint64_t index = (std::uint64_t{header.index_frames} + 1) * 4;
  return kMovraHeaderBytes + trackTables + index;
}

}  // namespace zet
