#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "movra_reader.h"
#include "movra_test_file.h"
#include "movra_track.h"
#include "sound_round_trip.h"
#include "temp_dir.h"
#include "test_signals.h"

namespace zet {
namespace {

using movra::testing::CodedSoundBlock;
using testing::TestMovie;

constexpr std::uint32_t kSoundInputFlags = 0x08004000;
constexpr std::uint32_t kDct = 0x10000000, kStereo = 0x20000000, k16Bit = 0x40000000,
                        kFft = 0x80000000;

std::uint32_t decodedSize(const std::string& packet) { return testing::getU32(packet, 0); }

std::uint32_t largestDecodedSize(const std::vector<std::string>& packets) {
  std::uint32_t largest = 0;
  for (const std::string& packet : packets) largest = std::max(largest, decodedSize(packet));
  return largest;
}

std::vector<std::uint8_t> littleEndian(const std::vector<std::int16_t>& samples) {
  std::vector<std::uint8_t> bytes;
  for (std::int16_t s : samples) {
    bytes.push_back(static_cast<std::uint8_t>(s));
    bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(s) >> 8));
  }
  return bytes;
}

class MovraTrackTest : public ::testing::Test {
 protected:
  // A movie whose frame k carries `sound[t][k]` for track t (as many frames
  // as the longest track has packets), with no video.
  MovraReader* open(const std::vector<testing::TestTrack>& tracks,
                    const std::vector<std::vector<std::string>>& sound) {
    TestMovie movie;
    movie.tracks = tracks;
    std::size_t frames = 0;
    for (const auto& packets : sound) frames = std::max(frames, packets.size());
    for (std::size_t k = 0; k < frames; ++k) {
      testing::TestFrame frame;
      for (const auto& packets : sound) frame.sound.push_back(k < packets.size() ? packets[k] : "");
      movie.frames.push_back(frame);
    }
    testing::writeFile(name_, buildMovraFile(movie));
    MovraReader* reader = MovraReaderOpen(name_.c_str(), kSoundInputFlags);
    if (reader) MovraReaderSetVideo(reader, 0);
    return reader;
  }

  // Every frame's sound of `track`, in order.
  static std::vector<std::uint8_t> decodeAll(MovraReader* reader, MovraTrack* track,
                                             std::vector<std::uint32_t>* counts = nullptr) {
    std::vector<std::uint8_t> all, frame(track->output_bytes);
    for (std::uint32_t k = 0; k < reader->frames; ++k) {
      const std::uint32_t written = MovraTrackDecode(track, frame.data());
      EXPECT_LE(written, track->output_bytes);
      if (counts) counts->push_back(written);
      all.insert(all.end(), frame.begin(), frame.begin() + written);
      MovraReaderNext(reader);
    }
    return all;
  }

  zet::testing::TempDir dir_;
  std::string name_ = dir_.file("movie.mvr");
};

// Packets of three whole blocks, read frame after frame, give the sound the
// blocks decode to; the last packet's decoded size cuts its short last block.
class MovraTrackLayoutTest
    : public MovraTrackTest,
      public ::testing::WithParamInterface<std::tuple<std::uint32_t, std::uint32_t, bool>> {};

TEST_P(MovraTrackLayoutTest, FramesGiveTheSoundTheirBlocksYield) {
  const auto [rate, channels, dct] = GetParam();
  const std::vector<std::int16_t> pcm = movra::testing::makeSignal(
      movra::testing::TestSignal::SpeechBursts, rate, channels, rate / 2);
  const std::vector<std::string> packets =
      movra::testing::soundPackets(movra::testing::codeSound(pcm, rate, channels, dct, 4), 3);
  const std::uint32_t format = rate | k16Bit | (channels == 2 ? kStereo : 0) | (dct ? kDct : kFft);
  MovraReader* reader = open({{largestDecodedSize(packets), format, 5}}, {packets});
  ASSERT_NE(reader, nullptr);
  MovraTrack* track = MovraTrackOpen(reader, 0);
  ASSERT_NE(track, nullptr);
  EXPECT_EQ(track->sample_rate, rate);
  EXPECT_EQ(track->bits, 16u);
  EXPECT_EQ(track->channels, channels);

  const movra::testing::RoundTrip expected = movra::testing::roundTrip(pcm, rate, channels, dct, 4);
  ASSERT_TRUE(expected.decodable);
  EXPECT_EQ(decodeAll(reader, track), littleEndian(expected.output));
  MovraTrackClose(track);
  MovraReaderClose(reader);
}

INSTANTIATE_TEST_SUITE_P(Layouts, MovraTrackLayoutTest,
                         ::testing::Values(std::tuple{22050u, 1u, true},
                                           std::tuple{44100u, 2u, true},
                                           std::tuple{44100u, 2u, false},
                                           std::tuple{8000u, 2u, false}));

// One block of 44100 Hz stereo yields 7680 bytes; a decoded size of 4000
// takes 2000 of its samples, each as its high byte plus 128.
TEST_F(MovraTrackTest, EightBitTrackTakesEachSamplesHighBytePlus128) {
  const std::vector<std::int16_t> pcm =
      movra::testing::makeSignal(movra::testing::TestSignal::Sweep, 44100, 2, 4096);
  std::vector<CodedSoundBlock> blocks = movra::testing::codeSound(pcm, 44100, 2, true, 0);
  blocks.resize(1);
  blocks[0].decodedBytes = 4000;
  const std::vector<std::string> packets = movra::testing::soundPackets(blocks, 1);
  MovraReader* reader = open({{4000, 44100 | kStereo | kDct, 1}}, {packets});
  ASSERT_NE(reader, nullptr);
  MovraTrack* track = MovraTrackOpen(reader, 0);
  ASSERT_NE(track, nullptr);
  EXPECT_EQ(track->bits, 8u);
  EXPECT_EQ(track->output_bytes, 2000u);

  const movra::testing::RoundTrip reference = movra::testing::roundTrip(pcm, 44100, 2, true, 0);
  std::vector<std::uint8_t> expected;
  for (std::size_t i = 0; i < 2000; ++i) {
    expected.push_back(
        static_cast<std::uint8_t>((static_cast<std::uint16_t>(reference.output[i]) >> 8) + 128));
  }
  EXPECT_EQ(decodeAll(reader, track), expected);
  MovraTrackClose(track);
  MovraReaderClose(reader);
}

TEST_F(MovraTrackTest, EmptyEntryGivesNothingAndTheNextTrackStillDecodes) {
  const std::vector<std::int16_t> pcm =
      movra::testing::makeSignal(movra::testing::TestSignal::Sweep, 11025, 1, 2000);
  const std::vector<std::string> packets =
      movra::testing::soundPackets(movra::testing::codeSound(pcm, 11025, 1, true, 0), 10);
  MovraReader* reader = open(
      {{4000, 11025 | k16Bit | kDct, 1}, {largestDecodedSize(packets), 11025 | k16Bit | kDct, 2}},
      {{""}, packets});
  ASSERT_NE(reader, nullptr);
  MovraTrack* silent = MovraTrackOpen(reader, 0);
  MovraTrack* sounding = MovraTrackOpen(reader, 1);
  ASSERT_NE(silent, nullptr);
  ASSERT_NE(sounding, nullptr);
  std::vector<std::uint8_t> out(4000);
  EXPECT_EQ(MovraTrackDecode(silent, out.data()), 0u);
  EXPECT_EQ(MovraTrackDecode(sounding, out.data()), 4000u);
  MovraTrackClose(silent);
  MovraTrackClose(sounding);
  MovraReaderClose(reader);
}

TEST_F(MovraTrackTest, RefusesTracksNoDecoderCanPlay) {
  MovraReader* reader = open({{100, k16Bit | kDct, 1}, {100, 22050 | k16Bit, 2}}, {{""}, {""}});
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(MovraTrackOpen(reader, 0), nullptr);  // rate 0
  EXPECT_EQ(MovraTrackOpen(reader, 1), nullptr);  // no codec bit
  EXPECT_EQ(MovraTrackOpen(reader, 2), nullptr);
  EXPECT_EQ(MovraTrackOpen(nullptr, 0), nullptr);
  MovraTrackClose(nullptr);
  MovraReaderClose(reader);
}

TEST_F(MovraTrackTest, FourierBitWinsOverTheCosineBit) {
  const std::vector<std::int16_t> pcm =
      movra::testing::makeSignal(movra::testing::TestSignal::SpeechBursts, 22050, 2, 3000);
  const std::vector<std::string> packets =
      movra::testing::soundPackets(movra::testing::codeSound(pcm, 22050, 2, false, 0), 10);
  MovraReader* reader =
      open({{largestDecodedSize(packets), 22050 | k16Bit | kStereo | kDct | kFft, 1}}, {packets});
  ASSERT_NE(reader, nullptr);
  MovraTrack* track = MovraTrackOpen(reader, 0);
  ASSERT_NE(track, nullptr);
  EXPECT_EQ(decodeAll(reader, track),
            littleEndian(movra::testing::roundTrip(pcm, 22050, 2, false, 0).output));
  MovraTrackClose(track);
  MovraReaderClose(reader);
}

// Damaged packets end their frame's sound early; nothing is read outside the
// packet's entry for the track or written past the caller's buffer.
TEST_F(MovraTrackTest, DamagedPacketsGiveShortCounts) {
  const std::vector<std::int16_t> pcm =
      movra::testing::makeSignal(movra::testing::TestSignal::Noise, 22050, 1, 4000);
  const std::vector<CodedSoundBlock> blocks = movra::testing::codeSound(pcm, 22050, 1, true, 4);
  const std::string whole = movra::testing::soundPackets(blocks, 3)[0];  // 5760 bytes of sound
  ASSERT_EQ(decodedSize(whole), 5760u);
  const std::size_t firstBlock = 4 + blocks[0].bytes.size();

  struct Damage {
    const char* what;
    std::string packet;
    std::uint32_t bufferSize;
    std::uint32_t expected;
  };
  const std::vector<Damage> damages = {
      {"blocks cut short", whole.substr(0, firstBlock + 8), 5760, 1920},
      {"decoded size past the buffer", whole, 3000, 3000},
      {"no room for the decoded size", whole.substr(0, 3), 5760, 0},
      {"decoded size without blocks", whole.substr(0, 4), 5760, 0},
  };
  for (const Damage& damage : damages) {
    MovraReader* reader = open({{damage.bufferSize, 22050 | k16Bit | kDct, 1}}, {{damage.packet}});
    ASSERT_NE(reader, nullptr) << damage.what;
    MovraTrack* track = MovraTrackOpen(reader, 0);
    ASSERT_NE(track, nullptr) << damage.what;
    std::vector<std::uint8_t> out(track->output_bytes);
    EXPECT_EQ(MovraTrackDecode(track, out.data()), damage.expected) << damage.what;
    MovraTrackClose(track);
    MovraReaderClose(reader);
  }
}

}  // namespace
}  // namespace zet
