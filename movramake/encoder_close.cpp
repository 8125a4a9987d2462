#include "encoder_close.h"

#include <cstdio>

#include "compression_window.h"
#include "encoder_create.h"
#include "encoder_messages.h"
#include "encoder_status.h"
#include "file_writer.h"

namespace movra {
namespace {

constexpr const char* kRenameMessage = "Movra couldn't rename the temporary file.";

// Moves the finished file over the destination in one step, so the old
// destination stays whole until the new file replaces it. The size kept.
std::uint64_t keepFile(Encoder& encoder, std::uint64_t size) {
  switch (zet::fileRename(encoder.destinationName, encoder.temporaryName)) {
    case zet::FileNameResult::Done:
      return size;
    case zet::FileNameResult::NotFound:
      reportError(encoder.status, nullptr, kRenameMessage);
      return 0;
    case zet::FileNameResult::Failed:
      break;
  }
  char message[600];
  std::snprintf(message, sizeof message, kOverwriteFormat, encoder.destinationName,
                encoder.temporaryName);
  reportError(encoder.status, nullptr, message);
  return size;
}

void releaseSoundEncoders(Encoder& encoder) {
  for (std::uint32_t i = 0; i < encoder.settings.trackCount; ++i) {
    releaseSoundEncoder(encoder.tracks[i].encoder);
    encoder.tracks[i].encoder = nullptr;
  }
}

}  // namespace

bool flushEncoder(Encoder& encoder) {
  if (!rewriteHeader(encoder)) return false;
  flushToDisk(encoder);
  return true;
}

std::uint64_t closeEncoder(Encoder* encoder, bool abort) {
  abort = abort || encoder->head.failed;
  if (!abort) {
    if (!encoder->stopRequested && encoder->buffered > 0) compressWindow(*encoder, true);
    abort = encoder->head.failed;
    if (!abort) flushEncoder(*encoder);
  }
  releaseSoundEncoders(*encoder);

  std::uint64_t kept = 0;
  {
    WriterGuard guard(encoder->lock);
    const std::uint64_t size = outputSize(*encoder);
    const bool complete = zet::fileCloseChecked(encoder->file);
    encoder->file = nullptr;
    if (!abort && !complete) {
      encoder->head.failed = 1;
      reportError(encoder->status, nullptr, kShortWriteMessage);
      abort = true;
    }
    if (abort) {
      zet::fileErase(encoder->temporaryName);
    } else {
      kept = keepFile(*encoder, size);
    }
  }
  destroyEncoder(encoder);
  return kept;
}

}  // namespace movra
