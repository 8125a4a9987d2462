// Bitmap file reading and writing of FalquiImageClass. Every header value is
// checked against the bounds below and against the file's size before it
// sizes or indexes anything.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "falqui_image.h"
#include "file_bytes.h"
#include "platform/file.h"

namespace varnel {

namespace {

constexpr std::uint32_t kHeadersBytes = kFileHeaderBytes + kInfoHeaderBytes;

std::uint16_t read16(const unsigned char* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::uint32_t read32(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
         (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

void put16(std::string& out, std::uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

void put32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

std::uint32_t paddedRowBytes(std::int32_t width, std::uint16_t bitCount) {
  const std::uint32_t bytes = static_cast<std::uint32_t>(width) * (bitCount / 8u);
  return (bytes + 3u) & ~3u;
}

struct OpenedFile {
  explicit OpenedFile(const std::string& path) : handle(platform::openFile(path.c_str(), {})) {}
  ~OpenedFile() {
    if (handle != platform::kInvalidFile) platform::closeFile(handle);
  }
  OpenedFile(const OpenedFile&) = delete;
  OpenedFile& operator=(const OpenedFile&) = delete;

  bool readAt(std::uint64_t position, void* destination, std::size_t count) const {
    return platform::seekFile(handle, position) &&
           platform::readFile(handle, destination, count) == static_cast<std::int64_t>(count);
  }

  platform::FileHandle handle;
};

}  // namespace

Status FalquiImageClass::LoadBMP(const std::string& sLoadPath) {
  const std::string path = sLoadPath.empty() ? loadPath_ : sLoadPath;
  loadPath_ = path;
  const std::string quoted = "\"" + path + "\"";
  if (!platform::isRegularFile(path.c_str())) return Status::failure(quoted + " does not exist.");
  OpenedFile file(path);
  const std::optional<std::uint64_t> fileBytes =
      file.handle == platform::kInvalidFile ? std::nullopt : platform::fileSize(file.handle);
  if (!fileBytes) return Status::failure(quoted + " cannot be read.");

  unsigned char headers[kHeadersBytes];
  if (*fileBytes < kHeadersBytes || !file.readAt(0, headers, kHeadersBytes)) {
    return Status::failure(quoted + " is not a bitmap file: it is too short.");
  }
  BitmapFileHeader fileHeader;
  fileHeader.Type = {static_cast<char>(headers[0]), static_cast<char>(headers[1])};
  fileHeader.FileSize = read32(headers + 2);
  fileHeader.Reserved1 = read16(headers + 6);
  fileHeader.Reserved2 = read16(headers + 8);
  fileHeader.PixelDataOffset = read32(headers + 10);
  const unsigned char* info = headers + kFileHeaderBytes;
  BitmapInfoHeader infoHeader;
  infoHeader.HeaderSize = read32(info);
  infoHeader.Width = static_cast<std::int32_t>(read32(info + 4));
  infoHeader.Height = static_cast<std::int32_t>(read32(info + 8));
  infoHeader.Planes = read16(info + 12);
  infoHeader.BitCount = read16(info + 14);
  infoHeader.Compression = read32(info + 16);
  infoHeader.ImageSize = read32(info + 20);
  infoHeader.XPelsPerMeter = static_cast<std::int32_t>(read32(info + 24));
  infoHeader.YPelsPerMeter = static_cast<std::int32_t>(read32(info + 28));
  infoHeader.ColorsUsed = read32(info + 32);
  infoHeader.ColorsImportant = read32(info + 36);

  if (fileHeader.Type[0] != 'B' || fileHeader.Type[1] != 'M' || infoHeader.HeaderSize != kInfoHeaderBytes) {
    return Status::failure(quoted + " is not a bitmap file with the usual 40-byte header.");
  }
  if (infoHeader.BitCount != 8 && infoHeader.BitCount != 24) {
    return Status::failure(quoted + " has " + std::to_string(infoHeader.BitCount) +
                           " bits per pixel; only 8-bit and 24-bit bitmaps can be read.");
  }
  if (infoHeader.Compression != 0) return Status::failure(quoted + " is compressed; only plain bitmaps can be read.");
  if (infoHeader.Width < 1 || infoHeader.Width > kMaxImageDimension || infoHeader.Height < 1 ||
      infoHeader.Height > kMaxImageDimension) {
    return Status::failure(quoted + " has a size of " + std::to_string(infoHeader.Width) + " x " +
                           std::to_string(infoHeader.Height) +
                           "; bitmaps are read bottom-up with sides of 1 to 16384 pixels.");
  }
  if (fileHeader.PixelDataOffset < kHeadersBytes) {
    return Status::failure(quoted + " puts its pixels inside its headers.");
  }

  Palette palette(infoHeader.BitCount == 8 ? kPaletteSize : 1);
  std::int16_t paletteCount = 0;
  if (infoHeader.BitCount == 8) {
    // The palette fills the gap between the headers and the pixels, 4 bytes an entry.
    const double entries = std::nearbyint((fileHeader.PixelDataOffset - kHeadersBytes) / 4.0);
    if (entries > kPaletteSize) {
      return Status::failure(quoted + " claims a palette of more than 256 entries.");
    }
    paletteCount = static_cast<std::int16_t>(entries);
    std::vector<unsigned char> entryBytes(static_cast<std::size_t>(paletteCount) * 4);
    if (!file.readAt(kHeadersBytes, entryBytes.data(), entryBytes.size())) {
      return Status::failure(quoted + " is truncated inside its palette.");
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(paletteCount); ++i) {
      palette[i] = PaletteEntry{entryBytes[4 * i], entryBytes[4 * i + 1], entryBytes[4 * i + 2]};
    }
  }

  const std::uint32_t rowBytes = paddedRowBytes(infoHeader.Width, infoHeader.BitCount);
  const std::uint64_t pixelBytes = static_cast<std::uint64_t>(rowBytes) * static_cast<std::uint64_t>(infoHeader.Height);
  if (fileHeader.PixelDataOffset + pixelBytes > *fileBytes) {
    return Status::failure(quoted + " is truncated: its pixel rows end after the end of the file.");
  }
  std::vector<unsigned char> rows(static_cast<std::size_t>(pixelBytes));
  if (!file.readAt(fileHeader.PixelDataOffset, rows.data(), rows.size())) {
    return Status::failure(quoted + " cannot be read.");
  }

  const auto width = static_cast<std::size_t>(infoHeader.Width);
  const auto height = static_cast<std::size_t>(infoHeader.Height);
  std::vector<ImageColor> pixels(width * height);
  for (std::size_t row = 0; row < height; ++row) {
    // Rows are stored from the bottom of the picture up.
    const unsigned char* source = rows.data() + row * rowBytes;
    ImageColor* destination = pixels.data() + (height - 1 - row) * width;
    for (std::size_t x = 0; x < width; ++x) {
      if (infoHeader.BitCount == 8) {
        const PaletteEntry& entry = palette[source[x]];
        destination[x] = ImageColor{entry.Blue, entry.Green, entry.Red, source[x]};
      } else {
        destination[x] = ImageColor{source[3 * x], source[3 * x + 1], source[3 * x + 2], -1};
      }
    }
  }

  fileHeader_ = fileHeader;
  infoHeader_ = infoHeader;
  palette_ = std::move(palette);
  paletteCount_ = paletteCount;
  pixels_ = std::move(pixels);
  const PaletteEntry& first = palette_.front();
  backgroundColor_ = ImageColor{first.Blue, first.Green, first.Red, 0};
  transparentColor_ = backgroundColor_;
  pixelsChanged();
  return Status::success();
}

Status FalquiImageClass::SaveBMP(const std::string& sSavePath) {
  if (!sSavePath.empty()) savePath_ = sSavePath;
  if (savePath_.empty()) return Status::failure("No file name was given for the bitmap.");
  const std::string quoted = "\"" + savePath_ + "\"";
  const bool indexed = bitCount() == 8;
  if (indexed && std::any_of(pixels_.begin(), pixels_.end(),
                             [](const ImageColor& pixel) { return pixel.Index < 0 || pixel.Index > 255; })) {
    return Status::failure(quoted + " cannot be written as an 8-bit bitmap: some pixels have no palette index.");
  }

  const std::uint32_t rowBytes = paddedRowBytes(width(), bitCount());
  fileHeader_.PixelDataOffset = kHeadersBytes + (indexed ? 4u * kPaletteSize : 0u);
  infoHeader_.ImageSize = rowBytes * static_cast<std::uint32_t>(height());
  fileHeader_.FileSize = fileHeader_.PixelDataOffset + infoHeader_.ImageSize;

  std::string out;
  out.reserve(fileHeader_.FileSize);
  out += fileHeader_.Type[0];
  out += fileHeader_.Type[1];
  put32(out, fileHeader_.FileSize);
  put16(out, fileHeader_.Reserved1);
  put16(out, fileHeader_.Reserved2);
  put32(out, fileHeader_.PixelDataOffset);
  put32(out, kInfoHeaderBytes);
  put32(out, static_cast<std::uint32_t>(infoHeader_.Width));
  put32(out, static_cast<std::uint32_t>(infoHeader_.Height));
  put16(out, infoHeader_.Planes);
  put16(out, infoHeader_.BitCount);
  put32(out, infoHeader_.Compression);
  put32(out, infoHeader_.ImageSize);
  put32(out, static_cast<std::uint32_t>(infoHeader_.XPelsPerMeter));
  put32(out, static_cast<std::uint32_t>(infoHeader_.YPelsPerMeter));
  put32(out, infoHeader_.ColorsUsed);
  put32(out, infoHeader_.ColorsImportant);
  if (indexed) {
    for (int i = 0; i < kPaletteSize; ++i) {
      const PaletteEntry& entry = palette_[static_cast<std::size_t>(i)];
      out += static_cast<char>(entry.Blue);
      out += static_cast<char>(entry.Green);
      out += static_cast<char>(entry.Red);
      out += '\0';
    }
  }
  const std::uint32_t usedRowBytes = static_cast<std::uint32_t>(width()) * (indexed ? 1u : 3u);
  for (std::int32_t y = height() - 1; y >= 0; --y) {
    for (std::int32_t x = 0; x < width(); ++x) {
      const ImageColor& pixel = pixels_[offsetOf(x, y)];
      if (indexed) {
        out += static_cast<char>(pixel.Index);
      } else {
        out += static_cast<char>(pixel.Blue);
        out += static_cast<char>(pixel.Green);
        out += static_cast<char>(pixel.Red);
      }
    }
    out.append(rowBytes - usedRowBytes, '\0');
  }
  return replaceFile(savePath_, out);
}

}  // namespace varnel
