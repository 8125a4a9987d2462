// Writes the seed inputs of the reader's fuzz target: small valid movies of
// every version letter, grey and alpha pictures, a scale mode, a sound
// track, key and inter frames of mixed block types.
//   make_reader_fuzz_seeds FOLDER
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "coded_planes.h"
#include "movra_test_file.h"
#include "plane_stream_writer.h"
#include "random_blocks.h"

namespace {

using namespace zet::testing;

// The older colour form has no code for 0, which random blocks may hold:
// those versions get raw pictures of 1..255 and unchanged inter frames.
std::vector<std::uint8_t> randomPlane(std::uint32_t width, std::uint32_t height, bool key, bool older,
                                      std::mt19937& random) {
  if (older) {
    if (!key) return skipPlane(width, height);
    return rawPlane(width, height, [&](auto, auto) { return static_cast<std::uint8_t>(1 + random() % 255); }, true);
  }
  PlaneStreamWriter writer(width, height);
  for (const CodedBlock& block : randomPlaneBlocks(width, height, key ? keyFrameMix() : interFrameMix(), random)) {
    writer.add(block);
  }
  return writer.finish();
}

struct Seed {
  const char* name;
  char version;
  std::uint32_t width, height, videoFlags;
  bool track;
};

std::uint32_t roundUp8(std::uint32_t value) { return (value + 7) / 8 * 8; }

std::string movieFor(const Seed& seed, std::mt19937& random) {
  TestMovie movie;
  movie.version = seed.version;
  movie.width = seed.width;
  movie.height = seed.height;
  movie.videoFlags = seed.videoFlags;
  if (seed.track) movie.tracks = {{64, 22050 | 0x10000000, 1}};
  const bool older = seed.version != 'i';
  const bool grey = seed.videoFlags & 0x00020000;
  const bool alpha = seed.videoFlags & 0x00100000;
  const std::uint32_t lumaWidth = roundUp8(seed.width), lumaHeight = roundUp8(seed.height);
  const std::uint32_t chromaWidth = roundUp8((seed.width + 1) / 2), chromaHeight = roundUp8((seed.height + 1) / 2);
  for (int frame = 0; frame < 3; ++frame) {
    const bool key = frame != 1;
    const auto luma = randomPlane(lumaWidth, lumaHeight, key, older, random);
    const auto cr = grey ? std::vector<std::uint8_t>() : randomPlane(chromaWidth, chromaHeight, key, older, random);
    const auto cb = grey ? std::vector<std::uint8_t>() : randomPlane(chromaWidth, chromaHeight, key, older, random);
    const auto alphaPlane = alpha ? randomPlane(lumaWidth, lumaHeight, key, older, random) : std::vector<std::uint8_t>();
    TestFrame packet{{}, videoData(luma, cr, cb, seed.version == 'i', alpha ? &alphaPlane : nullptr), key};
    if (seed.track) packet.sound = {std::string(frame == 1 ? 0 : 12, 'a')};
    movie.frames.push_back(packet);
  }
  return buildMovraFile(movie);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: make_reader_fuzz_seeds FOLDER\n", stderr);
    return 1;
  }
  const Seed seeds[] = {
      {"version-i.mvr", 'i', 16, 16, 0, true},
      {"version-h-odd-size.mvr", 'h', 21, 11, 0, false},
      {"version-f.mvr", 'f', 16, 8, 0, false},
      {"grey.mvr", 'i', 24, 8, 0x00020000, false},
      {"alpha-scaled.mvr", 'i', 16, 16, 0x00100000 | 4u << 28, true},
  };
  std::mt19937 random(20261211);
  for (const Seed& seed : seeds) {
    const std::string path = std::string(argv[1]) + "/" + seed.name;
    const std::string bytes = movieFor(seed, random);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
