#include "millisecond_timer.h"

#include <mutex>

#include "platform/clock.h"

namespace zet {

std::uint32_t MillisecondTimer::read(std::uint64_t counter, std::uint64_t frequency, std::uint32_t systemTick) {
  if (!started_) {
    started_ = true;
    frequency_ = frequency;
    firstCounter_ = counter;
    lastValue_ = 0;
    lastTick_ = systemTick;
    if (frequency_ != 0) return 0;
  }
  if (frequency_ == 0) return systemTick;

  // Milliseconds since the first reading; the product is split so that it
  // cannot overflow 64 bits for any realistic counter value.
  const std::uint64_t elapsed = counter - firstCounter_;
  const std::uint64_t milliseconds =
      elapsed / frequency_ * 1000 + (elapsed % frequency_) * 1000 / frequency_;
  auto t = static_cast<std::uint32_t>(static_cast<std::int64_t>(milliseconds) + correction_);

  const auto tickStep = static_cast<std::int32_t>(systemTick - lastTick_);
  const auto clockStep = static_cast<std::int32_t>(t - lastValue_);
  const std::int64_t drift = std::int64_t{tickStep} - clockStep;
  if (drift > 200 || drift < -200) {
    correction_ += drift;
    t = static_cast<std::uint32_t>(t + static_cast<std::uint32_t>(drift));
  }

  // A step of more than three quarters of the 32-bit range is a step back.
  if (t - lastValue_ > 0xC0000000u) return lastValue_;
  lastValue_ = t;
  lastTick_ = systemTick;
  return t;
}

std::uint32_t timerRead() {
  static std::mutex mutex;
  static MillisecondTimer timer;
  std::lock_guard lock(mutex);
  return timer.read(platform::highResolutionCounter(), platform::highResolutionFrequency(),
                    platform::systemTickMilliseconds());
}

}  // namespace zet
