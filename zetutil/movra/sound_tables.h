// Constant tables of the sound block format, shared by the decoder and the
// encoder.
#pragma once

#include <array>
#include <cstdint>

namespace zet {

inline constexpr unsigned kSoundBandTableSize = 25;
inline constexpr unsigned kSoundRunCodes = 16;
inline constexpr unsigned kSoundQuantiserIndices = 256;

// Lower edge of each critical band in Hz; a stream uses the entries below
// its half rate.
extern const std::array<std::uint32_t, kSoundBandTableSize> kSoundBandFrequencies;

// Groups of 8 coefficients that each 4-bit run code stands for.
extern const std::array<std::uint32_t, kSoundRunCodes> kSoundRunGroups;

// The exponent of one quantiser step: the step of index v is 10^(v x 0.0664)
// with the product taken in single precision, so encoder and decoder agree
// to the bit.
inline constexpr float kSoundQuantiserExponent = 0.0664f;

// 10^(v x 0.0664) and its reciprocal 10^(-(v x 0.0664)) for every 8-bit
// quantiser index v.
const std::array<float, kSoundQuantiserIndices>& soundQuantiserSteps();
const std::array<float, kSoundQuantiserIndices>& soundQuantiserReciprocals();

}  // namespace zet
