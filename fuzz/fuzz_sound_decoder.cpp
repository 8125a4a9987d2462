// Raw sound packets through the sound decoder. The first four bytes choose
// the stream (rate in the first two, channel count 0 .. 3, variant), so that
// refused streams are tried too; the rest is decoded block after block, as
// the track reader does with a packet, until a block does not fit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "sound_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::uint32_t rate = std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8;
  const std::uint32_t channels = data[2] & 3u;
  const bool dct = (data[3] & 1u) != 0;
  zet::MovraAudioDecoder* decoder = zet::MovraAudioOpen(rate, channels, dct);
  if (decoder == nullptr) return 0;

  const std::uint8_t* next = data + 4;
  const std::uint8_t* end = data + size;
  const std::uint32_t blockBytes = zet::MovraAudioBlockBytes(decoder);
  while (next < end) {
    const zet::MovraAudioBlock block = zet::MovraAudioDecodeBlock(decoder, next, end);
    if (!block.ok) break;
    // Every block moves on and stays inside the packet, and yields a whole block.
    if (block.next <= next || block.next > end || block.bytes != blockBytes) std::abort();
    next = block.next;
  }
  zet::MovraAudioClose(decoder);
  return 0;
}
