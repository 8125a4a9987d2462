// Both libraries export zetmalloc, zetfree and ZetTimerRead; loaded into one
// process, each must keep its own allocator.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

namespace {

using Allocate = void* (*)(uint32_t);
using Release = void (*)(void*);
using SetMemory = void (*)(Allocate, Release);

int hookCalls = 0;
void* countingAllocate(uint32_t bytes) {
  ++hookCalls;
  return std::malloc(bytes);
}
void countingRelease(void* block) { std::free(block); }

template <typename Function>
Function symbol(void* library, const char* name) {
  return reinterpret_cast<Function>(dlsym(library, name));
}

TEST(AllocatorBinding, EachLibraryUsesItsOwnAllocatorInOneProcess) {
  void* zetutil = dlopen(ZETUTIL_PATH, RTLD_NOW | RTLD_GLOBAL);
  void* movramake = dlopen(MOVRAMAKE_PATH, RTLD_NOW | RTLD_GLOBAL);
  ASSERT_NE(zetutil, nullptr) << dlerror();
  ASSERT_NE(movramake, nullptr) << dlerror();

  symbol<SetMemory>(movramake, "ZetSetMemory")(countingAllocate, countingRelease);

  void* movramakeBlock = symbol<Allocate>(movramake, "zetmalloc")(100);
  void* zetutilBlock = symbol<Allocate>(zetutil, "zetmalloc")(100);
  EXPECT_EQ(hookCalls, 1);  // only movramake's allocator knows the hooks
  ASSERT_NE(movramakeBlock, nullptr);
  ASSERT_NE(zetutilBlock, nullptr);
  // The two layouts differ: movramake's blocks lie 33..64 bytes in.
  EXPECT_GE(static_cast<uint8_t*>(movramakeBlock)[-1], 33);
  EXPECT_LE(static_cast<uint8_t*>(zetutilBlock)[-1], 32);

  symbol<Release>(movramake, "zetfree")(movramakeBlock);
  symbol<Release>(zetutil, "zetfree")(zetutilBlock);
  symbol<SetMemory>(movramake, "ZetSetMemory")(nullptr, nullptr);
  dlclose(movramake);
  dlclose(zetutil);
}

}  // namespace
