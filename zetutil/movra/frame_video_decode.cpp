#include "frame_video_decode.h"

#include "little_endian.h"

namespace zet {
namespace {

std::uint32_t roundUpTo8(std::uint32_t value) { return (value + 7) & ~std::uint32_t{7}; }

// A plane that starts with a 32-bit distance from the prefix to what follows
// the plane. The plane's data lies between the two.
struct PrefixedPlane {
  const std::uint8_t* data = nullptr;
  const std::uint8_t* next = nullptr;
};

bool readPrefix(const std::uint8_t* at, const std::uint8_t* end, PrefixedPlane& plane) {
  if (end - at < 4) return false;
  const std::uint32_t distance = readLittleEndian32(at);
  if (distance < 4 || distance > static_cast<std::uint64_t>(end - at)) return false;
  plane = {at + 4, at + distance};
  return true;
}

}  // namespace

bool decodeFrameVideo(MovraReader& reader, const std::uint8_t* video, const std::uint8_t* videoEnd,
                      std::uint32_t target) {
  const std::uint32_t previous = 1 - target;
  const std::uint32_t width = roundUpTo8(reader.coded_width);
  const std::uint32_t height = roundUpTo8(reader.coded_height);
  const std::uint32_t decodeFlags = reader.flags & kPlaneOlderColourValues;
  const std::uint8_t* at = video;

  if (reader.video_flags & kVideoAlpha) {
    PrefixedPlane alpha;
    if (!readPrefix(at, videoEnd, alpha)) return false;
    if (reader.flags & kOpenDecodeAlpha) {
      const PlaneDecodeResult result =
          MovraPlaneDecode(reader.alpha_planes[target], reader.alpha_planes[previous], width, height,
                           reader.luma_pitch, alpha.data, alpha.next, reader.bundle_buffers, decodeFlags);
      if (!result.ok) return false;
    }
    at = alpha.next;
  }

  const std::uint8_t* lumaEnd = videoEnd;
  const std::uint8_t* chromaStart = nullptr;
  if (!(reader.flags & kVersionNoLumaPrefix)) {
    PrefixedPlane luma;
    if (!readPrefix(at, videoEnd, luma)) return false;
    at = luma.data;
    lumaEnd = chromaStart = luma.next;
  }
  const PlaneDecodeResult luma = MovraPlaneDecode(reader.planes[target], reader.planes[previous], width, height,
                                                  reader.luma_pitch, at, lumaEnd, reader.bundle_buffers, decodeFlags);
  if (!luma.ok) return false;
  if (reader.video_flags & kVideoGrey) return true;
  if (!chromaStart) chromaStart = luma.next;

  const std::uint64_t lumaBytes = std::uint64_t{reader.luma_pitch} * reader.luma_rows;
  const std::uint64_t chromaBytes = std::uint64_t{reader.chroma_pitch} * reader.chroma_rows;
  at = chromaStart;
  for (std::uint64_t plane = 0; plane < 2; ++plane) {
    const std::uint64_t offset = lumaBytes + plane * chromaBytes;
    const PlaneDecodeResult chroma =
        MovraPlaneDecode(reader.planes[target] + offset, reader.planes[previous] + offset, reader.chroma_pitch,
                         reader.chroma_rows, reader.chroma_pitch, at, videoEnd, reader.bundle_buffers, decodeFlags);
    if (!chroma.ok) return false;
    at = chroma.next;
  }
  return true;
}

}  // namespace zet
