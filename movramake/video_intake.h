// MovraMakePutVideo: one picture into the look-ahead window, with its
// target, maximum and key decision; compresses when the window is full or
// the movie's last frame has arrived.
#pragma once

#include <cstdint>

#include "encoder_handle.h"

namespace movra {

struct PictureRequest {
  std::uint32_t targetBytes = 0;
  std::uint32_t maximumBytes = 0;
  bool keyRequested = false;
  const std::uint8_t* pixels = nullptr;
};

void putVideo(Encoder& encoder, const PictureRequest& request);

}  // namespace movra
