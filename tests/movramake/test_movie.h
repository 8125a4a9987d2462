// Pictures for encoder tests: a textured, slowly moving scene made in code,
// so that key frames, inter frames, motion and flat areas all occur.
#pragma once

#include <cstdint>
#include <vector>

namespace movra::testing {

// Width x height pixels B, G, R, A of frame `frame`, rows width x 4 apart.
std::vector<std::uint8_t> scenePicture(std::uint32_t width, std::uint32_t height, std::uint32_t frame);

}  // namespace movra::testing
