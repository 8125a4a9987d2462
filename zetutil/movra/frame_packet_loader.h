// Bringing frame n's packet into the reader's frame buffer.
#pragma once

#include <cstdint>

#include "movra_reader.h"

namespace zet {

// Loads packet `frame` (1-based, 1..frames) and makes it the current frame.
// A read that comes back short marks the reader failed.
void loadFramePacket(MovraReader& reader, std::uint32_t frame);

// Reads one read-ahead chunk when the ring has drained below three quarters.
void topUpReadAhead(MovraReader& reader);

}  // namespace zet
