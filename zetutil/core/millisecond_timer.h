// The toolkit's millisecond clock: counts from its first reading, follows the
// system tick when the high-resolution counter drifts from it by more than
// 200 ms, and never goes backwards.
#pragma once

#include <cstdint>

namespace zet {

class MillisecondTimer {
 public:
  // One reading from the counter (ticks at `frequency` per second) and the
  // system millisecond tick. A frequency of 0 means there is no counter and
  // the system tick is returned as it is.
  std::uint32_t read(std::uint64_t counter, std::uint64_t frequency, std::uint32_t systemTick);

 private:
  bool started_ = false;
  std::uint64_t frequency_ = 0;
  std::uint64_t firstCounter_ = 0;
  std::uint32_t lastValue_ = 0;
  std::uint32_t lastTick_ = 0;
  std::int64_t correction_ = 0;
};

// The process-wide clock behind ZetTimerRead; safe to call from any thread.
std::uint32_t timerRead();

}  // namespace zet
