#include "memory_plan.h"

#include <gtest/gtest.h>

#include <set>

#include "block_allocator.h"

namespace movra {
namespace {

TEST(MemoryPlan, PiecesAreAlignedStaggeredAndFollowTheRecord) {
  MemoryPlan plan(100);
  const std::uint64_t sizes[] = {64, 1000, 4096, 4096, 4096, 17};
  std::vector<std::size_t> tickets;
  for (std::uint64_t size : sizes) tickets.push_back(plan.reserve(size));
  std::uint8_t* block = plan.allocate();
  ASSERT_NE(block, nullptr);

  std::set<std::uintptr_t> cacheOffsets;
  std::uint8_t* previousEnd = block + 128;  // the record, rounded up to 32
  for (std::size_t i = 0; i < tickets.size(); ++i) {
    std::uint8_t* piece = plan.piece(block, tickets[i]);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(piece) % 32, 0u);
    EXPECT_GE(piece, previousEnd);
    previousEnd = piece + sizes[i];
    if (sizes[i] == 4096) cacheOffsets.insert((piece - block) % 1024);
  }
  EXPECT_EQ(cacheOffsets.size(), 3u) << "equal planes in a row start in different cache sets";
  EXPECT_LE(previousEnd, block + plan.totalBytes());
  zet::releaseBlock(block);
}

TEST(MemoryPlan, TheStaggerFollowsTheRunningTotal) {
  MemoryPlan plan(0);
  plan.reserve(64);    // total 0: stagger ((0 - 2 + 1) mod 32) x 32 = 31 x 32
  plan.reserve(32);    // total 31 x 32 + 64 = 33 x 32: stagger ((33 - 1 + 1) mod 32) x 32 = 32
  EXPECT_EQ(plan.totalBytes(), 31 * 32 + 64 + 32 + 32u);
}

TEST(MemoryPlan, APlanTooLargeForOneBlockAllocatesNothing) {
  MemoryPlan plan(64);
  plan.reserve(0xFFFFFFFFull);
  EXPECT_EQ(plan.allocate(), nullptr);
}

}  // namespace
}  // namespace movra
