#include "encoder_create.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <type_traits>

#include "block_allocator.h"
#include "encoder_messages.h"
#include "encoder_status.h"
#include "file_writer.h"
#include "memory_plan.h"
#include "processor_count.h"

namespace movra {
namespace {

static_assert(std::is_standard_layout_v<Encoder>, "the handle points at the record's head");

constexpr std::int32_t kFileBufferBytes = 0x20000;

constexpr const char* kTemporaryFileMessage =
    "Couldn't create temporary file.\n\nSome possible reasons for this error include:\n  1) "
    "compressing to a read-only drive (like a CD-ROM),\n  2) compressing to a drive that is full "
    "(out of disk space), or\n  3) compressing multiple files to the same Movra output filename.";

// Tickets of every buffer of the handle, in registration order.
struct HandleTickets {
  std::size_t frameOffsets = 0;
  std::array<std::array<std::size_t, kPlaneCount>, kMaxWindow> slots{};
  std::array<std::size_t, kPlaneCount> previousSource{};
  std::array<std::array<std::size_t, kPlaneCount>, 2> reconstructed{};
  std::array<std::size_t, kPlaneCount> encodedPlanes{};
  std::size_t tracks = 0;
};

struct PlaneSizes {
  std::array<std::size_t, kPlaneCount> bytes{};  // 0 for planes the movie does not carry
};

PlaneSizes planeSizes(const EncoderSettings& s) {
  PlaneSizes sizes;
  sizes.bytes[kLuma] = s.planes.lumaBytes();
  sizes.bytes[kCr] = s.grey ? 0 : s.planes.chromaBytes();
  sizes.bytes[kCb] = sizes.bytes[kCr];
  sizes.bytes[kAlpha] = s.alpha ? s.planes.lumaBytes() : 0;
  return sizes;
}

std::size_t encodedPlaneCapacity(std::size_t planeBytes) { return planeBytes * 11 / 10; }

std::array<std::size_t, kPlaneCount> reservePlanes(MemoryPlan& plan, const PlaneSizes& sizes) {
  std::array<std::size_t, kPlaneCount> tickets{};
  for (unsigned p = 0; p < kPlaneCount; ++p) tickets[p] = plan.reserve(sizes.bytes[p]);
  return tickets;
}

HandleTickets reserveBuffers(MemoryPlan& plan, const EncoderSettings& s, const PlaneSizes& sizes) {
  HandleTickets tickets;
  tickets.frameOffsets = plan.reserve(4 * (std::uint64_t{s.frameCount} + 1));
  for (std::uint32_t slot = 0; slot < s.window; ++slot) tickets.slots[slot] = reservePlanes(plan, sizes);
  tickets.previousSource = reservePlanes(plan, sizes);
  tickets.reconstructed[0] = reservePlanes(plan, sizes);
  tickets.reconstructed[1] = reservePlanes(plan, sizes);
  for (unsigned p = 0; p < kPlaneCount; ++p) {
    tickets.encodedPlanes[p] = plan.reserve(encodedPlaneCapacity(sizes.bytes[p]));
  }
  tickets.tracks = plan.reserve(sizeof(SoundTrack) * std::uint64_t{s.trackCount});
  return tickets;
}

FramePlanes planesAt(const MemoryPlan& plan, std::uint8_t* block, const PlaneSizes& sizes,
                     const std::array<std::size_t, kPlaneCount>& tickets) {
  FramePlanes planes;
  for (unsigned p = 0; p < kPlaneCount; ++p) {
    planes.plane[p] = sizes.bytes[p] != 0 ? plan.piece(block, tickets[p]) : nullptr;
  }
  return planes;
}

Encoder* buildEncoder(std::uint8_t* block, const MemoryPlan& plan, const HandleTickets& tickets,
                      const PlaneSizes& sizes, const EncoderSettings& settings) {
  auto* encoder = new (block) Encoder;
  encoder->settings = settings;
  encoder->head.frame_count = settings.frameCount;
  encoder->head.status_frame = -1;
  encoder->frameOffsets = reinterpret_cast<std::uint32_t*>(plan.piece(block, tickets.frameOffsets));
  std::memset(encoder->frameOffsets, 0, 4 * (std::size_t{settings.frameCount} + 1));
  for (std::uint32_t slot = 0; slot < settings.window; ++slot) {
    encoder->slots[slot].source = planesAt(plan, block, sizes, tickets.slots[slot]);
  }
  encoder->previousSource = planesAt(plan, block, sizes, tickets.previousSource);
  encoder->reconstructed[0] = planesAt(plan, block, sizes, tickets.reconstructed[0]);
  encoder->reconstructed[1] = planesAt(plan, block, sizes, tickets.reconstructed[1]);
  for (unsigned p = 0; p < kPlaneCount; ++p) {
    encoder->encodedPlanes[p] = plan.piece(block, tickets.encodedPlanes[p]);
    encoder->encodedPlaneCapacity[p] = encodedPlaneCapacity(sizes.bytes[p]);
  }
  encoder->tracks = reinterpret_cast<SoundTrack*>(plan.piece(block, tickets.tracks));
  encoder->keyCountdown = settings.keyInterval;
  for (unsigned p = 0; p < kPlaneCount; ++p) encoder->costs[p] = initialPlaneCosts(static_cast<PlaneIndex>(p));
  return encoder;
}

void releaseSoundEncoders(Encoder& encoder, std::uint32_t count) {
  for (std::uint32_t i = 0; i < count; ++i) {
    releaseSoundEncoder(encoder.tracks[i].encoder);
    encoder.tracks[i].~SoundTrack();
  }
}

// Every track gets its record and its sound encoder; false (with nothing
// left allocated) when an encoder cannot be made.
bool createTracks(Encoder& encoder, const MovraMakeTrack* descriptors) {
  const EncoderSettings& s = encoder.settings;
  for (std::uint32_t i = 0; i < s.trackCount; ++i) {
    SoundTrack* track = new (&encoder.tracks[i])
        SoundTrack(makeSoundTrack(descriptors[i], s.frameCount, s.rateNum, s.rateDiv));
    track->encoder = createSoundEncoder(track->sampleRate, track->channels,
                                        (track->formatWord & kDctTrackFormat) != 0);
    if (!track->encoder) {
      releaseSoundEncoders(encoder, i + 1);
      return false;
    }
  }
  return true;
}

void discardTemporaryFile(ZetFileRecord* file, const char* name) {
  zet::fileClose(file);
  zet::fileErase(name);
}

}  // namespace

Encoder* createEncoder(const EncoderArguments& arguments, MovraMakeStatus status) {
  processorCount();
  const SettingsResult checked = makeEncoderSettings(arguments);
  if (checked.error) {
    reportError(status, nullptr, checked.error);
    return nullptr;
  }
  const EncoderSettings& settings = checked.settings;

  char temporaryName[256];
  std::snprintf(temporaryName, sizeof temporaryName, "%s.tmp", arguments.name);
  ZetFileRecord* file = zet::fileCreate(kFileBufferBytes, temporaryName, true);
  if (!file) {
    MovraMakeHandleHead scratch{};
    reportError(status, &scratch, kTemporaryFileMessage);
    return nullptr;
  }

  const PlaneSizes sizes = planeSizes(settings);
  MemoryPlan plan(sizeof(Encoder));
  const HandleTickets tickets = reserveBuffers(plan, settings, sizes);
  std::uint8_t* block = plan.allocate();
  if (!block) {
    reportError(status, nullptr, kOutOfMemoryMessage);
    discardTemporaryFile(file, temporaryName);
    return nullptr;
  }
  Encoder* encoder = buildEncoder(block, plan, tickets, sizes, settings);
  encoder->status = status;
  encoder->file = file;
  std::snprintf(encoder->destinationName, sizeof encoder->destinationName, "%s", arguments.name);
  std::memcpy(encoder->temporaryName, temporaryName, sizeof temporaryName);
  if (!createTracks(*encoder, arguments.tracks)) {
    reportError(status, nullptr, kOutOfMemoryMessage);
    discardTemporaryFile(file, temporaryName);
    destroyEncoder(encoder);
    return nullptr;
  }
  writeFileStart(*encoder);
  return encoder;
}

void destroyEncoder(Encoder* encoder) {
  encoder->~Encoder();
  std::memset(static_cast<void*>(encoder), 0, sizeof(Encoder));
  zet::releaseBlock(encoder);
}

}  // namespace movra
