// MovraMakeFlush and MovraMakeClose.
#pragma once

#include <cstdint>

#include "encoder_handle.h"

namespace movra {

// Header rewrite, then the buffer forced to disk; false when the file was
// busy for 250 ms.
bool flushEncoder(Encoder& encoder);

// Compresses what is left (unless aborting or stopped), finishes the file
// and moves it over the destination in one step, or discards it; frees the
// handle. The size of the file kept, or 0 when it was discarded.
std::uint64_t closeEncoder(Encoder* encoder, bool abort);

}  // namespace movra
