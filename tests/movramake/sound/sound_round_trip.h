// Codes 16-bit PCM with the sound encoder and decodes every block again at
// once, as a player would read the packets of a track.
#pragma once

#include <cstdint>
#include <vector>

namespace movra::testing {

struct RoundTrip {
  bool decodable = true;             // every block decoded and ended where it was said to
  std::vector<std::int16_t> output;  // the decoded samples, as many as went in when decodable
};

RoundTrip roundTrip(const std::vector<std::int16_t>& input, std::uint32_t rate,
                    std::uint32_t channels, bool dct, std::uint32_t quality);

// 10 log10 of signal energy over error energy; +infinity for no error.
double signalToNoise(const std::vector<std::int16_t>& reference,
                     const std::vector<std::int16_t>& decoded);

}  // namespace movra::testing
