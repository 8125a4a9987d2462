// The process-wide count of processors the analysis passes may use (1..32).
// It is read by every encoder while another thread may set it, so it is one
// atomic value; the system is asked once, on first use.
#pragma once

#include <cstdint>

namespace movra {

inline constexpr std::uint32_t kMaxProcessors = 32;

std::uint32_t processorCount();

// Sets the count when 1 <= wanted <= 32 (anything else only reads it) and
// returns the count before the call.
std::uint32_t setProcessorCount(std::uint32_t wanted);

}  // namespace movra
