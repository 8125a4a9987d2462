#include "sound_part.h"

#include "little_endian.h"

namespace zet {
namespace {

// Steps over the entries of the first `count` tracks; nothing when one runs past the packet.
std::optional<std::uint32_t> skipTracks(const std::uint8_t* packet, std::uint32_t packetBytes,
                                        std::uint32_t count) {
  std::uint64_t offset = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (packetBytes - offset < 4) return std::nullopt;
    const std::uint64_t next = offset + 4 + readLittleEndian32(packet + offset);
    if (next > packetBytes) return std::nullopt;
    offset = next;
  }
  return static_cast<std::uint32_t>(offset);
}

}  // namespace

std::optional<std::uint32_t> videoDataOffset(const std::uint8_t* packet, std::uint32_t packetBytes,
                                             std::uint32_t tracks) {
  return skipTracks(packet, packetBytes, tracks);
}

std::optional<SoundBytes> trackSoundBytes(const std::uint8_t* packet, std::uint32_t packetBytes,
                                          std::uint32_t track) {
  const std::optional<std::uint32_t> offset = skipTracks(packet, packetBytes, track);
  if (!offset || packetBytes - *offset < 4) return std::nullopt;
  const std::uint32_t bytes = readLittleEndian32(packet + *offset);
  if (bytes > packetBytes - *offset - 4) return std::nullopt;
  return SoundBytes{packet + *offset + 4, bytes};
}

}  // namespace zet
