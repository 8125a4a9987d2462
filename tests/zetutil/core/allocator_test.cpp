// zetutil's allocator, tested from a program that links only libzetutil.
#include <gtest/gtest.h>

#include <cstdint>

#include "zetutil.h"

namespace {

TEST(ZetutilAllocator, BlocksAreAlignedWithTheDistanceToTheHeapBlockBeforeThem) {
  for (uint32_t size : {1u, 7u, 32u, 33u, 65536u}) {
    void* block = zetmalloc(size);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 32, 0u);
    const uint8_t distance = static_cast<uint8_t*>(block)[-1];
    EXPECT_GE(distance, 1);
    EXPECT_LE(distance, 32);
    static_cast<uint8_t*>(block)[size - 1] = 1;
    zetfree(block);
  }
  zetfree(nullptr);
}

TEST(ZetutilAllocator, ZeroAndAllOnesAreRefusedWithoutAMessage) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(zetmalloc(0), nullptr);
  EXPECT_EQ(zetmalloc(0xFFFFFFFFu), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
