// Where the nine value buffers of the plane decoder sit inside the one piece
// the reader reserves for them, and how many values each can hold.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace zet {

// The bundles in the order their batches are read at the start of a block row.
enum class BundleKind : std::uint8_t {
  kBlockTypes,
  kBlockSubtypes,
  kColors,
  kPatterns,
  kXOffsets,
  kYOffsets,
  kIntraDc,
  kInterDc,
  kRuns,
};
inline constexpr std::size_t kBundleCount = 9;

struct ValueBufferLayout {
  explicit ValueBufferLayout(std::uint32_t lumaPitch);

  std::array<std::size_t, kBundleCount> offset{};    // bytes from the piece's start
  std::array<std::size_t, kBundleCount> capacity{};  // values, not bytes
  std::size_t totalBytes = 0;
};

}  // namespace zet
