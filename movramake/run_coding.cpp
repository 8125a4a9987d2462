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

RunSplitter::RunSplitter(const BlockSamples& scannedSamples) : samples_(scannedSamples) {
  for (unsigned start = 0; start < 64; ++start) {
    std::uint8_t low = samples_[start], high = low;
    for (unsigned n = 0; n < 16 && start + n < 64; ++n) {
      low = std::min(low, samples_[start + n]);
      high = std::max(high, samples_[start + n]);
      spread_[start][n] = static_cast<std::uint8_t>(high - low);
    }
  }
}

std::uint8_t RunSplitter::median(unsigned start, unsigned length) {
  know(start, length);
  return median_[start][length - 1];
}

std::uint32_t RunSplitter::error(unsigned start, unsigned length) {
  know(start, length);
  return error_[start][length - 1];
}

void RunSplitter::know(unsigned start, unsigned length) {
  const std::size_t index = start * 16 + length - 1;
  if (known_[index]) return;
  known_[index] = true;
  std::array<std::uint8_t, 16> run{};
  for (unsigned i = 0; i < length; ++i) {
    const std::uint8_t value = samples_[start + i];
    unsigned at = i;
    for (; at > 0 && run[at - 1] > value; --at) run[at] = run[at - 1];
    run[at] = value;
  }
  const int middle = length % 2 ? run[length / 2] : (run[length / 2 - 1] + run[length / 2]) / 2;
  std::uint32_t sum = 0;
  for (unsigned i = 0; i < length; ++i) sum += static_cast<std::uint32_t>(std::abs(middle - run[i]));
  median_[start][length - 1] = static_cast<std::uint8_t>(middle);
  error_[start][length - 1] = sum;
}

RunFill RunSplitter::fill(std::uint32_t threshold) {
  RunFill fill{};
  fill.nextThreshold = 256;
  lastError_ = 0;
  unsigned start = 0;
  while (start < 64) {
    const unsigned room = std::min(16u, 64 - start);
    unsigned length = 1;
    while (length < room && spread_[start][length] <= threshold) ++length;
    if (length < room) fill.nextThreshold = std::min<std::uint32_t>(fill.nextThreshold, spread_[start][length]);
    const std::uint8_t value = median(start, length);
    for (unsigned i = start; i < start + length; ++i) fill.values[i] = value;
    lastError_ += error(start, length);
    start += length;
  }
  return fill;
}

RunFill fillRuns(const BlockSamples& scannedSamples, std::uint32_t threshold) {
  return RunSplitter(scannedSamples).fill(threshold);
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
