#include "memory_plan.h"

#include "block_allocator.h"

namespace movra {
namespace {

constexpr std::uint64_t roundUpTo32(std::uint64_t bytes) { return (bytes + 31) & ~std::uint64_t{31}; }

// zetmalloc takes a 32-bit count and adds its own header.
constexpr std::uint64_t kLargestBlock = 0xFFFFFFFFu - 64;

}  // namespace

MemoryPlan::MemoryPlan(std::size_t recordBytes) : recordBytes_(roundUpTo32(recordBytes)) {}

std::size_t MemoryPlan::reserve(std::uint64_t bytes) {
  const std::uint64_t rounded = roundUpTo32(bytes);
  // Unsigned wrap-around keeps the remainder what it would be for the
  // mathematical difference, since 2^64 is a multiple of 32.
  const std::uint64_t stagger = ((reserved_ / 32 - rounded / 32 + 1) % 32) * 32;
  offsets_.push_back(reserved_ + stagger);
  reserved_ += stagger + rounded;
  return offsets_.size() - 1;
}

std::uint64_t MemoryPlan::totalBytes() const { return recordBytes_ + reserved_; }

std::uint8_t* MemoryPlan::allocate() const {
  const std::uint64_t total = totalBytes();
  if (total > kLargestBlock) return nullptr;
  return static_cast<std::uint8_t*>(zet::allocateBlock(static_cast<std::uint32_t>(total)));
}

std::uint8_t* MemoryPlan::piece(std::uint8_t* block, std::size_t ticket) const {
  return block + recordBytes_ + offsets_[ticket];
}

}  // namespace movra
