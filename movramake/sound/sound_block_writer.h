// Writes the coded form of one channel of a block.
#pragma once

#include <cstdint>

#include "sound_bit_writer.h"
#include "sound_stream_layout.h"

namespace movra {

// `coefficients`: the channel's scaled coding transform; `quantisers`: the
// index of each band; `audibleFloor`: per coefficient the power below which
// it is sent as 0. The first two coefficients go out as floats, the others
// rounded to their band's step in groups of 8, with runs of groups of equal
// width written once. `quantised` is work space for the transform length.
void writeCodedChannel(zet::SoundBitWriter& writer, const zet::SoundStreamLayout& layout,
                       const float* coefficients, const std::uint8_t* quantisers,
                       const float* audibleFloor, std::int32_t* quantised);

}  // namespace movra
