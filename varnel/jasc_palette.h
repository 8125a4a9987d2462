// JASC palette files: "JASC-PAL", "0100", the entry count (16 or 256), then one
// "red green blue" line per entry, lines ended by CR LF.
#pragma once

#include <string>

#include "image_types.h"
#include "status.h"

namespace varnel {

// On failure palette is left as it was.
Status readJascPalette(const std::string& path, Palette& palette);
std::string formatJascPalette(const Palette& palette);

}  // namespace varnel
