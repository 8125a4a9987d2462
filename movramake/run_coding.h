// RUN blocks: the block's samples walked in one of 16 scan orders and cut
// into runs filled with one value each, then sent as segments that either
// repeat one colour or list their colours one by one.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>

namespace movra {

using BlockSamples = std::array<std::uint8_t, 64>;

// The scan order along which the samples change least: the sum of the
// steps between neighbours plus the number of non-zero steps (first
// minimum wins).
unsigned chooseRunScan(const BlockSamples& samples);

BlockSamples scanned(const BlockSamples& samples, unsigned scan);

struct RunFill {
  BlockSamples values{};        // in scan order, each run filled with its median
  std::uint32_t nextThreshold;  // the smallest spread that ended a run; 256 if none
};

// Cuts the scanned samples greedily into runs of at most 16 values whose
// spread (largest - smallest) stays within `threshold`.
RunFill fillRuns(const BlockSamples& scannedSamples, std::uint32_t threshold);

// The same cuts for many thresholds of one block: the spread and median of
// every run a cut can produce are worked out once.
class RunSplitter {
 public:
  explicit RunSplitter(const BlockSamples& scannedSamples);
  RunFill fill(std::uint32_t threshold);
  // The error of the last fill against the scanned samples.
  std::uint32_t lastError() const { return lastError_; }

 private:
  std::uint8_t median(unsigned start, unsigned length);
  std::uint32_t error(unsigned start, unsigned length);
  void know(unsigned start, unsigned length);

  const BlockSamples& samples_;
  // [s][n]: the run of the n + 1 values from s. Medians and errors are
  // worked out when a cut first needs them; `known_` marks which are.
  std::array<std::array<std::uint8_t, 16>, 64> spread_;
  std::array<std::array<std::uint8_t, 16>, 64> median_;
  std::array<std::array<std::uint32_t, 16>, 64> error_;
  std::bitset<64 * 16> known_;
  std::uint32_t lastError_ = 0;
};

struct RunSegment {
  std::uint8_t start = 0;
  std::uint8_t length = 0;  // 1..16
  bool repeat = false;      // one colour for the whole segment
};

struct RunSegments {
  std::array<RunSegment, 64> segments{};
  unsigned count = 0;
  // The walk stopped at position 63: that last position takes one more colour.
  bool lastAlone = false;
};

// How the plane writer cuts a filled block into segments.
RunSegments segmentRuns(const BlockSamples& filled);

// The bits of those segments in 1/256 bit: each segment its run code and
// flag bit plus its colours.
std::uint32_t runBlockCost(const RunSegments& segments, std::uint32_t runCost, std::uint32_t colourCost);

}  // namespace movra
