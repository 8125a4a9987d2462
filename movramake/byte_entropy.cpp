#include "byte_entropy.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace movra {

std::uint64_t entropyBytes(const ByteHistogram& counts) {
  const std::uint64_t total = std::accumulate(counts.begin(), counts.end(), std::uint64_t{0});
  if (total == 0) return 0;
  double bits = 0;
  for (const std::uint32_t count : counts) {
    if (count == 0) continue;
    const double information = -std::log2(static_cast<double>(count) / static_cast<double>(total));
    bits += count * std::min(information, 32.0);
  }
  return static_cast<std::uint64_t>(std::llround(bits / 8));
}

}  // namespace movra
