#include "yuv_blit.h"

#include <cstring>

#include "picture_geometry.h"
#include "yuv_row_converter.h"

namespace zet {
namespace {

std::uint32_t scaleMode(std::uint32_t flags) {
  const std::uint32_t mode = (flags >> 28) & 7;
  return mode == 7 ? 0 : mode;
}

// Which source lines a scale mode converts and where they go.
struct LinePlan {
  std::size_t firstRow = 0;
  std::size_t count = 0;
  std::size_t rowStep = 1;          // between converted source lines
  std::size_t destinationStep = 1;  // destination lines per converted line
  bool repeatLine = false;          // the line below gets a copy
  bool doubleWidth = false;
};

LinePlan linePlan(const YuvRect& source, std::uint32_t mode) {
  LinePlan plan;
  plan.firstRow = source.y;
  plan.count = source.height;
  plan.doubleWidth = scaleModeDoublesWidth(mode);
  // Doubled heights and the field display step two destination lines per
  // converted line.
  plan.destinationStep = scaleModeDoublesHeight(mode) || mode == 6 ? 2 : 1;
  plan.repeatLine = mode == 1 || mode == 4;
  if (mode == 6) {
    // Field display: the even lines of the rectangle (half its rows, from
    // the even line at or above its top) go to every other destination line.
    plan.firstRow = source.y / 2 * 2;
    plan.count = source.height / 2;
    plan.rowStep = 2;
  }
  return plan;
}

class Blitter {
 public:
  Blitter(std::uint8_t* destination, std::ptrdiff_t pitch, const YuvPicture& picture, const YuvRect& source,
          std::uint32_t flags)
      : destination_(destination), pitch_(pitch), picture_(picture), source_(source) {
    plan_ = linePlan(source, scaleMode(flags));
    redBlueSwapped_ = (flags & kYuvOlderColourLayout) != 0;
    if (flags & kYuvGrey) {
      convert_ = convertGreyRows;
    } else {
      convert_ = flags & kYuvPlainOnly ? convertColourRowsPlain : bestColourRowsConverter();
    }
  }

  void run() {
    std::size_t k = 0;
    while (k < plan_.count) {
      const std::size_t row = plan_.firstRow + k * plan_.rowStep;
      // Lines that share a chroma line are converted together.
      const std::size_t lines = plan_.rowStep == 1 && row % 2 == 0 && k + 1 < plan_.count ? 2 : 1;
      YuvRows rows;
      rows.lines = lines;
      for (std::size_t line = 0; line < lines; ++line) {
        rows.destination[line] = destinationLine(k + line);
        rows.luma[line] = picture_.luma + (row + line) * picture_.pitch;
        if (picture_.alpha) rows.alpha[line] = picture_.alpha + (row + line) * picture_.pitch;
      }
      const std::size_t chromaRow = row / 2 * (picture_.pitch / 2);
      rows.cr = picture_.cr + chromaRow;
      rows.cb = picture_.cb + chromaRow;
      convertLines(rows);
      if (plan_.repeatLine) {
        for (std::size_t line = 0; line < lines; ++line) {
          std::memcpy(rows.destination[line] + pitch_, rows.destination[line], lineBytes());
        }
      }
      k += lines;
    }
  }

 private:
  std::uint8_t* destinationLine(std::size_t converted) const {
    return destination_ + static_cast<std::ptrdiff_t>(converted * plan_.destinationStep) * pitch_;
  }

  std::size_t pixelBytes() const { return plan_.doubleWidth ? 8 : 4; }
  std::size_t lineBytes() const { return source_.width * pixelBytes(); }

  // `rows` points at the start of the lines (pixel 0, chroma sample 0).
  void convertLines(YuvRows rows) const {
    rows.redBlueSwapped = redBlueSwapped_;
    rows.doubleWidth = plan_.doubleWidth;
    rows.pixels = source_.width;
    const std::size_t x = source_.x;
    for (std::size_t line = 0; line < rows.lines; ++line) {
      rows.luma[line] += x;
      if (rows.alpha[line]) rows.alpha[line] += x;
    }
    rows.cr += x / 2;
    rows.cb += x / 2;
    if (x % 2 == 1) {
      // An odd first pixel is the second of its pair: it is converted
      // alone, and the rest starts on a pair with the next chroma sample.
      YuvRows first = rows;
      first.pixels = 1;
      convert_(first);
      for (std::size_t line = 0; line < rows.lines; ++line) {
        rows.destination[line] += pixelBytes();
        ++rows.luma[line];
        if (rows.alpha[line]) ++rows.alpha[line];
      }
      ++rows.cr;
      ++rows.cb;
      --rows.pixels;
    }
    if (rows.pixels > 0) convert_(rows);
  }

  std::uint8_t* destination_;
  std::ptrdiff_t pitch_;
  const YuvPicture& picture_;
  YuvRect source_;
  LinePlan plan_;
  bool redBlueSwapped_ = false;
  YuvRowsConverter convert_ = nullptr;
};

}  // namespace

YuvRect scaledDestination(const YuvRect& source, std::uint32_t flags) {
  const std::uint32_t mode = scaleMode(flags);
  YuvRect destination = source;
  if (scaleModeDoublesWidth(mode)) destination.width *= 2;
  if (scaleModeDoublesHeight(mode)) destination.height *= 2;
  return destination;
}

void yuvBlit(std::uint8_t* destination, std::ptrdiff_t destinationPitch, const YuvPicture& picture,
             const YuvRect& source, std::uint32_t flags) {
  if (source.width == 0 || source.height == 0) return;
  Blitter(destination, destinationPitch, picture, source, flags).run();
}

}  // namespace zet
