// The sound part of a frame packet: one packet per track, carrying the
// track's sound up to the frame's own start time plus the track's lead.
#pragma once

#include <cstdint>

#include "bit_file.h"
#include "sound_track.h"

namespace movra {

struct SoundPacketContext {
  std::uint32_t frame = 0;  // number of the frame whose packet is written
  std::uint32_t rateNum = 0;
  std::uint32_t rateDiv = 0;
  void* subject = nullptr;  // first argument of the sound callback
};

// Writes the track's packet at the file's position: its size, and when the
// frame carries sound for the track, the decoded size and the coded blocks.
void writeSoundPacket(ZetFileRecord* file, SoundTrack& track, const SoundPacketContext& context);

}  // namespace movra
