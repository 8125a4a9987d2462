// The sound encoder as the file writer uses it: it hands out its input
// window, codes one block of 16-bit PCM from it, and says how many decoded
// bytes that block yields. One encoder per coded track.
#pragma once

#include <cstdint>

namespace movra {

class SoundBlockEncoder {
 public:
  virtual ~SoundBlockEncoder() = default;

  struct InputWindow {
    std::uint8_t* buffer = nullptr;
    std::uint32_t bytes = 0;  // the whole block first, then the block less the overlap kept
  };
  virtual InputWindow inputWindow() = 0;

  struct CodedBlock {
    const std::uint8_t* bytes = nullptr;
    std::uint32_t size = 0;          // compressed bytes, a multiple of 4
    std::uint32_t decodedBytes = 0;  // PCM bytes the block yields
  };
  // Codes the `delivered` bytes just stored in the input window.
  virtual CodedBlock encode(std::uint32_t delivered, std::uint32_t quality) = 0;
};

// Null when the encoder cannot be made (memory). The result is released
// with releaseSoundBlockEncoder.
SoundBlockEncoder* createSoundBlockEncoder(std::uint32_t sampleRate, std::uint32_t channels,
                                           bool dctCoding);
void releaseSoundBlockEncoder(SoundBlockEncoder* encoder);

}  // namespace movra
