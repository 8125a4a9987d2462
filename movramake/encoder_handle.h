// The record behind a MovraMakeHandle. It starts with the public head that
// status callbacks read; it and every buffer it points to are one block
// from the memory planner, released together at close.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "bit_file.h"
#include "encoder_settings.h"
#include "file_lock.h"
#include "frame_planes.h"
#include "movramake.h"
#include "plane_costs.h"
#include "sound_track.h"

namespace movra {

// One buffered frame of the look-ahead window.
struct WindowSlot {
  FramePlanes source;
  std::uint32_t targetBytes = 0;
  std::uint32_t maximumBytes = 0;
  bool key = false;
};

struct Encoder {
  MovraMakeHandleHead head{};  // must stay first: the handle points at it

  char destinationName[256] = {};
  char temporaryName[256] = {};
  EncoderSettings settings;
  MovraMakeStatus status = nullptr;

  ZetFileRecord* file = nullptr;
  FileLock lock;
  // (frame_count + 1) entries: packet starts with the key bit, then the end
  // of the last packet written.
  std::uint32_t* frameOffsets = nullptr;
  SoundTrack* tracks = nullptr;
  std::uint32_t largestFrameSize = 0;
  std::uint64_t nextRewriteBytes = 0;
  std::uint32_t nextRewriteTime = 0;

  std::uint32_t keyCountdown = 0;
  // Slots 0 .. buffered - 1 hold frames in display order; the next picture
  // goes to slot `buffered`.
  std::array<WindowSlot, kMaxWindow> slots{};
  std::uint32_t buffered = 0;
  // Bytes saved (positive) or overspent (negative) against the targets.
  std::int64_t bank = 0;

  FramePlanes previousSource;  // the last frame compressed before the window
  std::array<FramePlanes, 2> reconstructed{};
  unsigned reference = 0;  // which of `reconstructed` the next frame predicts from
  std::array<std::uint8_t*, kPlaneCount> encodedPlanes{};
  std::array<std::size_t, kPlaneCount> encodedPlaneCapacity{};
  std::array<PlaneCosts, kPlaneCount> costs{};

  bool stopRequested = false;
  bool extraFramesReported = false;
};

inline Encoder* encoderOf(MovraMakeHandle handle) { return reinterpret_cast<Encoder*>(handle); }
inline MovraMakeHandle handleOf(Encoder& encoder) { return &encoder.head; }

}  // namespace movra
