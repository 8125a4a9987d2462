// MovraMix through the exported interface: tracks replaced, removed and
// added, the video copied byte for byte, the input checked before anything
// is written, and the output replaced only when the mix completes.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "movramake.h"
#include "temp_dir.h"
#include "test_movie.h"

namespace {

constexpr std::uint32_t kWidth = 32, kHeight = 16, kFrames = 12;

std::uint32_t wordAt(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  std::memcpy(&value, bytes.data() + offset, 4);
  return value;
}

// What a movie file holds, parsed as its layout says.
struct Parsed {
  std::uint32_t frames = 0, tracks = 0;
  std::vector<std::uint32_t> formats, ids, bufferSizes;
  std::vector<std::string> video;                 // per frame
  std::vector<std::vector<std::uint32_t>> sound;  // per frame and track: decoded size (0 when none)
};

Parsed parse(const std::string& file) {
  Parsed p;
  p.frames = wordAt(file, 8);
  p.tracks = wordAt(file, 40);
  std::size_t at = 44;
  for (auto* table : {&p.bufferSizes, &p.formats, &p.ids}) {
    for (std::uint32_t t = 0; t < p.tracks; ++t, at += 4) table->push_back(wordAt(file, at));
  }
  for (std::uint32_t f = 0; f < p.frames; ++f) {
    std::size_t packet = wordAt(file, at + 4 * f) & ~1u;
    const std::size_t end = wordAt(file, at + 4 * (f + 1)) & ~1u;
    std::vector<std::uint32_t> sizes;
    for (std::uint32_t t = 0; t < p.tracks; ++t) {
      const std::uint32_t size = wordAt(file, packet);
      sizes.push_back(size ? wordAt(file, packet + 4) : 0);
      packet += 4 + size;
    }
    p.sound.push_back(sizes);
    p.video.push_back(file.substr(packet, end - packet));
  }
  return p;
}

std::uint64_t pulled = 0;
std::uint32_t ZET_CALL steadySound(void*, uint32_t, void* buffer, uint32_t bytes) {
  std::memset(buffer, 0x11, bytes);
  pulled += bytes;
  return bytes;
}

struct Messages {
  std::vector<std::string> errors;
  int stopAt = -1;
};
Messages* messages = nullptr;
int32_t ZET_CALL record(uint32_t kind, void* subject, const char* text) {
  if (kind == 2) messages->errors.push_back(text);
  if (kind == 1 && messages->stopAt >= 0 && static_cast<MovraMixProgress*>(subject)->frame == static_cast<std::uint32_t>(messages->stopAt)) return 1;
  return 0;
}

class MovieMix : public ::testing::Test {
 protected:
  void SetUp() override {
    messages = &log_;
    pulled = 0;
  }

  void makeMovie(std::uint32_t trackCount) {
    MovraMakeTrack track{5, 22050, 16, 1, 40, 0, steadySound};
    MovraMakeHandle handle = MovraMake(input_.c_str(), kWidth * 4, kWidth, kHeight, kFrames, 0, 0, 15, 1, trackCount,
                                       trackCount ? &track : nullptr, 4, nullptr);
    ASSERT_NE(handle, nullptr);
    for (std::uint32_t f = 0; f < kFrames; ++f) {
      const std::vector<std::uint8_t> picture = movra::testing::scenePicture(kWidth, kHeight, f);
      MovraMakePutVideo(handle, 400, 1200, 0, picture.data());
    }
    ASSERT_GT(MovraMakeClose(handle, 0), 0u);
  }

  zet::testing::TempDir dir_;
  std::string input_ = dir_.file("in.mvr");
  std::string output_ = dir_.file("out.mvr");
  Messages log_;
};

TEST_F(MovieMix, ANullCallbackRemovesTheTrackAndLeavesTheVideoAsItWas) {
  makeMovie(1);
  MovraMakeTrack remove{5, 22050, 16, 1, 40, 0, nullptr};
  const std::uint32_t size = MovraMix(input_.c_str(), output_.c_str(), 0, 0, 0, 0, 1, &remove, record);
  const std::string file = zet::testing::readFile(output_);
  EXPECT_EQ(size, file.size());
  EXPECT_EQ(remove.sample_rate, 0u) << "a matched descriptor is marked";
  const Parsed in = parse(zet::testing::readFile(input_)), out = parse(file);
  EXPECT_EQ(out.tracks, 0u);
  EXPECT_EQ(out.frames, kFrames);
  EXPECT_EQ(out.video, in.video);
  EXPECT_EQ(file.substr(0, 4), "MVRi");
  EXPECT_EQ(wordAt(file, 4), file.size() - 8);
}

TEST_F(MovieMix, ANewTrackIsCodedForTheWholeMovieAfterTheInputsTracks) {
  makeMovie(1);
  MovraMakeTrack added{9, 11025, 16, 2, 150, 0, steadySound};
  ASSERT_GT(MovraMix(input_.c_str(), output_.c_str(), 0, 0, 0, 0, 1, &added, record), 0u);
  const Parsed in = parse(zet::testing::readFile(input_)), out = parse(zet::testing::readFile(output_));
  ASSERT_EQ(out.tracks, 2u);
  EXPECT_EQ(out.ids[0], 5u);
  EXPECT_EQ(out.ids[1], 9u);
  EXPECT_EQ(out.formats[0], in.formats[0]);
  EXPECT_EQ(out.formats[1], 11025u | 0x40000000u | 0x20000000u | 0x80000000u);
  std::uint64_t decoded = 0;
  for (std::uint32_t f = 0; f < kFrames; ++f) {
    EXPECT_EQ(out.sound[f][0], in.sound[f][0]) << "the kept track is copied";
    decoded += out.sound[f][1];
  }
  EXPECT_EQ(decoded, (44100u * kFrames / 15 + 3) & ~3u);
  EXPECT_EQ(out.video, in.video);
  EXPECT_EQ(added.sample_rate, 11025u) << "an unmatched descriptor keeps its rate";
}

TEST_F(MovieMix, ADelayFeedsSilenceFirstAndMixingIntoTheInputsOwnNameWorks) {
  makeMovie(1);
  const Parsed before = parse(zet::testing::readFile(input_));
  MovraMakeTrack replace{5, 22050, 16, 1, 40, 0, steadySound};
  pulled = 0;
  ASSERT_GT(MovraMix(input_.c_str(), output_.c_str(), 0, 0, 0, 1, 1, &replace, record), 0u);
  const std::uint64_t withoutDelay = pulled;
  replace.sample_rate = 22050;
  pulled = 0;
  ASSERT_GT(MovraMix(input_.c_str(), input_.c_str(), 0, 0, 0, -500, 1, &replace, record), 0u);
  EXPECT_FALSE(std::filesystem::exists(input_ + ".tmp"));
  const Parsed after = parse(zet::testing::readFile(input_));
  EXPECT_EQ(after.tracks, 1u);
  EXPECT_EQ(after.video, before.video);
  // The same blocks are coded; the first half second (22050 bytes, cut to
  // whole sample pairs) comes from the silence, not the callback. A delay
  // argument of 1 means none.
  EXPECT_EQ(withoutDelay - pulled, 22048u);
}

TEST_F(MovieMix, RefusesWhatItCannotMixWithTheMessageAndWritesNothing) {
  makeMovie(0);
  MovraMakeTrack track{1, 22050, 16, 1, 40, 0, steadySound};
  EXPECT_EQ(MovraMix(input_.c_str(), output_.c_str(), 0, 0, 0, 0, 0, &track, record), 0u);
  EXPECT_TRUE(log_.errors.empty()) << "no descriptors: nothing to do";

  EXPECT_EQ(MovraMix(dir_.file("absent.mvr").c_str(), output_.c_str(), 0, 0, 0, 0, 1, &track, record), 0u);
  zet::testing::writeFile(dir_.file("text.mvr"), std::string(100, 'x'));
  EXPECT_EQ(MovraMix(dir_.file("text.mvr").c_str(), output_.c_str(), 0, 0, 0, 0, 1, &track, record), 0u);
  std::string damaged = zet::testing::readFile(input_);
  const std::uint32_t past = static_cast<std::uint32_t>(damaged.size() + 100);
  std::memcpy(&damaged[44 + 4 * kFrames], &past, 4);  // the end of the last packet lies past the file
  zet::testing::writeFile(dir_.file("damaged.mvr"), damaged);
  EXPECT_EQ(MovraMix(dir_.file("damaged.mvr").c_str(), output_.c_str(), 0, 0, 0, 0, 1, &track, record), 0u);
  MovraMakeTrack threeChannels{1, 22050, 16, 3, 40, 0, steadySound};
  EXPECT_EQ(MovraMix(input_.c_str(), output_.c_str(), 0, 0, 0, 0, 1, &threeChannels, record), 0u);
  const std::vector<std::string> expected = {
      "Couldn't open input Movra file.", "Input file isn't a Movra file.",
      "The input Movra file is damaged: its index or packets lie outside it.",
      "Each Movra sound track needs 1 or 2 channels and a sample rate of 1 to 65535 Hz."};
  EXPECT_EQ(log_.errors, expected);
  EXPECT_FALSE(std::filesystem::exists(output_));
  EXPECT_FALSE(std::filesystem::exists(output_ + ".tmp"));
}

TEST_F(MovieMix, AStopDiscardsTheOutputAndKeepsTheOldOne) {
  makeMovie(0);
  zet::testing::writeFile(output_, "old contents");
  log_.stopAt = 3;
  MovraMakeTrack track{1, 22050, 16, 1, 40, 0, steadySound};
  EXPECT_EQ(MovraMix(input_.c_str(), output_.c_str(), 0, 0, 0, 0, 1, &track, record), 0u);
  EXPECT_EQ(zet::testing::readFile(output_), "old contents");
  EXPECT_FALSE(std::filesystem::exists(output_ + ".tmp"));
}

TEST_F(MovieMix, AMovieInsideALargerFileIsReadFromItsOffset) {
  makeMovie(0);
  const std::string wrapped = std::string(1000, 'p') + zet::testing::readFile(input_);
  zet::testing::writeFile(dir_.file("wrapped.bin"), wrapped);
  MovraMakeTrack track{1, 22050, 16, 1, 40, 0, steadySound};
  ASSERT_GT(MovraMix(dir_.file("wrapped.bin").c_str(), output_.c_str(), 1000, 30, 1, 0, 1, &track, record), 0u);
  const std::string file = zet::testing::readFile(output_);
  EXPECT_EQ(parse(file).video, parse(zet::testing::readFile(input_)).video);
  EXPECT_EQ(wordAt(file, 28), 30u) << "the frame rate given replaces the input's";
}

}  // namespace
