// zetutil's memory and clock exports.
#include "block_allocator.h"
#include "millisecond_timer.h"
#include "zetutil.h"

extern "C" {

ZET_EXPORT void* ZET_CALL zetmalloc(uint32_t bytes) { return zet::allocateBlock(bytes); }

ZET_EXPORT void ZET_CALL zetfree(void* block) { zet::releaseBlock(block); }

ZET_EXPORT uint32_t ZET_CALL ZetTimerRead(void) { return zet::timerRead(); }
}
