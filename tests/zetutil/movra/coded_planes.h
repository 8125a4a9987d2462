// Coded planes for test movies: pictures given sample by sample, and
// planes that keep the previous picture.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace zet::testing {

using SampleAt = std::function<std::uint8_t(std::uint32_t x, std::uint32_t y)>;

// A plane of RAW blocks holding sample(x, y) at every position. `older`
// codes the colour values in the form of versions 'f', 'g', 'h', which has
// no code for 0.
std::vector<std::uint8_t> rawPlane(std::uint32_t width, std::uint32_t height, const SampleAt& sample, bool older);

// A plane of SKIP blocks: the previous picture again.
std::vector<std::uint8_t> skipPlane(std::uint32_t width, std::uint32_t height);

}  // namespace zet::testing
