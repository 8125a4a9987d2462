// Decoding the video data of one frame packet into a frame set.
#pragma once

#include <cstdint>

#include "movra_reader.h"

namespace zet {

// Decodes the planes in [video, videoEnd) into frame set `target`, reading
// the previous picture from the other set. False when the data is damaged:
// a plane breaks its coding or a size prefix points outside the video data.
bool decodeFrameVideo(MovraReader& reader, const std::uint8_t* video, const std::uint8_t* videoEnd,
                      std::uint32_t target);

}  // namespace zet
