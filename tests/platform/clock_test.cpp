#include "platform/clock.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(Clock, CountersRunForwardThroughASleep) {
  const std::uint64_t counterBefore = highResolutionCounter();
  const std::uint32_t ticksBefore = systemTickMilliseconds();
  sleepMilliseconds(30);
  const std::uint64_t elapsed = highResolutionCounter() - counterBefore;
  const std::uint32_t elapsedTicks = systemTickMilliseconds() - ticksBefore;
  EXPECT_GE(elapsed, highResolutionFrequency() * 30 / 1000);
  // Generous upper bounds: the machine may be busy.
  EXPECT_LT(elapsed, highResolutionFrequency() * 5);
  EXPECT_GE(elapsedTicks, 29u);
  EXPECT_LT(elapsedTicks, 5000u);
}

TEST(Clock, HighResolutionCounterNeverGoesBack) {
  std::uint64_t previous = highResolutionCounter();
  for (int i = 0; i < 10000; ++i) {
    const std::uint64_t now = highResolutionCounter();
    ASSERT_GE(now, previous);
    previous = now;
  }
}

}  // namespace
}  // namespace platform
