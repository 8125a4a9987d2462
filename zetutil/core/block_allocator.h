// The allocator behind a library's zetmalloc and zetfree. zetutil and
// movramake each link their own variant; code shared by both (the buffered
// bit file) allocates through these two calls and so uses the variant of
// the library it is linked into.
#pragma once

#include <cstdint>

namespace zet {

// A 32-byte aligned block, or null. 0 and 0xFFFFFFFF are refused at once.
void* allocateBlock(std::uint32_t bytes);
void releaseBlock(void* block);

}  // namespace zet
