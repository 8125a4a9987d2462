#include "compression_window.h"

#include <algorithm>
#include <array>
#include <utility>

#include "encoder_status.h"
#include "file_writer.h"
#include "frame_compressor.h"
#include "frame_size_estimate.h"
#include "scaled_arithmetic.h"

namespace movra {
namespace {

constexpr const char* kCompressingText = "Compressing";

// Bytes the sound of the window's remaining frames is expected to take, at
// each track's compression ratio so far.
std::uint64_t soundEstimate(const Encoder& encoder, std::uint32_t framesLeft) {
  const EncoderSettings& s = encoder.settings;
  std::uint64_t total = 0;
  for (std::uint32_t i = 0; i < s.trackCount; ++i) {
    const SoundTrack& track = encoder.tracks[i];
    const std::uint64_t decoded =
        std::min(track.remaining, soundBytesOfFrames(track, framesLeft, s.rateNum, s.rateDiv));
    total += mulDiv(decoded, track.compressedBytes, track.sourceBytesSeen);
  }
  return total;
}

void refreshCosts(Encoder& encoder) {
  for (PlaneCosts& costs : encoder.costs) costs.refreshAndShift();
}

std::uint32_t frameBudget(const Encoder& encoder, const WindowSlot& slot, std::int64_t available,
                          std::uint64_t estimate, std::uint64_t estimateTotal) {
  std::uint64_t budget = 0;
  if (available > 0) {
    const auto pool = static_cast<std::uint64_t>(available);
    budget = estimateTotal > 0 ? mulDiv(pool, estimate, estimateTotal) : pool / encoder.buffered;
  }
  budget = std::max<std::uint64_t>(budget, slot.targetBytes / 10);
  budget = std::max(budget, budgetFloor(encoder));
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(budget, slot.maximumBytes));
}

// Frames used go to the back of the window, their buffers ready for new
// pictures; the last one used becomes the previous source. Buffers are
// exchanged, never copied.
void retireFrames(Encoder& encoder, std::uint32_t used) {
  std::swap(encoder.previousSource, encoder.slots[used - 1].source);
  std::rotate(encoder.slots.begin(), encoder.slots.begin() + used,
              encoder.slots.begin() + encoder.settings.window);
  encoder.buffered -= used;
}

}  // namespace

std::uint64_t budgetFloor(const Encoder& encoder) {
  const EncoderSettings& s = encoder.settings;
  const std::uint64_t lumaArea = s.planes.lumaBytes();
  const std::uint64_t chromaArea = s.planes.chromaBytes();
  const std::uint64_t lumaUnits = lumaArea / 256 + lumaArea / 64;
  const std::uint64_t chromaUnits = chromaArea / 256 + chromaArea / 64;
  std::uint64_t bits = std::uint64_t{encoder.costs[kLuma].blockType.value()} * lumaUnits;
  if (s.alpha) bits += std::uint64_t{encoder.costs[kAlpha].blockType.value()} * lumaUnits;
  if (!s.grey) {
    bits += (std::uint64_t{encoder.costs[kCr].blockType.value()} + encoder.costs[kCb].blockType.value()) *
            chromaUnits;
  }
  return 2 * bits / 2048;
}

void compressWindow(Encoder& encoder, bool lastFrames) {
  const std::uint32_t buffered = encoder.buffered;
  const std::uint32_t toCompress = lastFrames ? buffered : 1;

  std::array<std::uint64_t, kMaxWindow> estimates{};
  std::uint64_t estimateTotal = 0;
  std::int64_t targetTotal = 0;
  for (std::uint32_t i = 0; i < buffered; ++i) {
    const WindowSlot& slot = encoder.slots[i];
    const FramePlanes& previous = i == 0 ? encoder.previousSource : encoder.slots[i - 1].source;
    estimates[i] = estimateFrameBytes(slot.source, previous, slot.key, encoder.settings.planes);
    estimateTotal += estimates[i];
    targetTotal += slot.targetBytes;
  }
  std::int64_t pool = encoder.bank + targetTotal;

  for (std::uint32_t j = 0; j < toCompress; ++j) {
    const WindowSlot& slot = encoder.slots[j];
    {
      WriterGuard guard(encoder.lock);
      recordFrameStart(encoder, slot.key);
    }
    reportProgress(encoder, static_cast<std::int32_t>(encoder.head.frames_written), kCompressingText);

    const std::uint64_t sound = soundEstimate(encoder, buffered - j);
    const std::int64_t available =
        pool - static_cast<std::int64_t>(std::min<std::uint64_t>(sound, INT64_MAX / 2));
    refreshCosts(encoder);
    const std::uint32_t budget = frameBudget(encoder, slot, available, estimates[j], estimateTotal);

    const std::optional<EncodedFrame> frame = compressFrame(encoder, j, budget);
    if (!frame) {
      encoder.head.failed = 1;
      return;
    }
    std::uint32_t packetSize = 0;
    {
      WriterGuard guard(encoder.lock);
      packetSize = writeFramePacket(encoder, *frame);
    }
    pool -= packetSize;
    encoder.bank += std::int64_t{slot.targetBytes} - packetSize;
    estimateTotal -= estimates[j];
    if (encoder.head.failed || encoder.stopRequested) break;
  }

  retireFrames(encoder, toCompress);
  encoder.bank = std::clamp(encoder.bank, -targetTotal, targetTotal);
  rewriteHeaderWhenDue(encoder);
}

}  // namespace movra
