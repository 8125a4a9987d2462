#include "sound_packet_writer.h"

#include <algorithm>
#include <cstring>

namespace movra {
namespace {

// Fills `buffer` with the track's next `bytes` of sound: the leading silence
// still owed, then what the callback returns (never more than it was asked).
std::uint32_t pullSound(SoundTrack& track, void* subject, std::uint8_t* buffer, std::uint32_t bytes) {
  const auto silence = static_cast<std::uint32_t>(std::min<std::uint64_t>(track.leadingSilence, bytes));
  std::memset(buffer, 0, silence);
  track.leadingSilence -= silence;
  if (silence == bytes) return bytes;
  const std::uint32_t asked = bytes - silence;
  return silence + std::min(track.callback(subject, track.userValue, buffer + silence, asked), asked);
}

// Asks the callback for one input window and codes it. Returns false once
// the track's source has ended: a callback that returns fewer bytes than
// asked is not asked again; the rest of its request is silence, as far as
// the movie still owes sound.
bool codeOneBlock(ZetFileRecord* file, SoundTrack& track, void* subject) {
  const SoundInputWindow window = soundEncoderInputWindow(track.encoder);
  std::uint32_t got = pullSound(track, subject, window.buffer, window.bytes);
  const bool ended = got < window.bytes;
  if (ended && track.remaining > got) {
    const auto filled = static_cast<std::uint32_t>(std::min<std::uint64_t>(window.bytes, track.remaining));
    std::memset(window.buffer + got, 0, filled - got);
    got = filled;
  }
  track.sourceBytesSeen += track.bits == 8 ? got / 2 : got;

  const SoundCodedBlock coded = encodeSoundBlock(track.encoder, got, track.quality);
  zet::filePutWholeBytes(file, coded.bytes, coded.size);
  track.compressedBytes += coded.size;
  const std::uint64_t yield = std::min<std::uint64_t>(coded.decodedBytes, track.remaining);
  track.delivered += yield;
  track.remaining -= yield;
  return !ended;
}

}  // namespace

void writeSoundPacket(ZetFileRecord* file, SoundTrack& track, const SoundPacketContext& context) {
  const std::uint64_t start = zet::fileGetPos(file);
  const std::uint64_t deliveredBefore = track.delivered;
  zet::filePut32(file, 0);

  const std::uint64_t target =
      soundBytesOfFrames(track, context.frame, context.rateNum, context.rateDiv) + track.leadBytes;
  if (target <= track.delivered || track.remaining == 0) return;

  zet::filePut32(file, 0);
  bool sourceGoesOn = true;
  do {
    sourceGoesOn = codeOneBlock(file, track, context.subject);
  } while (target > track.delivered && track.remaining > 0 && sourceGoesOn);
  if (!sourceGoesOn) track.remaining = 0;

  const std::uint64_t end = zet::fileGetPos(file);
  const auto decoded = static_cast<std::uint32_t>(track.delivered - deliveredBefore);
  zet::fileSetPos(file, start);
  zet::filePut32(file, static_cast<std::uint32_t>(end - start - 4));
  zet::filePut32(file, decoded);
  zet::fileSetPos(file, end);
  track.largestPacket = std::max(track.largestPacket, decoded);
}

}  // namespace movra
