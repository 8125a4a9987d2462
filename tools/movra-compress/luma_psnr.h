// PSNR of the luma a house video file decodes to, against the luma of the
// pictures it was made from (the encoder's own conversion).
#pragma once

#include <optional>
#include <string>

#include "picture_source.h"

namespace movra::compress {

// Empty when the file cannot be read back.
std::optional<double> lumaPsnr(const std::string& movie, PictureSource& pictures);

}  // namespace movra::compress
