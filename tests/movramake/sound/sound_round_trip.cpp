#include "sound_round_trip.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "sound_decoder.h"
#include "sound_encoder.h"

namespace movra::testing {

RoundTrip roundTrip(const std::vector<std::int16_t>& input, std::uint32_t rate,
                    std::uint32_t channels, bool dct, std::uint32_t quality) {
  RoundTrip result;
  MovraSoundEncoder* encoder = createSoundEncoder(rate, channels, dct);
  zet::MovraAudioDecoder* decoder = zet::MovraAudioOpen(rate, channels, dct);
  std::size_t next = 0;
  while (result.output.size() < input.size()) {
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
    const zet::MovraAudioBlock decoded =
        zet::MovraAudioDecodeBlock(decoder, block.bytes, block.bytes + block.size);
    if (!decoded.ok || decoded.next != block.bytes + block.size || block.decodedBytes == 0) {
      result.decodable = false;
      break;
    }
    const std::uint32_t samples = std::min(block.decodedBytes, decoded.bytes) / 2;
    result.output.insert(result.output.end(), decoded.samples, decoded.samples + samples);
  }
  zet::MovraAudioClose(decoder);
  releaseSoundEncoder(encoder);
  return result;
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
