// movramake's memory and clock exports: thin wrappers over the hidden
// implementations, so the library's own calls never bind to zetutil's.
#include "block_allocator.h"
#include "block_allocator_hooks.h"
#include "millisecond_timer.h"
#include "movramake.h"

extern "C" {

ZET_EXPORT void ZET_CALL ZetSetMemory(ZetAllocateHook allocate, ZetReleaseHook release) {
  zet::setMemoryHooks(allocate, release);
}

ZET_EXPORT uint32_t ZET_CALL ZetTimerRead(void) { return zet::timerRead(); }

ZET_EXPORT void* ZET_CALL zetmalloc(uint32_t bytes) { return zet::allocateBlock(bytes); }

ZET_EXPORT void ZET_CALL zetfree(void* block) { zet::releaseBlock(block); }
}
