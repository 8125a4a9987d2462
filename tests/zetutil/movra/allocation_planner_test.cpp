#include <gtest/gtest.h>

#include <cstdint>

#include "allocation_planner.h"

namespace zet {
namespace {

TEST(AllocationPlannerTest, PadsStaggerPiecesAcrossCacheSets) {
  AllocationPlan plan;
  // First piece: 0 lines planned, 2 lines asked: ((0 - 2) mod 256 + 1) mod 32 = 31 lines of pad.
  EXPECT_EQ(plan.reserve(64), 31u * 32);
  EXPECT_EQ(plan.totalBytes(), 33u * 32);
  // 33 lines planned, 1 asked: ((33 - 1) mod 256 + 1) mod 32 = 1.
  EXPECT_EQ(plan.reserve(1), 34u * 32);
  EXPECT_EQ(plan.totalBytes(), 35u * 32);
  // 35 planned, 3 asked (65 bytes round up): (32 + 1) mod 32 = 1.
  EXPECT_EQ(plan.reserve(65), 36u * 32);
}

TEST(AllocationPlannerTest, BlockIsAlignedAndZeroed) {
  AllocationPlan plan;
  const std::uint64_t first = plan.reserve(100);
  const std::uint64_t second = plan.reserve(5000);
  auto* block = static_cast<std::uint8_t*>(plan.allocate());
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % 32, 0u);
  EXPECT_EQ(first % 32, 0u);
  EXPECT_EQ(second % 32, 0u);
  for (std::uint64_t i = 0; i < plan.totalBytes(); ++i) ASSERT_EQ(block[i], 0);
  releasePlannedBlock(block);
}

TEST(AllocationPlannerTest, PlansTooLargeForOneBlockAreRefused) {
  AllocationPlan plan;
  plan.reserve(std::uint64_t{1} << 33);
  EXPECT_EQ(plan.allocate(), nullptr);
}

}  // namespace
}  // namespace zet
