// Codes 16-bit PCM with the sound encoder and decodes every block again, as
// a player reads the packets of a track; and packs coded blocks into the
// sound packets of a house video file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace movra::testing {

struct CodedSoundBlock {
  std::vector<std::uint8_t> bytes;
  std::uint32_t decodedBytes = 0;
};

// The blocks of all of `input`, the last one carrying the overlap the one
// before kept.
std::vector<CodedSoundBlock> codeSound(const std::vector<std::int16_t>& input, std::uint32_t rate,
                                       std::uint32_t channels, bool dct, std::uint32_t quality);

struct RoundTrip {
  bool decodable = true;             // every block decoded and ended where it was said to
  std::vector<std::int16_t> output;  // the decoded samples, as many as went in when decodable
};

RoundTrip roundTrip(const std::vector<std::int16_t>& input, std::uint32_t rate,
                    std::uint32_t channels, bool dct, std::uint32_t quality);

// Sound packets of `blocksPerPacket` blocks each (the last may have fewer):
// the decoded size they yield, then the blocks.
std::vector<std::string> soundPackets(const std::vector<CodedSoundBlock>& blocks,
                                      std::size_t blocksPerPacket);

// 10 log10 of signal energy over error energy; +infinity for no error.
double signalToNoise(const std::vector<std::int16_t>& reference,
                     const std::vector<std::int16_t>& decoded);

}  // namespace movra::testing
