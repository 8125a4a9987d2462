#include "motion_search.h"

#include <algorithm>

#include "block_sad.h"

namespace movra {
namespace {

constexpr int kRange = 15;

struct OffsetRange {
  int low, high;
};

OffsetRange offsets(std::uint32_t position, std::uint32_t size) {
  const int here = static_cast<int>(position);
  return {std::max(-kRange, -here), std::min(kRange, static_cast<int>(size) - here - 8)};
}

// 0, 1, ..., high, then low, low + 1, ..., -1.
template <typename Visit>
bool visitOffsets(const OffsetRange& range, Visit&& visit) {
  for (int d = 0; d <= range.high; ++d) {
    if (!visit(d)) return false;
  }
  for (int d = range.low; d < 0; ++d) {
    if (!visit(d)) return false;
  }
  return true;
}

}  // namespace

MotionVector searchMotion(const MotionSearchArea& area, std::uint32_t x, std::uint32_t y,
                          const std::uint8_t* source) {
  const OffsetRange rows = offsets(y, area.height);
  const OffsetRange columns = offsets(x, area.width);
  std::uint32_t best = 0x7FFFFFF;
  MotionVector vector;
  visitOffsets(rows, [&](int dy) {
    return visitOffsets(columns, [&](int dx) {
      const ConstBlock candidate{area.reference + static_cast<std::ptrdiff_t>(y + dy) * area.pitch + x + dx,
                                 area.pitch};
      const std::uint32_t sad = sadBounded(candidate, source, best);
      if (sad < best) {
        best = sad;
        vector = {static_cast<std::int8_t>(dx), static_cast<std::int8_t>(dy)};
      }
      return best != 0;  // nothing beats an exact match
    });
  });
  return vector;
}

}  // namespace movra
