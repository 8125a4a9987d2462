#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <thread>
#include <vector>

#include "movramake.h"

namespace {

struct HookLog {
  int allocations = 0;
  int releases = 0;
  uint32_t lastRequest = 0;
  void* answer = nullptr;  // what the hook returns: null falls back to the heap
  bool useMalloc = true;
};
HookLog hookLog;

void* ZET_CALL allocateHook(uint32_t bytes) {
  ++hookLog.allocations;
  hookLog.lastRequest = bytes;
  if (!hookLog.useMalloc) return hookLog.answer;
  return std::malloc(bytes);
}

void ZET_CALL releaseHook(void* block) {
  ++hookLog.releases;
  std::free(block);
}

int otherReleases = 0;
void ZET_CALL otherReleaseHook(void* block) {
  ++otherReleases;
  std::free(block);
}

class MovramakeAllocator : public ::testing::Test {
 protected:
  void SetUp() override { hookLog = HookLog{}; }
  void TearDown() override { ZetSetMemory(nullptr, nullptr); }
};

uint8_t headerByte(void* block, int offset) { return static_cast<uint8_t*>(block)[offset]; }

TEST_F(MovramakeAllocator, HeapBlocksAreAlignedWithTheirDistanceAndNoHookMark) {
  for (uint32_t size : {1u, 31u, 32u, 33u, 4096u, 1000000u}) {
    void* block = zetmalloc(size);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 32, 0u);
    EXPECT_GE(headerByte(block, -1), 33);
    EXPECT_LE(headerByte(block, -1), 64);
    EXPECT_EQ(headerByte(block, -2), 0);
    static_cast<uint8_t*>(block)[size - 1] = 0xAB;  // the whole request is usable
    zetfree(block);
  }
  zetfree(nullptr);
}

TEST_F(MovramakeAllocator, RefusesZeroAllOnesAndCountsThatCannotCarryTheHeader) {
  ZetSetMemory(allocateHook, releaseHook);
  for (uint32_t size : {0u, 0xFFFFFFFFu, 0xFFFFFFFEu, 0xFFFFFFC0u}) {
    EXPECT_EQ(zetmalloc(size), nullptr) << size;
  }
  EXPECT_EQ(hookLog.allocations, 0);
}

TEST_F(MovramakeAllocator, HookBlocksAskForSixtyFourMoreAndReleaseThroughTheirOwnHook) {
  ZetSetMemory(allocateHook, releaseHook);
  void* block = zetmalloc(100);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(hookLog.allocations, 1);
  EXPECT_EQ(hookLog.lastRequest, 164u);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 32, 0u);
  EXPECT_EQ(headerByte(block, -2), 3);

  // A block remembers the release hook installed when it was made.
  ZetSetMemory(allocateHook, otherReleaseHook);
  zetfree(block);
  EXPECT_EQ(hookLog.releases, 1);
  EXPECT_EQ(otherReleases, 0);
}

TEST_F(MovramakeAllocator, HookAnswersSelectFailureOrTheBuiltInHeap) {
  ZetSetMemory(allocateHook, releaseHook);
  hookLog.useMalloc = false;
  hookLog.answer = ZET_MEMORY_FAIL;
  EXPECT_EQ(zetmalloc(10), nullptr);

  hookLog.answer = nullptr;  // fall back to the heap
  void* block = zetmalloc(10);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(headerByte(block, -2), 0);
  zetfree(block);
  EXPECT_EQ(hookLog.releases, 0);
}

TEST_F(MovramakeAllocator, NullAllocationHookRestoresTheHeap) {
  ZetSetMemory(allocateHook, releaseHook);
  ZetSetMemory(nullptr, releaseHook);
  void* block = zetmalloc(10);
  ASSERT_NE(block, nullptr);
  zetfree(block);
  EXPECT_EQ(hookLog.allocations, 0);
  EXPECT_EQ(hookLog.releases, 0);
}

std::atomic<int> threadedAllocations{0};
std::atomic<int> threadedReleases{0};
void* ZET_CALL threadedAllocate(uint32_t bytes) {
  ++threadedAllocations;
  return std::malloc(bytes);
}
void ZET_CALL threadedRelease(void* block) {
  ++threadedReleases;
  std::free(block);
}

TEST_F(MovramakeAllocator, HooksMayChangeWhileOtherThreadsAllocate) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([] {
      for (int i = 0; i < 2000; ++i) zetfree(zetmalloc(64));
    });
  }
  for (int i = 0; i < 2000; ++i) {
    ZetSetMemory(i % 2 ? nullptr : threadedAllocate, threadedRelease);
  }
  for (auto& thread : threads) thread.join();
  ZetSetMemory(nullptr, nullptr);
  // Every hook block went back through the hook that made it.
  EXPECT_EQ(threadedAllocations.load(), threadedReleases.load());
}

}  // namespace
