// The exported colour converters. They take the picture's geometry from the
// caller, so the rectangle is cut to the picture here before any pointer is
// formed from it.
#include <algorithm>
#include <cstddef>

#include "yuv_blit.h"
#include "yuv_row_converter.h"
#include "zetutil.h"

namespace {

// The picture is cut to even sizes: every luma pixel inside has its chroma
// sample inside the half-size planes.
bool clipToPicture(zet::YuvRect& rect, std::int32_t srcX, std::int32_t srcY, std::int32_t srcW, std::int32_t srcH,
                   std::size_t pitch, std::size_t rows) {
  const std::size_t width = pitch / 2 * 2;
  const std::size_t height = rows / 2 * 2;
  if (srcX < 0 || srcY < 0 || srcW <= 0 || srcH <= 0) return false;
  rect.x = static_cast<std::size_t>(srcX);
  rect.y = static_cast<std::size_t>(srcY);
  if (rect.x >= width || rect.y >= height) return false;
  rect.width = std::min(static_cast<std::size_t>(srcW), width - rect.x);
  rect.height = std::min(static_cast<std::size_t>(srcH), height - rect.y);
  return true;
}

void blit(void* dest, std::int32_t x, std::int32_t y, std::int32_t destPitch, const void* planes, std::int32_t srcX,
          std::int32_t srcY, std::int32_t srcW, std::int32_t srcH, std::int32_t pitch, std::int32_t rows,
          const void* alpha, std::uint32_t flags) {
  if (!dest || !planes || pitch <= 0 || rows <= 0) return;
  zet::YuvPicture picture;
  picture.pitch = static_cast<std::size_t>(pitch);
  picture.rows = static_cast<std::size_t>(rows);
  picture.luma = static_cast<const std::uint8_t*>(planes);
  picture.cr = picture.luma + picture.pitch * picture.rows;
  picture.cb = picture.cr + picture.pitch / 2 * (picture.rows / 2);
  picture.alpha = static_cast<const std::uint8_t*>(alpha);
  zet::YuvRect source;
  if (!clipToPicture(source, srcX, srcY, srcW, srcH, picture.pitch, picture.rows)) return;
  const std::ptrdiff_t pitchBytes = destPitch;
  auto* first = static_cast<std::uint8_t*>(dest) + std::ptrdiff_t{y} * pitchBytes + std::ptrdiff_t{x} * 4;
  zet::yuvBlit(first, pitchBytes, picture, source, flags);
}

}  // namespace

extern "C" {

// The tables are built at compile time, so all that is left to settle is
// which converter this processor runs. Every format shares them.
ZET_EXPORT void ZET_CALL YUV_init(int32_t) { zet::bestColourRowsConverter(); }

ZET_EXPORT void ZET_CALL YUV_blit_32bpp(void* dest, int32_t x, int32_t y, int32_t dest_pitch, const void* planes,
                                        int32_t src_x, int32_t src_y, int32_t src_w, int32_t src_h, int32_t pitch,
                                        int32_t rows, uint32_t flags) {
  blit(dest, x, y, dest_pitch, planes, src_x, src_y, src_w, src_h, pitch, rows, nullptr, flags);
}

ZET_EXPORT void ZET_CALL YUV_blit_32abpp(void* dest, int32_t x, int32_t y, int32_t dest_pitch, const void* planes,
                                         int32_t src_x, int32_t src_y, int32_t src_w, int32_t src_h, int32_t pitch,
                                         int32_t rows, const void* alpha, uint32_t flags) {
  blit(dest, x, y, dest_pitch, planes, src_x, src_y, src_w, src_h, pitch, rows, alpha, flags);
}
}
