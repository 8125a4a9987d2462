// The encoder's exported functions: thin wrappers that keep C++ exceptions
// (memory for internal lists, threads) from crossing the interface and turn
// them into the documented results.
#include <exception>

#include "encoder_close.h"
#include "encoder_create.h"
#include "encoder_handle.h"
#include "encoder_messages.h"
#include "encoder_status.h"
#include "movie_mix.h"
#include "movramake.h"
#include "processor_count.h"
#include "video_intake.h"

using movra::encoderOf;

extern "C" {

ZET_EXPORT MovraMakeHandle ZET_CALL MovraMake(const char* name, int32_t pitch, uint32_t width,
                                              uint32_t height, uint32_t frame_count,
                                              uint32_t key_interval, uint32_t picture_code,
                                              uint32_t rate_dividend, uint32_t rate_divider,
                                              uint32_t track_count, MovraMakeTrack* tracks,
                                              uint32_t window, MovraMakeStatus status) {
  try {
    const movra::EncoderArguments arguments{name,          pitch,        width,        height,
                                            frame_count,   key_interval, picture_code, rate_dividend,
                                            rate_divider,  track_count,  tracks,       window};
    movra::Encoder* encoder = movra::createEncoder(arguments, status);
    return encoder ? movra::handleOf(*encoder) : nullptr;
  } catch (const std::exception&) {
    movra::reportError(status, nullptr, movra::kOutOfMemoryMessage);
    return nullptr;
  }
}

ZET_EXPORT void ZET_CALL MovraMakePutVideo(MovraMakeHandle handle, uint32_t target_bytes,
                                           uint32_t maximum_bytes, uint32_t key_request,
                                           const void* pixels) {
  if (!handle) return;
  movra::Encoder& encoder = *encoderOf(handle);
  try {
    movra::putVideo(encoder, {target_bytes, maximum_bytes, key_request != 0,
                              static_cast<const uint8_t*>(pixels)});
  } catch (const std::exception&) {
    encoder.head.failed = 1;
    movra::reportError(encoder.status, nullptr, movra::kOutOfMemoryMessage);
  }
}

ZET_EXPORT int32_t ZET_CALL MovraMakeFlush(MovraMakeHandle handle) {
  if (!handle) return 0;
  return movra::flushEncoder(*encoderOf(handle)) ? 1 : 0;
}

ZET_EXPORT uint64_t ZET_CALL MovraMakeClose(MovraMakeHandle handle, uint32_t abort) {
  if (!handle) return 0;
  movra::Encoder* encoder = encoderOf(handle);
  try {
    return movra::closeEncoder(encoder, abort != 0);
  } catch (const std::exception&) {
    // Whatever failed, the file is incomplete: discard it, never rename it.
    encoder->head.failed = 1;
    movra::reportError(encoder->status, nullptr, movra::kOutOfMemoryMessage);
    return movra::closeEncoder(encoder, true);
  }
}

ZET_EXPORT uint32_t ZET_CALL MovraMix(const char* input, const char* output, uint32_t offset,
                                      uint32_t rate_dividend, uint32_t rate_divider, int32_t delay,
                                      uint32_t track_count, MovraMakeTrack* tracks, MovraMakeStatus status) {
  try {
    return movra::mixMovie(
        {input, output, offset, rate_dividend, rate_divider, delay, track_count, tracks, status});
  } catch (const std::exception&) {
    movra::reportError(status, nullptr, movra::kOutOfMemoryMessage);
    return 0;
  }
}

ZET_EXPORT uint32_t MovraMakeSetMaxCPUs(uint32_t count) { return movra::setProcessorCount(count); }
}
