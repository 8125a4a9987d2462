#include "value_buffer_layout.h"

namespace zet {

namespace {

// Each buffer holds one batch: at most 511 values plus one block row's worth,
// since a batch is closed at the end of the first row that brings it to 512.
// The DC bundles store 16-bit values. Sizes are kept to whole 4-byte words so
// that every buffer stays aligned for its values.
std::size_t bufferBytes(BundleKind bundle, std::size_t blocksPerRow) {
  switch (bundle) {
    case BundleKind::kBlockTypes:
    case BundleKind::kXOffsets:
    case BundleKind::kYOffsets:
      return blocksPerRow + 515;
    case BundleKind::kBlockSubtypes:
      return blocksPerRow / 2 + 515;
    case BundleKind::kColors:
      return blocksPerRow * 64 + 515;
    case BundleKind::kPatterns:
      return blocksPerRow * 8 + 515;
    case BundleKind::kRuns:
      return blocksPerRow * 48 + 515;
    case BundleKind::kIntraDc:
    case BundleKind::kInterDc:
      return blocksPerRow * 2 + 1027;
  }
  return 0;
}

std::size_t valueBytes(BundleKind bundle) {
  return bundle == BundleKind::kIntraDc || bundle == BundleKind::kInterDc ? 2 : 1;
}

}  // namespace

ValueBufferLayout::ValueBufferLayout(std::uint32_t lumaPitch) {
  const std::size_t blocksPerRow = lumaPitch / 8;
  for (std::size_t i = 0; i < kBundleCount; ++i) {
    const auto bundle = static_cast<BundleKind>(i);
    const std::size_t bytes = bufferBytes(bundle, blocksPerRow) & ~std::size_t{3};
    offset[i] = totalBytes;
    capacity[i] = bytes / valueBytes(bundle);
    totalBytes += bytes;
  }
}

}  // namespace zet
