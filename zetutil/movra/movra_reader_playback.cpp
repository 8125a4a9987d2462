// Moving through a movie and decoding its frames.
#include <algorithm>

#include "frame_packet_loader.h"
#include "frame_video_decode.h"
#include "movra_reader.h"
#include "sound_part.h"

namespace zet {

std::uint32_t MovraReaderDecode(MovraReader* reader) {
  if (reader->decoded_frame == reader->current_frame) return 0;
  if (reader->failed) return 1;
  const std::optional<std::uint32_t> video = videoDataOffset(reader->frame_buffer, reader->frame_bytes, reader->tracks);
  if (!video) return 1;
  if (reader->video_enabled) {
    topUpReadAhead(*reader);
    const std::uint32_t target = 1 - reader->current_set;
    const std::uint8_t* packet = reader->frame_buffer;
    // A damaged frame leaves the picture on show and the frame undecoded, so
    // asking again gives the same answer.
    if (!decodeFrameVideo(*reader, packet + *video, packet + reader->frame_bytes, target)) return 1;
    reader->current_set = target;
  }
  reader->decoded_frame = reader->current_frame;
  return 0;
}

void MovraReaderNext(MovraReader* reader) {
  loadFramePacket(*reader, reader->current_frame < reader->frames ? reader->current_frame + 1 : 1);
}

// Only exact positioning exists: the frames between are never decoded, so
// the picture is right when the target is a key frame.
void MovraReaderSeek(MovraReader* reader, std::uint32_t frame, std::uint32_t) {
  const std::uint32_t target = std::clamp<std::uint32_t>(frame, 1, reader->frames);
  if (target != reader->current_frame) loadFramePacket(*reader, target);
}

std::uint32_t MovraReaderTrackFormat(const MovraReader* reader, std::uint32_t i) {
  return reader && i < reader->tracks ? reader->track_format[i] : 0;
}

std::uint32_t MovraReaderTrackId(const MovraReader* reader, std::uint32_t i) {
  return reader && i < reader->tracks ? reader->track_id[i] : 0;
}

void MovraReaderSetVideo(MovraReader* reader, std::uint32_t on) { reader->video_enabled = on; }

}  // namespace zet
