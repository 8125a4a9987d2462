#include "encoder_status.h"

#include "encoder_handle.h"

namespace movra {
namespace {

constexpr std::uint32_t kProgressKind = 1;
constexpr std::uint32_t kErrorKind = 2;

}  // namespace

void reportError(MovraMakeStatus status, void* subject, const char* text) {
  if (status) status(kErrorKind, subject, text);
}

void reportProgress(Encoder& encoder, std::int32_t statusFrame, const char* text) {
  if (!encoder.status) return;
  encoder.head.status_frame = statusFrame;
  if (encoder.status(kProgressKind, handleOf(encoder), text) != 0) encoder.stopRequested = true;
}

}  // namespace movra
