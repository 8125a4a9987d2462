#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "coded_planes.h"
#include "expected_pixel.h"
#include "movra_test_file.h"
#include "sound_round_trip.h"
#include "temp_dir.h"
#include "test_signals.h"

namespace {

using zet::testing::TestMovie;

constexpr std::uint32_t kWidth = 16;
constexpr std::uint32_t kHeight = 8;

struct ToolRun {
  int status = -1;
  std::string out, err;
};

class MovraDumpTest : public ::testing::Test {
 protected:
  ToolRun run(const std::string& arguments) {
    const std::string outName = dir_.file("stdout.txt");
    const std::string errName = dir_.file("stderr.txt");
    const std::string command = std::string(MOVRA_DUMP_PATH) + " " + arguments + " >" + outName + " 2>" + errName;
    const int result = std::system(command.c_str());
    return {WIFEXITED(result) ? WEXITSTATUS(result) : -1, zet::testing::readFile(outName),
            zet::testing::readFile(errName)};
  }

  std::uint8_t luma(std::uint32_t x, std::uint32_t y, int frame) const {
    return static_cast<std::uint8_t>(20 + 10 * x + 3 * y + 40 * frame);
  }

  // Two frames of 16 x 8 with flat chroma, an alpha plane of 99 and one
  // sound track.
  std::string writeMovie(std::uint32_t videoFlags = 0x00100000) {
    TestMovie movie;
    movie.width = kWidth;
    movie.height = kHeight;
    movie.rateNum = 15;
    movie.videoFlags = videoFlags;
    movie.tracks = {{1920, 22050 | 0x10000000 | 0x40000000, 42}};
    for (int frame = 0; frame < 2; ++frame) {
      const auto y = zet::testing::rawPlane(16, 8, [&](auto x, auto row) { return luma(x, row, frame); }, false);
      const auto chroma = zet::testing::rawPlane(8, 8, [](auto, auto) { return std::uint8_t{128}; }, false);
      const auto alpha = zet::testing::rawPlane(16, 8, [](auto, auto) { return std::uint8_t{99}; }, false);
      movie.frames.push_back({{std::string(12, 's')},
                              zet::testing::videoData(y, chroma, chroma, true, videoFlags ? &alpha : nullptr),
                              frame == 0});
    }
    const std::string name = dir_.file("movie.mvr");
    bytes_ = buildMovraFile(movie);
    zet::testing::writeFile(name, bytes_);
    return name;
  }

  std::uint32_t pixelAt(const std::string& frames, std::size_t frame, std::size_t x, std::size_t y) const {
    const std::size_t at = frame * frameBytes(kWidth) + (y * kWidth + x) * 4;
    std::uint32_t pixel = 0;
    for (int i = 3; i >= 0; --i) pixel = pixel << 8 | static_cast<unsigned char>(frames[at + static_cast<std::size_t>(i)]);
    return pixel;
  }

  std::size_t frameBytes(std::size_t width, std::size_t rows = kHeight) const { return width * rows * 4; }

  zet::testing::TempDir dir_;
  std::string bytes_;
};

TEST_F(MovraDumpTest, InfoPrintsTheHeaderTracksAndIndexAsJson) {
  const ToolRun result = run("info " + writeMovie());
  ASSERT_EQ(result.status, 0) << result.err;
  for (const char* field :
       {"\"magic\": \"MVRi\"", "\"frames\": 2", "\"width\": 16", "\"height\": 8", "\"rate_num\": 15",
        "\"alpha\": true", "\"grey\": false", "\"scale_mode\": 0", "\"frame_rate\": 15", "\"id\": 42",
        "\"codec\": \"dct\"", "\"sample_rate\": 22050", "\"bits\": 16", "\"channels\": 1", "\"buffer_size\": 1920",
        "\"key_frames\": 1", "\"peak_second_bytes\": "}) {
    EXPECT_NE(result.out.find(field), std::string::npos) << field << " in\n" << result.out;
  }
}

TEST_F(MovraDumpTest, DamagedFileGivesTheReadersMessage) {
  const std::string name = writeMovie();
  bytes_[3] = 'j';
  zet::testing::writeFile(name, bytes_);
  for (const std::string& command : {"info " + name, "video " + name + " " + dir_.file("out.bgra")}) {
    const ToolRun result = run(command);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "movra-dump: Not a Movra file.\n");
    EXPECT_EQ(result.out, "");
  }
  const ToolRun missing = run("info " + dir_.file("absent.mvr"));
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "movra-dump: Error opening file.\n");
}

TEST_F(MovraDumpTest, VideoWritesEveryFrameAsDisplayPixels) {
  const std::string name = writeMovie();
  const std::string out = dir_.file("out.bgra");
  ASSERT_EQ(run("video " + name + " " + out).status, 0);
  const std::string plain = zet::testing::readFile(out);
  ASSERT_EQ(plain.size(), 2 * frameBytes(kWidth));
  for (std::size_t frame = 0; frame < 2; ++frame) {
    for (std::uint32_t y = 0; y < kHeight; ++y) {
      for (std::uint32_t x = 0; x < kWidth; ++x) {
        ASSERT_EQ(pixelAt(plain, frame, x, y),
                  zet::testing::expectedPixel(luma(x, y, static_cast<int>(frame)), 128, 128, 0, false, false));
      }
    }
  }

  ASSERT_EQ(run("video " + name + " " + out + " --alpha").status, 0);
  const std::string withAlpha = zet::testing::readFile(out);
  EXPECT_EQ(pixelAt(withAlpha, 1, 3, 4), pixelAt(plain, 1, 3, 4) | 99u << 24);

  // Mode 5: doubled both ways, source lines on every other line only.
  ASSERT_EQ(run("video " + name + " " + out + " --scale 5").status, 0);
  const std::string scaled = zet::testing::readFile(out);
  ASSERT_EQ(scaled.size(), 2 * frameBytes(2 * kWidth, 2 * kHeight));
  const std::size_t scaledFrame = frameBytes(2 * kWidth, 2 * kHeight);
  auto scaledPixel = [&](std::size_t frame, std::size_t x, std::size_t y) {
    const std::size_t at = frame * scaledFrame + (y * 2 * kWidth + x) * 4;
    return scaled.substr(at, 4);
  };
  EXPECT_EQ(scaledPixel(0, 7, 4), plain.substr((2 * kWidth + 3) * 4, 4));
  EXPECT_EQ(scaledPixel(1, 6, 5), std::string(4, '\0'));
}

// Two frames of 11025 Hz mono sound, as the encoder codes it: the output is
// the decoded sound of both frames, 16-bit little-endian.
TEST_F(MovraDumpTest, AudioWritesTheTracksDecodedSound) {
  const std::vector<std::int16_t> pcm =
      movra::testing::makeSignal(movra::testing::TestSignal::SpeechBursts, 11025, 1, 3000);
  const std::vector<std::string> packets =
      movra::testing::soundPackets(movra::testing::codeSound(pcm, 11025, 1, true, 4), 4);
  ASSERT_EQ(packets.size(), 2u);
  TestMovie movie;
  movie.tracks = {{4 * 960, 11025 | 0x10000000 | 0x40000000, 7}, {100, 22050 | 0x40000000, 8}};
  movie.frames = {{{packets[0], ""}, "", true}, {{packets[1], ""}, "", true}};
  const std::string name = dir_.file("sound.mvr");
  zet::testing::writeFile(name, buildMovraFile(movie));

  const std::string out = dir_.file("out.pcm");
  ASSERT_EQ(run("audio " + name + " 0 " + out).status, 0);
  std::string expected;
  for (std::int16_t s : movra::testing::roundTrip(pcm, 11025, 1, true, 4).output) {
    expected += static_cast<char>(s & 0xFF);
    expected += static_cast<char>(static_cast<std::uint16_t>(s) >> 8);
  }
  EXPECT_EQ(zet::testing::readFile(out), expected);

  const ToolRun noCodec = run("audio " + name + " 1 " + out);
  EXPECT_EQ(noCodec.status, 1);
  EXPECT_EQ(noCodec.err, "movra-dump: Sound track 1 cannot be decoded.\n");
  const ToolRun noTrack = run("audio " + name + " 2 " + out);
  EXPECT_EQ(noTrack.status, 1);
  EXPECT_EQ(noTrack.err, "movra-dump: The file has no sound track 2.\n");
}

TEST_F(MovraDumpTest, WrongArgumentsShowTheUsage) {
  for (const char* arguments : {"", "info", "play x.mvr", "video x.mvr out --scale 8", "audio x.mvr -1 out"}) {
    const ToolRun result = run(arguments);
    EXPECT_EQ(result.status, 1) << arguments;
    EXPECT_EQ(result.err.rfind("usage: movra-dump", 0), 0u) << arguments;
  }
}

}  // namespace
