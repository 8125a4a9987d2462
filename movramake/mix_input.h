// The house video file MovraMix rewrites, read and checked whole before
// anything is copied: header, track tables, frame index, and every packet's
// sound parts inside its packet.
#pragma once

#include <cstdint>
#include <vector>

#include "bit_file.h"

namespace movra {

struct MixInput {
  ZetFileRecord* file = nullptr;
  std::uint64_t base = 0;  // where the movie starts in the file
  std::uint32_t header[11] = {};
  std::vector<std::uint32_t> bufferSizes, formats, ids;
  std::vector<std::uint32_t> index;  // index_frames + 1 entries

  std::uint32_t frames() const { return header[2]; }
  std::uint32_t tracks() const { return header[10]; }
  std::uint32_t packetStart(std::uint32_t frame) const { return index[frame] & ~1u; }
  std::uint32_t packetBytes(std::uint32_t frame) const { return packetStart(frame + 1) - packetStart(frame); }
};

enum class MixInputResult { kReady, kCannotOpen, kNotMovra, kDamaged };

// On kReady the caller owns input.file.
MixInputResult openMixInput(const char* name, std::uint32_t offset, MixInput& input);

// Reads frame `frame`'s packet; false on a short read.
bool readPacket(MixInput& input, std::uint32_t frame, std::vector<std::uint8_t>& packet);

}  // namespace movra
