// Reports to the caller's status callback (which may be null).
#pragma once

#include <cstdint>

#include "movramake.h"

namespace movra {

struct Encoder;

// Kind 2: an error text; the callback's answer is ignored.
void reportError(MovraMakeStatus status, void* subject, const char* text);

// Kind 1 with the handle as subject and `statusFrame` in the handle's head;
// a non-zero answer sets the stop request (the work in progress goes on).
void reportProgress(Encoder& encoder, std::int32_t statusFrame, const char* text);

}  // namespace movra
