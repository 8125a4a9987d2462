#include "movra_track.h"

#include <algorithm>
#include <new>

#include "block_allocator.h"
#include "little_endian.h"
#include "sound_part.h"

namespace zet {

namespace {

// Bytes of 16-bit sound that fit the caller's buffer.
std::uint32_t pcmCapacity(const MovraTrack& track) {
  return track.bits == 16 ? track.output_bytes : track.output_bytes * 2;
}

// Copies `bytes` bytes' worth of decoded samples: little-endian 16-bit, or
// the high byte plus 128 (one byte per whole sample).
std::uint32_t copySamples(const MovraTrack& track, const std::int16_t* samples, std::uint32_t bytes,
                          std::uint8_t* dest) {
  if (track.bits == 8) {
    const std::uint32_t count = bytes / 2;
    for (std::uint32_t i = 0; i < count; ++i) {
      dest[i] = static_cast<std::uint8_t>((static_cast<std::uint16_t>(samples[i]) >> 8) + 128);
    }
    return count;
  }
  for (std::uint32_t i = 0; i < bytes; ++i) {
    const auto sample = static_cast<std::uint16_t>(samples[i / 2]);
    dest[i] = static_cast<std::uint8_t>(i % 2 == 0 ? sample : sample >> 8);
  }
  return bytes;
}

}  // namespace

std::uint32_t trackOutputBytes(std::uint32_t trackBufferSize, std::uint32_t trackFormat) {
  const std::uint64_t words = (std::uint64_t{trackBufferSize} + 3) / 4 * 4;
  const std::uint64_t bytes = trackFormat & kTrack16Bit ? words : words / 2;
  return static_cast<std::uint32_t>(bytes > 0xFFFFFFFC ? 0xFFFFFFFC : bytes);
}

MovraTrack* MovraTrackOpen(MovraReader* reader, std::uint32_t i) {
  if (!reader || i >= reader->tracks) return nullptr;
  const std::uint32_t format = reader->track_format[i];
  if (!(format & (kTrackDct | kTrackFft))) return nullptr;
  const std::uint32_t rate = format & kTrackRateMask;
  const std::uint32_t channels = format & kTrackStereo ? 2 : 1;
  const bool dct = (format & kTrackFft) == 0;
  // The decoder refuses a rate of 0: its band edges divide by half the rate.
  MovraAudioDecoder* decoder = MovraAudioOpen(rate, channels, dct);
  if (!decoder) return nullptr;
  void* memory = allocateBlock(sizeof(MovraTrack));
  if (!memory) {
    MovraAudioClose(decoder);
    return nullptr;
  }
  return new (memory) MovraTrack{rate,
                                 format & kTrack16Bit ? 16u : 8u,
                                 channels,
                                 trackOutputBytes(reader->track_buffer_size[i], format),
                                 reader,
                                 decoder,
                                 i};
}

// The packet's size fields come from the file: the blocks are read only
// inside the track's part of the packet, and only as much sound as the
// caller's buffer holds is accounted for.
std::uint32_t MovraTrackDecode(MovraTrack* track, std::uint8_t* dest) {
  const MovraReader& reader = *track->reader;
  const std::optional<SoundBytes> part =
      trackSoundBytes(reader.frame_buffer, reader.frame_bytes, track->index);
  if (!part || part->bytes < 4) return 0;
  const std::uint8_t* end = part->data + part->bytes;
  std::uint32_t remaining = std::min(readLittleEndian32(part->data), pcmCapacity(*track));
  const std::uint8_t* next = part->data + 4;
  std::uint32_t written = 0;
  while (remaining > 0) {
    const MovraAudioBlock block = MovraAudioDecodeBlock(track->decoder, next, end);
    if (!block.ok) break;
    const std::uint32_t take = std::min(remaining, block.bytes);
    written += copySamples(*track, block.samples, take, dest + written);
    remaining -= take;
    next = block.next;
  }
  return written;
}

void MovraTrackClose(MovraTrack* track) {
  if (!track) return;
  MovraAudioClose(track->decoder);
  releaseBlock(track);
}

}  // namespace zet
