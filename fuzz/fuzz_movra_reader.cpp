// House video files of any shape: open, decode every frame and copy each
// picture in both bitmap orientations, with and without alpha. The reader
// opens files by name, so each input is written to a file first.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "movra_reader.h"
#include "platform/file.h"

namespace {

// Inputs whose header asks for large pictures or many frames are cut down
// before the reader sees them, so that each run stays fast; the checks of
// large values are the same code as of small ones.
constexpr std::uint32_t kLargestSide = 256;
constexpr std::uint32_t kMostFrames = 64;

std::uint32_t field(const std::uint8_t* data, std::size_t offset) {
  return std::uint32_t{data[offset]} | std::uint32_t{data[offset + 1]} << 8 | std::uint32_t{data[offset + 2]} << 16 |
         std::uint32_t{data[offset + 3]} << 24;
}

// One file per fuzzing process, removed when the process ends.
struct InputFile {
  std::string name = platform::temporaryFolder() + "fuzz_movra_reader." + std::to_string(getpid()) + ".mvr";
  ~InputFile() { platform::deleteFile(name.c_str()); }
};

const std::string& inputName() {
  static const InputFile file;
  return file.name;
}

void copyPicture(zet::MovraReader* reader, std::uint32_t format) {
  const std::size_t width = reader->display_width;
  const std::size_t rows = reader->display_height;
  std::vector<std::uint8_t> bitmap(width * rows * 4);
  const auto pitch = static_cast<std::int32_t>(width * 4);
  zet::MovraReaderBlit(reader, bitmap.data(), pitch, static_cast<std::uint32_t>(rows), 0, 0, format);
  zet::MovraReaderBlit(reader, bitmap.data(), -pitch, static_cast<std::uint32_t>(rows), 0, 0, format | 0x00040000);
  zet::MovraReaderBlitRect(reader, bitmap.data(), pitch, static_cast<std::uint32_t>(rows), 1, 1, 1, 1,
                           static_cast<std::uint32_t>(width / 2), static_cast<std::uint32_t>(rows / 2), format);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size >= 44 && (field(data, 20) > kLargestSide || field(data, 24) > kLargestSide)) return 0;
  std::FILE* file = std::fopen(inputName().c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  const std::uint32_t flags = size > 0 && data[size - 1] % 2 == 0 ? 0x08104000 : 0x08304000;
  zet::MovraReader* reader = zet::MovraReaderOpen(inputName().c_str(), flags);
  if (!reader) return 0;
  const std::uint32_t frames = reader->frames < kMostFrames ? reader->frames : kMostFrames;
  for (std::uint32_t frame = 0; frame < frames; ++frame) {
    zet::MovraReaderDecode(reader);
    copyPicture(reader, frame % 2 == 0 ? 5 : 3);
    zet::MovraReaderNext(reader);
  }
  zet::MovraReaderSeek(reader, frames / 2, 1);
  zet::MovraReaderDecode(reader);
  copyPicture(reader, 5);
  zet::MovraReaderClose(reader);
  return 0;
}
