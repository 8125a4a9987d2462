#include "processor_count.h"

#include <algorithm>
#include <atomic>

#include "platform/cpu.h"

namespace movra {
namespace {

// 0 until the system has been asked.
std::atomic<std::uint32_t> count{0};

std::uint32_t systemCount() {
  const unsigned processors = platform::processorCount();
  if (processors == 0) return 1;
  return static_cast<std::uint32_t>(std::min<unsigned>(processors, kMaxProcessors));
}

}  // namespace

std::uint32_t processorCount() {
  std::uint32_t current = count.load();
  if (current != 0) return current;
  // Two first callers may both ask the system; whichever stores first wins,
  // and a count set meanwhile is never overwritten.
  const std::uint32_t queried = systemCount();
  if (count.compare_exchange_strong(current, queried)) return queried;
  return current;
}

std::uint32_t setProcessorCount(std::uint32_t wanted) {
  const std::uint32_t previous = processorCount();
  if (wanted < 1 || wanted > kMaxProcessors) return previous;
  return count.exchange(wanted);
}

}  // namespace movra
