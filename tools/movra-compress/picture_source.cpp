#include "picture_source.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

namespace movra::compress {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::uint8_t clampByte(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

// Studio-range BT.601: Y in 16..235, chroma in 16..240 around 128.
void yuvToBgra(int y, int cb, int cr, std::uint8_t* out) {
  const int c = 298 * (y - 16), d = cb - 128, e = cr - 128;
  out[0] = clampByte((c + 516 * d + 128) >> 8);
  out[1] = clampByte((c - 100 * d - 208 * e + 128) >> 8);
  out[2] = clampByte((c + 409 * e + 128) >> 8);
  out[3] = 255;
}

std::uint64_t fileBytes(const std::string& name) {
  struct stat info {};
  return stat(name.c_str(), &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
}

class RawSource : public PictureSource {
 public:
  explicit RawSource(File file) : file_(std::move(file)) {}
  bool next(std::vector<std::uint8_t>& pixels) override {
    pixels.resize(std::size_t{width} * height * 4);
    return std::fread(pixels.data(), 1, pixels.size(), file_.get()) == pixels.size();
  }

 private:
  File file_;
};

class Y4mSource : public PictureSource {
 public:
  Y4mSource(File file, bool fullChroma) : file_(std::move(file)), fullChroma_(fullChroma) {}

  std::size_t chromaWidth() const { return fullChroma_ ? width : (width + 1) / 2; }
  std::size_t chromaHeight() const { return fullChroma_ ? height : (height + 1) / 2; }
  std::size_t frameBytes() const { return std::size_t{width} * height + 2 * chromaWidth() * chromaHeight(); }

  bool next(std::vector<std::uint8_t>& pixels) override {
    char line[256];
    if (!std::fgets(line, sizeof line, file_.get()) || std::strncmp(line, "FRAME", 5) != 0) return false;
    planes_.resize(frameBytes());
    if (std::fread(planes_.data(), 1, planes_.size(), file_.get()) != planes_.size()) return false;
    const std::uint8_t* luma = planes_.data();
    const std::uint8_t* cb = luma + std::size_t{width} * height;
    const std::uint8_t* cr = cb + chromaWidth() * chromaHeight();
    pixels.resize(std::size_t{width} * height * 4);
    for (std::uint32_t y = 0; y < height; ++y) {
      for (std::uint32_t x = 0; x < width; ++x) {
        const std::size_t c = fullChroma_ ? std::size_t{y} * width + x : (y / 2) * chromaWidth() + x / 2;
        yuvToBgra(luma[std::size_t{y} * width + x], cb[c], cr[c], &pixels[(std::size_t{y} * width + x) * 4]);
      }
    }
    return true;
  }

 private:
  File file_;
  bool fullChroma_;
  std::vector<std::uint8_t> planes_;
};

bool endsWith(const std::string& text, const char* tail) {
  const std::size_t length = std::strlen(tail);
  return text.size() >= length && text.compare(text.size() - length, length, tail) == 0;
}

std::unique_ptr<PictureSource> openY4m(File file, const std::string& name, std::string& error) {
  char header[1024];
  if (!std::fgets(header, sizeof header, file.get()) || std::strncmp(header, "YUV4MPEG2 ", 10) != 0) {
    error = "not a YUV4MPEG2 file";
    return nullptr;
  }
  std::uint32_t width = 0, height = 0, rateNum = 0, rateDiv = 0;
  bool fullChroma = false;
  for (char* field = std::strtok(header + 10, " \n"); field; field = std::strtok(nullptr, " \n")) {
    if (field[0] == 'W') width = static_cast<std::uint32_t>(std::strtoul(field + 1, nullptr, 10));
    if (field[0] == 'H') height = static_cast<std::uint32_t>(std::strtoul(field + 1, nullptr, 10));
    if (field[0] == 'F') std::sscanf(field + 1, "%u:%u", &rateNum, &rateDiv);
    if (field[0] == 'C') {
      if (std::strncmp(field, "C444", 4) == 0 && std::strcmp(field, "C444alpha") != 0) {
        fullChroma = true;
      } else if (std::strncmp(field, "C420", 4) != 0) {
        error = std::string("unsupported colour space ") + field + " (4:2:0 and 4:4:4, 8-bit, are read)";
        return nullptr;
      }
    }
  }
  if (width == 0 || height == 0 || rateNum == 0 || rateDiv == 0) {
    error = "the YUV4MPEG2 header lacks a size or a frame rate";
    return nullptr;
  }
  const long headerEnd = std::ftell(file.get());
  auto source = std::make_unique<Y4mSource>(std::move(file), fullChroma);
  source->width = width;
  source->height = height;
  source->rateNum = rateNum;
  source->rateDiv = rateDiv;
  // Frames are "FRAME" + parameters + a line end, then the planes; the
  // usual plain "FRAME\n" gives the count.
  source->frames = static_cast<std::uint32_t>((fileBytes(name) - static_cast<std::uint64_t>(headerEnd)) /
                                              (source->frameBytes() + 6));
  return source;
}

}  // namespace

std::unique_ptr<PictureSource> openPictureSource(const std::string& name, const RawFormat& raw,
                                                 std::string& error) {
  File file(std::fopen(name.c_str(), "rb"));
  if (!file) {
    error = "cannot open " + name;
    return nullptr;
  }
  if (endsWith(name, ".y4m")) return openY4m(std::move(file), name, error);
  if (raw.width == 0 || raw.height == 0 || raw.rateNum == 0 || raw.rateDiv == 0) {
    error = "raw input needs --size and --rate";
    return nullptr;
  }
  auto source = std::make_unique<RawSource>(std::move(file));
  source->width = raw.width;
  source->height = raw.height;
  source->rateNum = raw.rateNum;
  source->rateDiv = raw.rateDiv;
  source->frames = static_cast<std::uint32_t>(fileBytes(name) / (std::uint64_t{raw.width} * raw.height * 4));
  return source;
}

}  // namespace movra::compress
