// The sound part at the front of a frame packet: for each track in table
// order a 32-bit `audio_packet_size` and that many bytes. Sizes come from
// the file, so every step is checked against the packet's end.
#pragma once

#include <cstdint>
#include <optional>

namespace zet {

struct SoundBytes {
  const std::uint8_t* data = nullptr;
  std::uint32_t bytes = 0;  // 0: the track has nothing in this frame
};

// Offset of the video data behind the sound part; nothing when a track's
// sound runs past the packet.
std::optional<std::uint32_t> videoDataOffset(const std::uint8_t* packet, std::uint32_t packetBytes,
                                             std::uint32_t tracks);

// The sound bytes of track `track` (table position) in the packet.
std::optional<SoundBytes> trackSoundBytes(const std::uint8_t* packet, std::uint32_t packetBytes,
                                          std::uint32_t track);

}  // namespace zet
