// Copying the decoded picture into a caller's 32-bit bitmap.
#include <algorithm>
#include <cstddef>

#include "frame_packet_loader.h"
#include "movra_reader.h"
#include "yuv_blit.h"

namespace zet {
namespace {

// The reader's flags that the converter needs: scale mode, older colour
// layout and grey.
constexpr std::uint32_t kConversionFlagsOfReader = kScaleModeMask | kVersionOlderColourLayout | kVideoGrey;

std::uint32_t toCoded(std::uint32_t value, std::uint32_t coded, std::uint32_t display) {
  return static_cast<std::uint32_t>(std::uint64_t{value} * coded / display);
}

// True when the rectangle the scale mode makes of `source` fits the bitmap at (x, y).
bool fitsBitmap(const YuvRect& source, std::uint32_t flags, std::int32_t pitch, std::uint32_t destRows,
                std::uint32_t x, std::uint32_t y) {
  const YuvRect destination = scaledDestination(source, flags);
  const std::uint64_t rowBytes = pitch < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(std::int64_t{pitch})
                                           : static_cast<std::uint64_t>(pitch);
  return (std::uint64_t{x} + destination.width) * 4 <= rowBytes && std::uint64_t{y} + destination.height <= destRows;
}

}  // namespace

void MovraReaderBlit(MovraReader* reader, void* dest, std::int32_t pitch, std::uint32_t destRows, std::uint32_t x,
                     std::uint32_t y, std::uint32_t flags) {
  MovraReaderBlitRect(reader, dest, pitch, destRows, x, y, 0, 0, reader->display_width, reader->display_height,
                      flags);
}

void MovraReaderBlitRect(MovraReader* reader, void* dest, std::int32_t pitch, std::uint32_t destRows, std::uint32_t x,
                         std::uint32_t y, std::uint32_t srcX, std::uint32_t srcY, std::uint32_t srcW,
                         std::uint32_t srcH, std::uint32_t flags) {
  const std::uint32_t format = flags & kBlitFormatMask;
  if (!dest || (format != kBlitFormat32 && format != kBlitFormat32Alpha)) return;

  YuvRect source;
  source.x = std::min(toCoded(srcX, reader->coded_width, reader->display_width), reader->coded_width);
  source.y = std::min(toCoded(srcY, reader->coded_height, reader->display_height), reader->coded_height);
  source.width = std::min<std::size_t>(toCoded(srcW, reader->coded_width, reader->display_width),
                                       reader->coded_width - source.x);
  source.height = std::min<std::size_t>(toCoded(srcH, reader->coded_height, reader->display_height),
                                        reader->coded_height - source.y);
  if (source.width == 0 || source.height == 0) return;

  const std::uint32_t conversion = flags | (reader->flags & kConversionFlagsOfReader);
  if (!fitsBitmap(source, conversion, pitch, destRows, x, y)) return;

  auto* bitmap = static_cast<std::uint8_t*>(dest);
  std::size_t row = y;
  if (pitch < 0) {
    // Bottom-up: row 0 of the picture is the bitmap's last row in memory order.
    bitmap += static_cast<std::ptrdiff_t>(destRows - y - 1) * -static_cast<std::ptrdiff_t>(pitch);
    row = 0;
  }
  topUpReadAhead(*reader);

  const std::uint8_t* set = reader->planes[reader->current_set];
  const std::size_t lumaBytes = std::size_t{reader->luma_pitch} * reader->luma_rows;
  YuvPicture picture;
  picture.luma = set;
  picture.cr = set + lumaBytes;
  picture.cb = picture.cr + std::size_t{reader->chroma_pitch} * reader->chroma_rows;
  picture.pitch = reader->luma_pitch;
  picture.rows = reader->luma_rows;
  if (format == kBlitFormat32Alpha) picture.alpha = reader->alpha_planes[reader->current_set];
  yuvBlit(bitmap + static_cast<std::ptrdiff_t>(row) * pitch + std::ptrdiff_t{x} * 4, pitch, picture, source,
          conversion);
}

}  // namespace zet
