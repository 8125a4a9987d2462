#include "video_intake.h"

#include "compression_window.h"
#include "encoder_status.h"
#include "picture_intake.h"

namespace movra {
namespace {

constexpr const char* kExtraFrameMessage =
    "Movra was handed more frames than were announced; the extra frames are left out.";

bool isKeyFrame(Encoder& encoder, bool requested) {
  // The first frame has no picture before it to predict from.
  bool key = requested || (encoder.head.frames_written == 0 && encoder.buffered == 0);
  const std::uint32_t interval = encoder.settings.keyInterval;
  if (interval != 0) {
    if (encoder.keyCountdown <= 1) key = true;
    encoder.keyCountdown = encoder.keyCountdown == 0 ? 0 : encoder.keyCountdown - 1;
    if (key) encoder.keyCountdown = interval;
  }
  return key;
}

}  // namespace

void putVideo(Encoder& encoder, const PictureRequest& request) {
  if (encoder.stopRequested || encoder.head.failed || !request.pixels) return;
  const std::uint64_t announced = encoder.settings.frameCount;
  if (std::uint64_t{encoder.head.frames_written} + encoder.buffered >= announced) {
    if (!encoder.extraFramesReported) reportError(encoder.status, handleOf(encoder), kExtraFrameMessage);
    encoder.extraFramesReported = true;
    return;
  }

  WindowSlot& slot = encoder.slots[encoder.buffered];
  const EncoderSettings& s = encoder.settings;
  takePicture(request.pixels, PictureLayout{s.width, s.height, s.pitch, s.planes}, slot.source);
  slot.targetBytes = request.targetBytes;
  slot.maximumBytes = request.maximumBytes;
  slot.key = isKeyFrame(encoder, request.keyRequested);
  ++encoder.buffered;

  const bool lastArrived = std::uint64_t{encoder.head.frames_written} + encoder.buffered == announced;
  if (lastArrived || encoder.buffered == s.window) compressWindow(encoder, lastArrived);
}

}  // namespace movra
