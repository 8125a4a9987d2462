/*
 * movramake: compresses 32-bit pictures and PCM sound into house video files.
 *
 * Plain C interface; no C++ exception crosses it. This library has its own
 * allocator, which supports caller hooks, and its own millisecond clock: a
 * block from this library's zetmalloc is only ever freed by its zetfree.
 */
#ifndef MOVRAMAKE_H
#define MOVRAMAKE_H

#include <stdint.h>

#include "zet_call.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Allocation hook: returns a block of `bytes`, null to fall back to the
 * built-in heap, or ZET_MEMORY_FAIL to make the allocation fail. */
typedef void*(ZET_CALL* ZetAllocateHook)(uint32_t bytes);
typedef void(ZET_CALL* ZetReleaseHook)(void* block);

#define ZET_MEMORY_FAIL ((void*)~(uintptr_t)0)

/* A null allocation hook restores the built-in heap. Whenever an allocation
 * hook is set the release hook must be set too: every hook block remembers
 * the release hook that was installed when it was made. */
ZET_EXPORT void ZET_CALL ZetSetMemory(ZetAllocateHook allocate, ZetReleaseHook release);
ZET_EXPORT uint32_t ZET_CALL ZetTimerRead(void);
ZET_EXPORT void* ZET_CALL zetmalloc(uint32_t bytes);
ZET_EXPORT void ZET_CALL zetfree(void* block);

#ifdef __cplusplus
}
#endif

#endif
