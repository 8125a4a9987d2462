#include "file_lock.h"

#include "millisecond_timer.h"
#include "platform/clock.h"

namespace movra {
namespace {

constexpr std::uint32_t kRewriteWaitMilliseconds = 250;

}  // namespace

void FileLock::lockWriter() {
  writers_.fetch_add(1);
  while (rewrites_.load() != 0) platform::sleepMilliseconds(1);
}

void FileLock::unlockWriter() { writers_.fetch_sub(1); }

bool FileLock::lockRewrite() {
  rewrites_.fetch_add(1);
  const std::uint32_t start = zet::timerRead();
  while (writers_.load() != 0 || rewrites_.load() != 1) {
    if (zet::timerRead() - start > kRewriteWaitMilliseconds) {
      rewrites_.fetch_sub(1);
      return false;
    }
    platform::sleepMilliseconds(1);
  }
  return true;
}

void FileLock::unlockRewrite() { rewrites_.fetch_sub(1); }

}  // namespace movra
