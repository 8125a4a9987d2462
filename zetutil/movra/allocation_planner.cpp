#include "allocation_planner.h"

#include <algorithm>
#include <cstring>

#include "block_allocator.h"

namespace zet {
namespace {

constexpr std::uint64_t kLine = 32;
constexpr std::uint64_t kLargestBlock = 0xFFFFFFFF - kLine;

}  // namespace

std::uint64_t AllocationPlan::reserve(std::uint64_t bytes) {
  const std::uint64_t lines = (bytes + kLine - 1) / kLine;
  // Unsigned wrap-around keeps the modulo exact: 2^64 is a multiple of 256.
  const std::uint64_t padLines = (((total_ / kLine - lines) % 256) + 1) % 32;
  const std::uint64_t offset = total_ + padLines * kLine;
  total_ = offset + lines * kLine;
  return offset;
}

void* AllocationPlan::allocate() const {
  if (total_ > kLargestBlock) return nullptr;
  // A plan of empty pieces still gets a block, so that its pieces have an address.
  const std::uint64_t bytes = std::max(total_, kLine);
  void* block = allocateBlock(static_cast<std::uint32_t>(bytes));
  if (block) std::memset(block, 0, bytes);
  return block;
}

void releasePlannedBlock(void* block) { releaseBlock(block); }

}  // namespace zet
