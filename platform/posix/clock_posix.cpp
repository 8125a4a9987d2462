#include <time.h>

#include <cerrno>

#include "platform/clock.h"

namespace platform {
namespace {

std::uint64_t nanoseconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<std::uint64_t>(now.tv_sec) * 1000000000u + static_cast<std::uint64_t>(now.tv_nsec);
}

}  // namespace

std::uint64_t highResolutionCounter() { return nanoseconds(CLOCK_MONOTONIC); }

std::uint64_t highResolutionFrequency() { return 1000000000u; }

// CLOCK_BOOTTIME counts from system start, including suspended time, as the
// Windows tick count does.
std::uint32_t systemTickMilliseconds() { return static_cast<std::uint32_t>(nanoseconds(CLOCK_BOOTTIME) / 1000000u); }

void sleepMilliseconds(std::uint32_t milliseconds) {
  timespec rest{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&rest, &rest) != 0 && errno == EINTR) {
  }
}

}  // namespace platform
