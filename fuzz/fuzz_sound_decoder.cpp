// Raw sound packets through a track's decoder, as the reader hands a frame's
// sound part to it. The first five bytes describe the track: its rate (two
// bytes), a byte whose bits 0, 1, 2 and 3 say stereo, 16-bit, cosine codec
// and Fourier codec (both or neither are allowed), and its largest decoded
// size in 4-byte units (two bytes). The rest is the frame's sound part:
// `audio_packet_size`, `decoded_size` and the blocks. It is decoded as three
// frames in a row, so that the overlap carries from packet to packet.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "movra_reader.h"
#include "movra_track.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  const std::uint32_t rate = std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8;
  std::uint32_t format = rate;
  if (data[2] & 1u) format |= zet::kTrackStereo;
  if (data[2] & 2u) format |= zet::kTrack16Bit;
  if (data[2] & 4u) format |= zet::kTrackDct;
  if (data[2] & 8u) format |= zet::kTrackFft;
  std::uint32_t bufferSize = 4 * (std::uint32_t{data[3]} | std::uint32_t{data[4]} << 8);
  // The packet in a buffer of its own exact size, so that any read past it shows.
  std::vector<std::uint8_t> packet(data + 5, data + size);

  zet::MovraReader reader;
  reader.tracks = 1;
  reader.track_format = &format;
  reader.track_buffer_size = &bufferSize;
  reader.frame_buffer = packet.data();
  reader.frame_bytes = static_cast<std::uint32_t>(packet.size());
  zet::MovraTrack* track = zet::MovraTrackOpen(&reader, 0);
  if (track == nullptr) return 0;
  std::vector<std::uint8_t> sound(track->output_bytes);
  for (int frame = 0; frame < 3; ++frame) {
    if (zet::MovraTrackDecode(track, sound.data()) > track->output_bytes) std::abort();
  }
  zet::MovraTrackClose(track);
  return 0;
}
