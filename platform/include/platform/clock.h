// Clocks behind the toolkit's millisecond timer.
#pragma once

#include <cstdint>

namespace platform {

// A steady high-resolution counter and its ticks per second.
std::uint64_t highResolutionCounter();
std::uint64_t highResolutionFrequency();

// Milliseconds since the system started, wrapping at 2^32.
std::uint32_t systemTickMilliseconds();

void sleepMilliseconds(std::uint32_t milliseconds);

}  // namespace platform
