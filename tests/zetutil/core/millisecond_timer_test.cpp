#include "millisecond_timer.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint64_t kFrequency = 1000000;  // counter ticks per second

TEST(MillisecondTimer, CountsFromTheFirstReading) {
  zet::MillisecondTimer timer;
  EXPECT_EQ(timer.read(5000000, kFrequency, 90000), 0u);
  EXPECT_EQ(timer.read(5250000, kFrequency, 90250), 250u);
  EXPECT_EQ(timer.read(6000000, kFrequency, 91000), 1000u);
}

TEST(MillisecondTimer, FollowsTheSystemTickWhenTheCounterDriftsMoreThan200Ms) {
  zet::MillisecondTimer timer;
  timer.read(0, kFrequency, 1000);
  EXPECT_EQ(timer.read(100000, kFrequency, 1100), 100u);
  // The tick moved 150 ms further than the counter: within the tolerance.
  EXPECT_EQ(timer.read(200000, kFrequency, 1350), 200u);
  // Now the counter lags the tick by 300 ms: the clock jumps to the tick.
  EXPECT_EQ(timer.read(300000, kFrequency, 1750), 600u);
  // The correction stays for later readings.
  EXPECT_EQ(timer.read(400000, kFrequency, 1850), 700u);
}

TEST(MillisecondTimer, NeverGoesBackwards) {
  zet::MillisecondTimer timer;
  timer.read(0, kFrequency, 0);
  EXPECT_EQ(timer.read(1000000, kFrequency, 1000), 1000u);
  // The tick jumps back by more than 200 ms: the correction would take the
  // clock back, so the last value is returned instead.
  EXPECT_EQ(timer.read(1100000, kFrequency, 500), 1000u);
}

TEST(MillisecondTimer, WithoutACounterReturnsTheSystemTick) {
  zet::MillisecondTimer timer;
  EXPECT_EQ(timer.read(0, 0, 1234), 1234u);
  EXPECT_EQ(timer.read(0, 0, 1300), 1300u);
}

TEST(MillisecondTimer, ProcessClockIsMonotonic) {
  std::uint32_t previous = zet::timerRead();
  for (int i = 0; i < 1000; ++i) {
    const std::uint32_t now = zet::timerRead();
    EXPECT_GE(now, previous);
    previous = now;
  }
}

}  // namespace
