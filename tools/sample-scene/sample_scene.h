// Sample clips for the demo and the benchmark: a slow pan and zoom over a
// photograph, with a little noise, and a generated sound track.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace movra::sample {

struct Photograph {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> rgb;  // row by row, 3 bytes a pixel
};

// A binary PPM (P6, 8 bits per channel); empty when the file is not one.
std::optional<Photograph> loadPpm(const std::string& name);

// The folder of the photographs that ship with the sources.
std::string mediaFolder();

// Frame `frame` of `frames`: the view starts on the whole photograph and
// slowly zooms in while it drifts across, sampled bilinearly to width x
// height pixels B, G, R, A. Noise of +-2 keeps every frame a little
// different, as a camera would.
std::vector<std::uint8_t> panAndZoomFrame(const Photograph& photo, std::uint32_t width, std::uint32_t height,
                                          std::uint32_t frame, std::uint32_t frames);

// 16-bit mono samples of a slowly gliding chord at `rate` Hz.
std::vector<std::int16_t> chordSound(std::uint32_t rate, std::uint32_t samples);

}  // namespace movra::sample
