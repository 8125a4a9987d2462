// 16-bit PCM sound from a WAV file, handed out through the encoder's sound
// callback.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace movra::compress {

class WavSource {
 public:
  ~WavSource();
  // False with `error` set when the file is not 16-bit PCM WAV.
  bool open(const std::string& name, std::string& error);

  std::uint32_t sampleRate() const { return sampleRate_; }
  std::uint32_t channels() const { return channels_; }
  // Up to `bytes` bytes of samples; fewer at the end of the data.
  std::uint32_t read(void* buffer, std::uint32_t bytes);

 private:
  std::FILE* file_ = nullptr;
  std::uint32_t sampleRate_ = 0;
  std::uint32_t channels_ = 0;
  std::uint64_t left_ = 0;  // bytes of the data chunk not yet read
};

}  // namespace movra::compress
