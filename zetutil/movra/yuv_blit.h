// Copies a rectangle of a 4:2:0 picture into a 32-bit bitmap, optionally
// enlarged by one of the scale modes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zet {

// Conversion flags (the scale mode sits in bits 28..30).
inline constexpr std::uint32_t kYuvOlderColourLayout = 0x00010000;  // red and blue results exchange
inline constexpr std::uint32_t kYuvGrey = 0x00020000;               // chroma planes ignored
inline constexpr std::uint32_t kYuvPlainOnly = 0x00040000;          // never the vector converters

struct YuvPicture {
  const std::uint8_t* luma = nullptr;
  const std::uint8_t* cr = nullptr;
  const std::uint8_t* cb = nullptr;
  const std::uint8_t* alpha = nullptr;  // null: pixels without alpha
  std::size_t pitch = 0;                // of luma and alpha; chroma rows are pitch / 2 apart
  std::size_t rows = 0;                 // luma rows
};

struct YuvRect {
  std::size_t x = 0, y = 0, width = 0, height = 0;
};

// The destination size a scale mode makes of a source rectangle.
YuvRect scaledDestination(const YuvRect& source, std::uint32_t flags);

// `destination` is the first pixel of the destination rectangle, rows
// `destinationPitch` bytes apart (negative for a bottom-up bitmap). The
// rectangle must lie inside the picture, within its even-sized part.
void yuvBlit(std::uint8_t* destination, std::ptrdiff_t destinationPitch, const YuvPicture& picture,
             const YuvRect& source, std::uint32_t flags);

}  // namespace zet
