#include "wav_source.h"

#include <algorithm>
#include <cstring>

namespace movra::compress {
namespace {

std::uint32_t littleEndian(const unsigned char* bytes, unsigned count) {
  std::uint32_t value = 0;
  for (unsigned i = count; i-- > 0;) value = (value << 8) | bytes[i];
  return value;
}

}  // namespace

WavSource::~WavSource() {
  if (file_) std::fclose(file_);
}

bool WavSource::open(const std::string& name, std::string& error) {
  file_ = std::fopen(name.c_str(), "rb");
  unsigned char riff[12];
  if (!file_ || std::fread(riff, 1, 12, file_) != 12 || std::memcmp(riff, "RIFF", 4) != 0 ||
      std::memcmp(riff + 8, "WAVE", 4) != 0) {
    error = "not a WAV file: " + name;
    return false;
  }
  bool haveFormat = false;
  unsigned char chunk[8];
  while (std::fread(chunk, 1, 8, file_) == 8) {
    const std::uint32_t size = littleEndian(chunk + 4, 4);
    if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
      unsigned char format[16];
      if (std::fread(format, 1, 16, file_) != 16) break;
      if (littleEndian(format, 2) != 1 || littleEndian(format + 14, 2) != 16) {
        error = "the WAV file is not 16-bit PCM";
        return false;
      }
      channels_ = littleEndian(format + 2, 2);
      sampleRate_ = littleEndian(format + 4, 4);
      haveFormat = true;
      std::fseek(file_, static_cast<long>(size - 16 + (size & 1)), SEEK_CUR);
    } else if (std::memcmp(chunk, "data", 4) == 0 && haveFormat) {
      left_ = size;
      return true;
    } else {
      std::fseek(file_, static_cast<long>(size + (size & 1)), SEEK_CUR);
    }
  }
  error = "the WAV file has no sound data";
  return false;
}

std::uint32_t WavSource::read(void* buffer, std::uint32_t bytes) {
  const auto wanted = static_cast<std::uint32_t>(std::min<std::uint64_t>(bytes, left_));
  const std::size_t got = std::fread(buffer, 1, wanted, file_);
  left_ -= got;
  return static_cast<std::uint32_t>(got);
}

}  // namespace movra::compress
