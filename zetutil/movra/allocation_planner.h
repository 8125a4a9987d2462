// Plans the pieces of one large allocation, then allocates it. Pieces are
// whole 32-byte lines, each preceded by a pad that staggers consecutive
// pieces across cache sets, so buffers used side by side (planes, value
// buffers) do not evict each other.
#pragma once

#include <cstdint>

namespace zet {

class AllocationPlan {
 public:
  // Plans a piece of `bytes` bytes and returns its offset in the block.
  std::uint64_t reserve(std::uint64_t bytes);

  std::uint64_t totalBytes() const { return total_; }

  // One 32-byte aligned, zero-filled block of totalBytes(), or null when it
  // cannot be had (including plans too large for the allocator).
  void* allocate() const;

 private:
  std::uint64_t total_ = 0;
};

// Frees a block from AllocationPlan::allocate (null is fine).
void releasePlannedBlock(void* block);

}  // namespace zet
