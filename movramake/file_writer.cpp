#include "file_writer.h"

#include <algorithm>
#include <bit>

#include "encoder_messages.h"
#include "encoder_status.h"
#include "millisecond_timer.h"
#include "sound_packet_writer.h"

namespace movra {
namespace {

static_assert(std::endian::native == std::endian::little,
              "the frame index is written straight from memory");

constexpr std::uint32_t kRewriteByteStep = 200000;
constexpr std::uint32_t kRewriteMilliseconds = 60000;


void writeTrackTables(Encoder& encoder) {
  const std::uint32_t count = encoder.settings.trackCount;
  for (std::uint32_t i = 0; i < count; ++i) zet::filePut32(encoder.file, encoder.tracks[i].largestPacket);
  for (std::uint32_t i = 0; i < count; ++i) zet::filePut32(encoder.file, encoder.tracks[i].formatWord);
  for (std::uint32_t i = 0; i < count; ++i) zet::filePut32(encoder.file, encoder.tracks[i].trackId);
}

void writeIndex(Encoder& encoder) {
  const std::uint64_t bytes = 4 * (std::uint64_t{encoder.settings.frameCount} + 1);
  zet::filePutWholeBytes(encoder.file, encoder.frameOffsets, static_cast<std::uint32_t>(bytes));
}

void writePlane(ZetFileRecord* file, const std::uint8_t* data, std::uint32_t bytes) {
  zet::filePutWholeBytes(file, data, bytes);
}

void fail(Encoder& encoder, const char* message) {
  encoder.head.failed = 1;
  reportError(encoder.status, nullptr, message);
}

}  // namespace

std::uint64_t outputSize(Encoder& encoder) { return zet::fileSize(encoder.file); }

void writeFileStart(Encoder& encoder) {
  WriterGuard guard(encoder.lock);
  const EncoderSettings& s = encoder.settings;
  ZetFileRecord* file = encoder.file;
  zet::filePutWholeBytes(file, "MVRi", 4);
  zet::filePut32(file, 0);  // file_size
  zet::filePut32(file, 0);  // frames
  zet::filePut32(file, 0);  // largest_frame_size
  zet::filePut32(file, s.frameCount);
  zet::filePut32(file, s.width);
  zet::filePut32(file, s.height);
  zet::filePut32(file, s.rateNum);
  zet::filePut32(file, s.rateDiv);
  zet::filePut32(file, s.videoFlags());
  zet::filePut32(file, s.trackCount);
  writeTrackTables(encoder);
  writeIndex(encoder);
}

void recordFrameStart(Encoder& encoder, bool key) {
  const auto start = static_cast<std::uint32_t>(zet::fileGetPos(encoder.file));
  encoder.frameOffsets[encoder.head.frames_written] = start | (key ? 1u : 0u);
}

std::uint32_t writeFramePacket(Encoder& encoder, const EncodedFrame& frame) {
  ZetFileRecord* file = encoder.file;
  const std::uint32_t number = encoder.head.frames_written;
  const std::uint64_t start = encoder.frameOffsets[number] & ~1u;

  const SoundPacketContext context{number, encoder.settings.rateNum, encoder.settings.rateDiv,
                                   handleOf(encoder)};
  for (std::uint32_t i = 0; i < encoder.settings.trackCount; ++i) {
    writeSoundPacket(file, encoder.tracks[i], context);
  }
  const auto& bytes = frame.planeBytes;
  if (encoder.settings.alpha) {
    zet::filePut32(file, bytes[kAlpha] + 4);
    writePlane(file, encoder.encodedPlanes[kAlpha], bytes[kAlpha]);
  }
  zet::filePut32(file, bytes[kLuma] + 4);
  writePlane(file, encoder.encodedPlanes[kLuma], bytes[kLuma]);
  if (!encoder.settings.grey) {
    writePlane(file, encoder.encodedPlanes[kCr], bytes[kCr]);
    writePlane(file, encoder.encodedPlanes[kCb], bytes[kCb]);
  }

  const std::uint64_t end = zet::fileGetPos(file);
  encoder.head.bytes_written = static_cast<std::uint32_t>(std::min(outputSize(encoder), kMaxFileOffset));
  if (end > kMaxFileOffset) {
    fail(encoder, kFileLimitMessage);
    return 0;
  }
  if (zet::fileWriteFailed(file)) {
    fail(encoder, kShortWriteMessage);
    return 0;
  }
  const auto packetSize = static_cast<std::uint32_t>(end - start);
  encoder.largestFrameSize = std::max(encoder.largestFrameSize, packetSize);
  encoder.frameOffsets[number + 1] = static_cast<std::uint32_t>(end);
  encoder.head.frames_written = number + 1;
  return packetSize;
}

bool rewriteHeader(Encoder& encoder) {
  if (!encoder.lock.lockRewrite()) return false;
  ZetFileRecord* file = encoder.file;
  const std::uint64_t position = zet::fileGetPos(file);
  const std::uint64_t size = outputSize(encoder);
  zet::fileSetPos(file, 4);
  zet::filePut32(file, static_cast<std::uint32_t>(size - 8));
  zet::filePut32(file, encoder.head.frames_written);
  zet::filePut32(file, encoder.largestFrameSize);
  zet::fileSetPos(file, 44);
  writeTrackTables(encoder);
  writeIndex(encoder);
  zet::fileSetPos(file, position);
  encoder.lock.unlockRewrite();
  return true;
}

void flushToDisk(Encoder& encoder) {
  WriterGuard guard(encoder.lock);
  zet::fileFlush(encoder.file, true);
}

void rewriteHeaderWhenDue(Encoder& encoder) {
  const std::uint32_t now = zet::timerRead();
  if (encoder.head.bytes_written <= encoder.nextRewriteBytes && now <= encoder.nextRewriteTime) return;
  encoder.nextRewriteBytes = std::uint64_t{encoder.head.bytes_written} + kRewriteByteStep;
  encoder.nextRewriteTime = now + kRewriteMilliseconds;
  if (rewriteHeader(encoder)) flushToDisk(encoder);
}

}  // namespace movra
