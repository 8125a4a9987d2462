#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "coded_planes.h"
#include "expected_pixel.h"
#include "movra_reader.h"
#include "movra_test_file.h"
#include "reader_last_error.h"
#include "temp_dir.h"

namespace zet {
namespace {

using testing::TestFrame;
using testing::TestMovie;

constexpr std::uint32_t kMediaInputFlags = 0x08104000;
// A picture of 20 x 14: luma planes decode at 24 x 16, chroma at 16 x 8
// (half of 20, rounded up to whole blocks), so padding shows up everywhere.
constexpr std::uint32_t kWidth = 20;
constexpr std::uint32_t kHeight = 14;
constexpr std::uint32_t kLumaWidth = 24, kLumaHeight = 16, kChromaWidth = 16, kChromaHeight = 8;

using testing::SampleAt;
using testing::rawPlane;
using testing::skipPlane;

struct Picture {
  SampleAt y, cr, cb, alpha;
};

// Samples 1..255: the older colour value form has no code for 0.
std::uint8_t sample(std::uint32_t value) { return static_cast<std::uint8_t>(1 + value % 255); }

Picture pictureA() {
  return {[](auto x, auto y) { return sample(15 + 9 * x + 5 * y); },
          [](auto x, auto y) { return sample(40 + 11 * x + 3 * y); },
          [](auto x, auto y) { return sample(250 - 13 * x - 7 * y); },
          [](auto x, auto y) { return sample(x * y); }};
}

Picture pictureB() {
  return {[](auto x, auto y) { return sample(235 - 7 * x - 2 * y); },
          [](auto x, auto) { return sample(128 + x); },
          [](auto, auto y) { return sample(100 + 9 * y); },
          [](auto x, auto) { return sample(254 - x); }};
}

struct MovieKind {
  char version = 'i';
  bool grey = false;
  bool alpha = false;
};

bool olderColours(const MovieKind& kind) { return kind.version != 'i'; }

std::string pictureVideo(const MovieKind& kind, const Picture& picture) {
  const bool older = olderColours(kind);
  const auto luma = rawPlane(kLumaWidth, kLumaHeight, picture.y, older);
  const auto cr = kind.grey ? std::vector<std::uint8_t>() : rawPlane(kChromaWidth, kChromaHeight, picture.cr, older);
  const auto cb = kind.grey ? std::vector<std::uint8_t>() : rawPlane(kChromaWidth, kChromaHeight, picture.cb, older);
  const auto alpha = kind.alpha ? rawPlane(kLumaWidth, kLumaHeight, picture.alpha, older) : std::vector<std::uint8_t>();
  return testing::videoData(luma, cr, cb, kind.version == 'i', kind.alpha ? &alpha : nullptr);
}

std::string unchangedVideo(const MovieKind& kind) {
  const auto luma = skipPlane(kLumaWidth, kLumaHeight);
  const auto chroma = kind.grey ? std::vector<std::uint8_t>() : skipPlane(kChromaWidth, kChromaHeight);
  return testing::videoData(luma, chroma, chroma, kind.version == 'i', kind.alpha ? &luma : nullptr);
}

TestMovie movieOf(const MovieKind& kind, std::vector<TestFrame> frames) {
  TestMovie movie;
  movie.version = kind.version;
  movie.width = kWidth;
  movie.height = kHeight;
  movie.videoFlags = (kind.grey ? 0x00020000u : 0u) | (kind.alpha ? 0x00100000u : 0u);
  movie.frames = std::move(frames);
  return movie;
}

struct Bitmap {
  std::uint32_t width = 0, rows = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t at(std::uint32_t x, std::uint32_t y) const { return pixels[std::size_t{y} * width + x]; }
};

Bitmap copyOf(MovraReader* reader, std::uint32_t format = 3, std::uint32_t fill = 0xCDCDCDCD) {
  Bitmap bitmap{reader->display_width, reader->display_height, {}};
  bitmap.pixels.assign(std::size_t{bitmap.width} * bitmap.rows, fill);
  MovraReaderBlit(reader, bitmap.pixels.data(), static_cast<std::int32_t>(bitmap.width * 4), bitmap.rows, 0, 0,
                  format);
  return bitmap;
}

void expectPicture(const Bitmap& bitmap, const Picture& picture, const MovieKind& kind, bool withAlpha) {
  const bool swapped = kind.version == 'f' || kind.version == 'g';
  for (std::uint32_t y = 0; y < kHeight; ++y) {
    for (std::uint32_t x = 0; x < kWidth; ++x) {
      const std::uint32_t expected =
          testing::expectedPixel(picture.y(x, y), picture.cr(x / 2, y / 2), picture.cb(x / 2, y / 2),
                                 withAlpha ? picture.alpha(x, y) : 0, swapped, kind.grey);
      ASSERT_EQ(bitmap.at(x, y), expected) << "pixel " << x << "," << y << " version " << kind.version;
    }
  }
}

class ReaderPlaybackTest : public ::testing::Test {
 protected:
  MovraReader* open(const TestMovie& movie, std::uint32_t flags = kMediaInputFlags) {
    testing::writeFile(name_, buildMovraFile(movie));
    return MovraReaderOpen(name_.c_str(), flags);
  }

  zet::testing::TempDir dir_;
  std::string name_ = dir_.file("movie.mvr");
};

TEST_F(ReaderPlaybackTest, DecodesKeyAndInterFramesOfEveryVersion) {
  for (char version : {'f', 'g', 'h', 'i'}) {
    const MovieKind kind{version};
    MovraReader* reader = open(movieOf(kind, {{{}, pictureVideo(kind, pictureA()), true},
                                              {{}, unchangedVideo(kind), false},
                                              {{}, pictureVideo(kind, pictureB()), true}}));
    ASSERT_NE(reader, nullptr) << MovraReaderLastError();
    const Picture expected[] = {pictureA(), pictureA(), pictureB()};
    for (const Picture& picture : expected) {
      ASSERT_EQ(MovraReaderDecode(reader), 0u) << version << " frame " << reader->current_frame;
      expectPicture(copyOf(reader), picture, kind, false);
      MovraReaderNext(reader);
    }
    MovraReaderClose(reader);
  }
}

TEST_F(ReaderPlaybackTest, DamagedFrameFailsAndThePreviousPictureStays) {
  const MovieKind kind;
  std::string damaged = pictureVideo(kind, pictureB());
  damaged.resize(damaged.size() / 2);  // the luma prefix now points past the data
  std::string garbled = pictureVideo(kind, pictureB());
  for (std::size_t i = 8; i < garbled.size(); ++i) garbled[i] = static_cast<char>(0xFF);
  MovraReader* reader = open(movieOf(kind, {{{}, pictureVideo(kind, pictureA()), true},
                                            {{}, damaged, true},
                                            {{}, garbled, true},
                                            {{}, pictureVideo(kind, pictureB()), true}}));
  ASSERT_NE(reader, nullptr);
  ASSERT_EQ(MovraReaderDecode(reader), 0u);
  for (int broken = 0; broken < 2; ++broken) {
    MovraReaderNext(reader);
    EXPECT_EQ(MovraReaderDecode(reader), 1u);
    EXPECT_EQ(MovraReaderDecode(reader), 1u);  // asking again gives the same answer
    EXPECT_EQ(reader->failed, 0u);
    expectPicture(copyOf(reader), pictureA(), kind, false);
  }
  MovraReaderNext(reader);
  ASSERT_EQ(MovraReaderDecode(reader), 0u);
  expectPicture(copyOf(reader), pictureB(), kind, false);
  MovraReaderClose(reader);
}

TEST_F(ReaderPlaybackTest, AlphaPlaneFillsTheFourthByteWhenAskedFor) {
  const MovieKind kind{'i', false, true};
  const TestMovie movie = movieOf(kind, {{{}, pictureVideo(kind, pictureA()), true}});
  MovraReader* reader = open(movie);
  ASSERT_NE(reader, nullptr);
  ASSERT_EQ(MovraReaderDecode(reader), 0u);
  expectPicture(copyOf(reader, 5), pictureA(), kind, true);
  expectPicture(copyOf(reader, 3), pictureA(), kind, false);
  MovraReaderClose(reader);

  // Without alpha decoding the plane is stepped over by its prefix.
  reader = open(movie, 0x08004000);
  ASSERT_NE(reader, nullptr);
  ASSERT_EQ(MovraReaderDecode(reader), 0u);
  expectPicture(copyOf(reader, 5), pictureA(), kind, false);
  MovraReaderClose(reader);
}

TEST_F(ReaderPlaybackTest, AlphaPrefixPastTheVideoFailsTheFrame) {
  const MovieKind kind{'i', false, true};
  std::string video = pictureVideo(kind, pictureA());
  testing::putU32(video, 0, static_cast<std::uint32_t>(video.size() + 4));
  for (std::uint32_t flags : {kMediaInputFlags, 0x08004000u}) {
    MovraReader* reader = open(movieOf(kind, {{{}, video, true}}), flags);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(MovraReaderDecode(reader), 1u);
    MovraReaderClose(reader);
  }
}

TEST_F(ReaderPlaybackTest, GreyPictureHasNoChromaPlanes) {
  const MovieKind kind{'i', true, false};
  MovraReader* reader = open(movieOf(kind, {{{}, pictureVideo(kind, pictureB()), true}}));
  ASSERT_NE(reader, nullptr);
  ASSERT_EQ(MovraReaderDecode(reader), 0u);
  expectPicture(copyOf(reader), pictureB(), kind, false);
  MovraReaderClose(reader);
}

TEST_F(ReaderPlaybackTest, ScaledDisplayAndRectanglesMapToCodedPixels) {
  const MovieKind kind;
  TestMovie movie = movieOf(kind, {{{}, pictureVideo(kind, pictureA()), true}});
  movie.videoFlags = 4u << 28;  // doubled both ways
  MovraReader* reader = open(movie);
  ASSERT_NE(reader, nullptr);
  ASSERT_EQ(MovraReaderDecode(reader), 0u);
  ASSERT_EQ(reader->display_width, 2 * kWidth);
  ASSERT_EQ(reader->display_height, 2 * kHeight);
  const Bitmap whole = copyOf(reader);
  const Picture a = pictureA();
  for (std::uint32_t y = 0; y < 2 * kHeight; ++y) {
    for (std::uint32_t x = 0; x < 2 * kWidth; ++x) {
      const std::uint32_t sx = x / 2, sy = y / 2;
      ASSERT_EQ(whole.at(x, y), testing::expectedPixel(a.y(sx, sy), a.cr(sx / 2, sy / 2), a.cb(sx / 2, sy / 2), 0,
                                                       false, false));
    }
  }
  // Display rectangle (10, 6) 20 x 8 is coded rectangle (5, 3) 10 x 4, drawn doubled at (1, 2).
  std::vector<std::uint32_t> part(30 * 12, 0);
  MovraReaderBlitRect(reader, part.data(), 30 * 4, 12, 1, 2, 10, 6, 20, 8, 3);
  EXPECT_EQ(part[2 * 30 + 1], whole.at(10, 6));
  EXPECT_EQ(part[9 * 30 + 20], whole.at(29, 13));
  EXPECT_EQ(part[1 * 30 + 1], 0u);
  EXPECT_EQ(part[10 * 30 + 1], 0u);
  MovraReaderClose(reader);
}

TEST_F(ReaderPlaybackTest, BottomUpBitmapAndBitmapsTooSmall) {
  const MovieKind kind;
  MovraReader* reader = open(movieOf(kind, {{{}, pictureVideo(kind, pictureA()), true}}));
  ASSERT_NE(reader, nullptr);
  ASSERT_EQ(MovraReaderDecode(reader), 0u);
  const Bitmap topDown = copyOf(reader);
  std::vector<std::uint32_t> bottomUp(kWidth * kHeight, 0);
  MovraReaderBlit(reader, bottomUp.data(), -static_cast<std::int32_t>(kWidth * 4), kHeight, 0, 0, 3);
  for (std::uint32_t y = 0; y < kHeight; ++y) {
    for (std::uint32_t x = 0; x < kWidth; ++x) ASSERT_EQ(bottomUp[(kHeight - 1 - y) * kWidth + x], topDown.at(x, y));
  }
  // One row short, one pixel too narrow, or placed past the edge: nothing is copied.
  std::vector<std::uint32_t> small(kWidth * kHeight, 7);
  MovraReaderBlit(reader, small.data(), static_cast<std::int32_t>(kWidth * 4), kHeight - 1, 0, 0, 3);
  MovraReaderBlit(reader, small.data(), static_cast<std::int32_t>((kWidth - 1) * 4), kHeight, 0, 0, 3);
  MovraReaderBlit(reader, small.data(), -static_cast<std::int32_t>(kWidth * 4), kHeight, 0, 1, 3);
  MovraReaderBlit(reader, small.data(), static_cast<std::int32_t>(kWidth * 4), kHeight, 0, 0, 4);  // no such format
  EXPECT_TRUE(std::all_of(small.begin(), small.end(), [](std::uint32_t p) { return p == 7; }));
  MovraReaderClose(reader);
}

TEST_F(ReaderPlaybackTest, ReadersOnTwoThreadsKeepTheirOwnColourLayouts) {
  const MovieKind older{'f'};
  const MovieKind current{'i'};
  const std::string olderName = dir_.file("older.mvr");
  const std::string currentName = dir_.file("current.mvr");
  testing::writeFile(olderName, buildMovraFile(movieOf(older, {{{}, pictureVideo(older, pictureA()), true}})));
  testing::writeFile(currentName,
                     buildMovraFile(movieOf(current, {{{}, pictureVideo(current, pictureA()), true}})));
  auto play = [](const std::string& name, const MovieKind& kind) {
    MovraReader* reader = MovraReaderOpen(name.c_str(), kMediaInputFlags);
    ASSERT_NE(reader, nullptr);
    for (int round = 0; round < 200; ++round) {
      reader->decoded_frame = 0;  // decode the same packet again
      ASSERT_EQ(MovraReaderDecode(reader), 0u);
      expectPicture(copyOf(reader), pictureA(), kind, false);
    }
    MovraReaderClose(reader);
  };
  std::thread first(play, olderName, older);
  std::thread second(play, currentName, current);
  first.join();
  second.join();
}

}  // namespace
}  // namespace zet
