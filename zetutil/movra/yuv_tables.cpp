#include "yuv_tables.h"

#include <algorithm>

namespace zet {
namespace {

// Integer division truncates toward zero, as the conversion's rounding asks.
constexpr std::int32_t chromaTerm(int v, std::int32_t factor) { return (v - 128) * factor / 32768; }

constexpr YuvTables buildTables() {
  YuvTables tables{};
  for (int v = 0; v < 256; ++v) {
    const std::size_t i = static_cast<std::size_t>(v);
    tables.luma[i] = std::min(std::max(v - 16, 0), 219) * 38154 / 32768;
    tables.crRed[i] = chromaTerm(v, 52299);
    tables.crGreen[i] = -chromaTerm(v, 26639);
    tables.cbGreen[i] = -chromaTerm(v, 12837);
    tables.cbBlue[i] = chromaTerm(v, 66101);
    if (v <= 16) {
      tables.grey[i] = 0;
    } else if (v >= 235) {
      tables.grey[i] = 255;
    } else {
      tables.grey[i] = static_cast<std::uint8_t>((255 * v - 4080) / 219);
    }
  }
  return tables;
}

constexpr YuvTables kTables = buildTables();

constexpr std::int32_t lowest(const std::array<std::int32_t, 256>& table) {
  return *std::min_element(table.begin(), table.end());
}
constexpr std::int32_t highest(const std::array<std::int32_t, 256>& table) {
  return *std::max_element(table.begin(), table.end());
}

constexpr std::int32_t kLowest =
    lowest(kTables.luma) + std::min({lowest(kTables.crRed), lowest(kTables.cbBlue),
                                     lowest(kTables.crGreen) + lowest(kTables.cbGreen)});
constexpr std::int32_t kHighest =
    highest(kTables.luma) + std::max({highest(kTables.crRed), highest(kTables.cbBlue),
                                      highest(kTables.crGreen) + highest(kTables.cbGreen)});

constexpr std::array<std::uint8_t, kHighest - kLowest + 1> buildClamp() {
  std::array<std::uint8_t, kHighest - kLowest + 1> clamp{};
  for (std::int32_t sum = kLowest; sum <= kHighest; ++sum) {
    clamp[static_cast<std::size_t>(sum - kLowest)] = static_cast<std::uint8_t>(std::min(std::max(sum, 0), 255));
  }
  return clamp;
}

constexpr auto kClamp = buildClamp();

}  // namespace

const std::int32_t kYuvClampLowest = kLowest;
const std::int32_t kYuvClampHighest = kHighest;

const YuvTables& yuvTables() { return kTables; }

static_assert(kLowest < 0 && kHighest > 255);
const std::uint8_t* yuvClampOrigin() { return kClamp.data() - kLowest; }

}  // namespace zet
