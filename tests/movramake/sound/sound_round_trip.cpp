#include "sound_round_trip.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "sound_decoder.h"
#include "sound_encoder.h"

namespace movra::testing {

std::vector<CodedSoundBlock> codeSound(const std::vector<std::int16_t>& input, std::uint32_t rate,
                                       std::uint32_t channels, bool dct, std::uint32_t quality) {
  std::vector<CodedSoundBlock> blocks;
  MovraSoundEncoder* encoder = createSoundEncoder(rate, channels, dct);
  std::size_t next = 0;
  std::uint64_t decodedBytes = 0;
  while (decodedBytes < input.size() * 2) {
    const SoundInputWindow window = soundEncoderInputWindow(encoder);
    const std::size_t take = std::min<std::size_t>(window.bytes / 2, input.size() - next);
    for (std::size_t i = 0; i < take; ++i) {
      const auto sample = static_cast<std::uint16_t>(input[next + i]);
      window.buffer[2 * i] = static_cast<std::uint8_t>(sample);
      window.buffer[2 * i + 1] = static_cast<std::uint8_t>(sample >> 8);
    }
    next += take;
    const SoundCodedBlock block =
        encodeSoundBlock(encoder, static_cast<std::uint32_t>(2 * take), quality);
    if (block.decodedBytes == 0) break;
    blocks.push_back({{block.bytes, block.bytes + block.size}, block.decodedBytes});
    decodedBytes += block.decodedBytes;
  }
  releaseSoundEncoder(encoder);
  return blocks;
}

RoundTrip roundTrip(const std::vector<std::int16_t>& input, std::uint32_t rate,
                    std::uint32_t channels, bool dct, std::uint32_t quality) {
  RoundTrip result;
  zet::MovraAudioDecoder* decoder = zet::MovraAudioOpen(rate, channels, dct);
  for (const CodedSoundBlock& block : codeSound(input, rate, channels, dct, quality)) {
    const std::uint8_t* end = block.bytes.data() + block.bytes.size();
    const zet::MovraAudioBlock decoded =
        zet::MovraAudioDecodeBlock(decoder, block.bytes.data(), end);
    if (!decoded.ok || decoded.next != end) {
      result.decodable = false;
      break;
    }
    const std::uint32_t samples = std::min(block.decodedBytes, decoded.bytes) / 2;
    result.output.insert(result.output.end(), decoded.samples, decoded.samples + samples);
  }
  if (result.output.size() != input.size()) result.decodable = false;
  zet::MovraAudioClose(decoder);
  return result;
}

std::vector<std::string> soundPackets(const std::vector<CodedSoundBlock>& blocks,
                                      std::size_t blocksPerPacket) {
  std::vector<std::string> packets;
  for (std::size_t first = 0; first < blocks.size(); first += blocksPerPacket) {
    const std::size_t end = std::min(blocks.size(), first + blocksPerPacket);
    std::uint32_t decoded = 0;
    std::string coded;
    for (std::size_t b = first; b < end; ++b) {
      decoded += blocks[b].decodedBytes;
      coded.append(blocks[b].bytes.begin(), blocks[b].bytes.end());
    }
    std::string packet;
    for (int i = 0; i < 4; ++i) packet += static_cast<char>(decoded >> (8 * i) & 0xFF);
    packets.push_back(packet + coded);
  }
  return packets;
}

double signalToNoise(const std::vector<std::int16_t>& reference,
                     const std::vector<std::int16_t>& decoded) {
  double signal = 0, noise = 0;
  for (std::size_t i = 0; i < reference.size(); ++i) {
    const double s = reference[i];
    const double e = s - (i < decoded.size() ? decoded[i] : 0);
    signal += s * s;
    noise += e * e;
  }
  if (noise == 0) return std::numeric_limits<double>::infinity();
  return 10 * std::log10(signal / noise);
}

}  // namespace movra::testing
