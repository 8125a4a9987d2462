#include "run_coding.h"

#include <algorithm>
#include <cstdlib>

#include "scan_orders.h"

namespace movra {

unsigned chooseRunScan(const BlockSamples& samples) {
  unsigned best = 0;
  std::uint32_t bestCost = ~0u;
  for (unsigned scan = 0; scan < zet::kRunScanOrders; ++scan) {
    const zet::BlockOrder& order = zet::runScanOrders[scan];
    std::uint32_t cost = 1;
    for (unsigned k = 1; k < 64; ++k) {
      const int step = samples[order[k]] - samples[order[k - 1]];
      cost += static_cast<std::uint32_t>(std::abs(step)) + (step != 0 ? 1 : 0);
    }
    if (cost < bestCost) {
      bestCost = cost;
      best = scan;
    }
  }
  return best;
}

BlockSamples scanned(const BlockSamples& samples, unsigned scan) {
  BlockSamples out{};
  for (unsigned k = 0; k < 64; ++k) out[k] = samples[zet::runScanOrders[scan][k]];
  return out;
}

RunFill fillRuns(const BlockSamples& scannedSamples, std::uint32_t threshold) {
  RunFill fill{};
  fill.nextThreshold = 256;
  unsigned start = 0;
  while (start < 64) {
    // The run's values kept sorted as they join it (at most 16).
    std::array<std::uint8_t, 16> run{};
    run[0] = scannedSamples[start];
    unsigned length = 1;
    while (start + length < 64 && length < 16) {
      const std::uint8_t value = scannedSamples[start + length];
      const int spread = std::max<int>(run[length - 1], value) - std::min<int>(run[0], value);
      if (static_cast<std::uint32_t>(spread) > threshold) {
        fill.nextThreshold = std::min(fill.nextThreshold, static_cast<std::uint32_t>(spread));
        break;
      }
      unsigned at = length++;
      for (; at > 0 && run[at - 1] > value; --at) run[at] = run[at - 1];
      run[at] = value;
    }
    const std::uint8_t median =
        length % 2 ? run[length / 2] : static_cast<std::uint8_t>((run[length / 2 - 1] + run[length / 2]) / 2);
    for (unsigned i = start; i < start + length; ++i) fill.values[i] = median;
    start += length;
  }
  return fill;
}

RunSegments segmentRuns(const BlockSamples& v) {
  RunSegments out;
  unsigned i = 0;
  while (i < 63) {
    RunSegment segment;
    segment.start = static_cast<std::uint8_t>(i);
    unsigned next = i + 1;
    if (v[i + 1] == v[i]) {
      segment.repeat = true;
      while (next < 64 && next - i < 16 && v[next] == v[i]) ++next;
    } else {
      while (next < 63 && next - i < 16 && v[next] != v[next + 1]) ++next;
      // A literal that reached position 62 takes the last position too.
      if (next == 63 && next - i < 16) ++next;
    }
    segment.length = static_cast<std::uint8_t>(next - i);
    out.segments[out.count++] = segment;
    i = next;
  }
  out.lastAlone = i == 63;
  return out;
}

std::uint32_t runBlockCost(const RunSegments& segments, std::uint32_t runCost, std::uint32_t colourCost) {
  std::uint32_t cost = segments.lastAlone ? colourCost : 0;
  for (unsigned s = 0; s < segments.count; ++s) {
    const RunSegment& segment = segments.segments[s];
    cost += runCost + 256 + (segment.repeat ? 1 : segment.length) * colourCost;
  }
  return cost;
}

}  // namespace movra
