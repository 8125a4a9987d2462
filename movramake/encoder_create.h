// MovraMake: checks the arguments, creates the temporary file, plans and
// allocates the handle with all its buffers in one block, and writes the
// start of the file.
#pragma once

#include "encoder_handle.h"
#include "encoder_settings.h"

namespace movra {

// Null after a kind-2 report when the arguments make no file, the temporary
// file cannot be created or memory is short; nothing is left behind then.
Encoder* createEncoder(const EncoderArguments& arguments, MovraMakeStatus status);

// Releases the handle's block (sound encoders and file already closed).
void destroyEncoder(Encoder* encoder);

}  // namespace movra
