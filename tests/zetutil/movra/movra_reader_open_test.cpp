#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "movra_reader.h"
#include "movra_test_file.h"
#include "movra_track.h"
#include "reader_last_error.h"
#include "temp_dir.h"

namespace zet {
namespace {

using testing::TestFrame;
using testing::TestMovie;

constexpr std::uint32_t kMediaInputFlags = 0x08104000;

TestMovie threeFrameMovie() {
  TestMovie movie;
  movie.width = 20;
  movie.height = 12;
  movie.tracks = {{4000, 22050 | 0x10000000, 7}, {100, 11025, 9}};
  for (int i = 0; i < 3; ++i) movie.frames.push_back({{"abcd", ""}, std::string(40, static_cast<char>('a' + i)), i == 0});
  return movie;
}

class ReaderOpenTest : public ::testing::Test {
 protected:
  MovraReader* open(const std::string& bytes, std::uint32_t flags = kMediaInputFlags) {
    testing::writeFile(name_, bytes);
    return MovraReaderOpen(name_.c_str(), flags);
  }

  zet::testing::TempDir dir_;
  std::string name_ = dir_.file("movie.mvr");
};

TEST_F(ReaderOpenTest, OpensAValidFileWithItsTablesAndSizes) {
  MovraReader* reader = open(buildMovraFile(threeFrameMovie()));
  ASSERT_NE(reader, nullptr) << MovraReaderLastError();
  EXPECT_STREQ(MovraReaderLastError(), "");
  EXPECT_EQ(reader->frames, 3u);
  EXPECT_EQ(reader->current_frame, 1u);
  EXPECT_EQ(reader->decoded_frame, 0u);
  EXPECT_EQ(reader->coded_width, 20u);
  EXPECT_EQ(reader->chroma_pitch, 16u);  // (20 + 1) / 2 = 10, rounded up to 8
  EXPECT_EQ(reader->luma_pitch, 32u);
  EXPECT_EQ(reader->chroma_rows, 8u);
  EXPECT_EQ(reader->luma_rows, 16u);
  EXPECT_EQ(reader->frame_bytes, 8 + 4 + 40u);  // two sound entries, then the video
  EXPECT_EQ(MovraReaderTrackFormat(reader, 0), 22050u | 0x10000000);
  EXPECT_EQ(MovraReaderTrackId(reader, 1), 9u);
  EXPECT_EQ(reader->track_buffer_size[0], 4000u);
  MovraReaderClose(reader);
}

TEST_F(ReaderOpenTest, TrackAccessorsGiveZeroPastTheTables) {
  MovraReader* reader = open(buildMovraFile(threeFrameMovie()));
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(MovraReaderTrackFormat(reader, 2), 0u);
  EXPECT_EQ(MovraReaderTrackId(reader, 2), 0u);
  EXPECT_EQ(MovraReaderTrackId(reader, 0xFFFFFFFF), 0u);
  EXPECT_EQ(MovraReaderTrackFormat(nullptr, 0), 0u);
  EXPECT_EQ(MovraReaderTrackId(nullptr, 0), 0u);
  // Track 1 has neither codec bit; track 2 does not exist.
  EXPECT_EQ(MovraTrackOpen(reader, 1), nullptr);
  EXPECT_EQ(MovraTrackOpen(reader, 2), nullptr);
  EXPECT_EQ(MovraTrackOpen(nullptr, 0), nullptr);
  MovraReaderClose(reader);
}

TEST_F(ReaderOpenTest, MissingFileCannotBeOpened) {
  EXPECT_EQ(MovraReaderOpen(dir_.file("absent.mvr").c_str(), kMediaInputFlags), nullptr);
  EXPECT_STREQ(MovraReaderLastError(), kErrorOpeningFile);
}

struct Damage {
  const char* name;
  std::function<void(std::string&, const TestMovie&)> apply;
  const char* message;
};

void setField(std::string& bytes, std::size_t field, std::uint32_t value) { testing::putU32(bytes, field, value); }

const Damage kDamages[] = {
    {"UnknownVersionLetter", [](std::string& b, const TestMovie&) { b[3] = 'j'; }, kNotAMovraFile},
    {"WrongMagic", [](std::string& b, const TestMovie&) { b[0] = 'X'; }, kNotAMovraFile},
    {"ShorterThanHeader", [](std::string& b, const TestMovie&) { b.resize(30); }, kNotAMovraFile},
    {"NoFramesYet", [](std::string& b, const TestMovie&) { setField(b, testing::kFramesField, 0); }, kNoFramesYet},
    {"MoreFramesThanIndexEntries",
     [](std::string& b, const TestMovie&) { setField(b, testing::kFramesField, 4); }, kNotAMovraFile},
    {"ZeroRateDividend", [](std::string& b, const TestMovie&) { setField(b, testing::kRateNumField, 0); },
     kNotAMovraFile},
    {"ZeroRateDivider", [](std::string& b, const TestMovie&) { setField(b, testing::kRateDivField, 0); },
     kNotAMovraFile},
    {"ZeroWidth", [](std::string& b, const TestMovie&) { setField(b, testing::kWidthField, 0); }, kNotAMovraFile},
    {"HugeWidth", [](std::string& b, const TestMovie&) { setField(b, testing::kWidthField, 16385); },
     kNotAMovraFile},
    {"HugeHeight", [](std::string& b, const TestMovie&) { setField(b, testing::kHeightField, 0xFFFFFFFF); },
     kNotAMovraFile},
    {"TrackTablesPastTheFile",
     [](std::string& b, const TestMovie&) { setField(b, testing::kTracksField, 0x40000000); }, kNotAMovraFile},
    {"IndexPastTheFile",
     [](std::string& b, const TestMovie&) { setField(b, testing::kIndexFramesField, 0xFFFFFFFF); },
     kNotAMovraFile},
    {"PacketsOutOfOrder",
     [](std::string& b, const TestMovie& m) {
       const std::size_t second = testing::indexEntryOffset(m, 1);
       setField(b, second, testing::getU32(b, testing::indexEntryOffset(m, 0)) - 2);
     },
     kNotAMovraFile},
    {"FirstPacketInsideTheIndex",
     [](std::string& b, const TestMovie& m) { setField(b, testing::indexEntryOffset(m, 0), 44 | 1); },
     kNotAMovraFile},
    {"LastPacketPastTheFile",
     [](std::string& b, const TestMovie& m) {
       setField(b, testing::indexEntryOffset(m, 3), static_cast<std::uint32_t>(b.size() + 2));
     },
     kNotAMovraFile},
    {"FileCutShort", [](std::string& b, const TestMovie&) { b.resize(b.size() - 1); }, kNotAMovraFile},
};

class ReaderRefusesDamagedFile : public ReaderOpenTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(ReaderRefusesDamagedFile, WithItsReason) {
  const TestMovie movie = threeFrameMovie();
  std::string bytes = buildMovraFile(movie);
  GetParam().apply(bytes, movie);
  EXPECT_EQ(open(bytes), nullptr);
  EXPECT_STREQ(MovraReaderLastError(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Damages, ReaderRefusesDamagedFile, ::testing::ValuesIn(kDamages),
                         [](const auto& damage) { return std::string(damage.param.name); });

TEST_F(ReaderOpenTest, AcceptsExactlyTheFourVersionLetters) {
  struct Case {
    char letter;
    std::uint32_t versionFlags;
  };
  for (const Case& c : {Case{'f', 0x18000u}, Case{'g', 0x18000u}, Case{'h', 0x8000u}, Case{'i', 0u}}) {
    TestMovie movie = threeFrameMovie();
    movie.version = c.letter;
    MovraReader* reader = open(buildMovraFile(movie));
    ASSERT_NE(reader, nullptr) << c.letter;
    EXPECT_EQ(reader->flags & 0x18000u, c.versionFlags) << c.letter;
    MovraReaderClose(reader);
  }
}

TEST_F(ReaderOpenTest, ScaleModeComesFromTheOpenFlagsOrTheHeader) {
  struct Case {
    std::uint32_t headerMode, openMode, displayWidth, displayHeight, resolvedMode;
  };
  const Case cases[] = {
      {0, 0, 20, 12, 0}, {1, 0, 20, 24, 1}, {2, 0, 20, 24, 2}, {3, 0, 40, 12, 3}, {4, 0, 40, 24, 4},
      {5, 0, 40, 24, 5}, {6, 0, 20, 12, 6}, {4, 7, 20, 12, 0}, {0, 3, 40, 12, 3}, {5, 1, 20, 24, 1},
  };
  for (const Case& c : cases) {
    TestMovie movie = threeFrameMovie();
    movie.videoFlags = c.headerMode << 28;
    MovraReader* reader = open(buildMovraFile(movie), kMediaInputFlags | c.openMode << 28);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->display_width, c.displayWidth) << c.headerMode << "/" << c.openMode;
    EXPECT_EQ(reader->display_height, c.displayHeight) << c.headerMode << "/" << c.openMode;
    EXPECT_EQ(reader->flags >> 28 & 7, c.resolvedMode);
    MovraReaderClose(reader);
  }
}

TEST_F(ReaderOpenTest, AlphaIsDecodedOnlyWhenAskedForAndPresent) {
  TestMovie movie = threeFrameMovie();
  movie.videoFlags = 0x00100000;
  MovraReader* asked = open(buildMovraFile(movie));
  ASSERT_NE(asked, nullptr);
  EXPECT_NE(asked->alpha_planes[0], nullptr);
  EXPECT_NE(asked->alpha_planes[0], asked->alpha_planes[1]);
  MovraReaderClose(asked);

  MovraReader* notAsked = open(buildMovraFile(movie), 0x08004000);
  ASSERT_NE(notAsked, nullptr);
  EXPECT_EQ(notAsked->alpha_planes[0], nullptr);
  MovraReaderClose(notAsked);

  movie.videoFlags = 0;
  MovraReader* absent = open(buildMovraFile(movie));
  ASSERT_NE(absent, nullptr);
  EXPECT_EQ(absent->flags & 0x00100000, 0u);
  EXPECT_EQ(absent->alpha_planes[0], nullptr);
  MovraReaderClose(absent);
}

TEST_F(ReaderOpenTest, FrameSetsStartZeroedAndApartEvenWhenEveryFrameIsKey) {
  TestMovie movie = threeFrameMovie();
  for (TestFrame& frame : movie.frames) frame.key = true;
  MovraReader* reader = open(buildMovraFile(movie));
  ASSERT_NE(reader, nullptr);
  EXPECT_NE(reader->planes[0], reader->planes[1]);
  const std::size_t setBytes = std::size_t{reader->luma_pitch} * reader->luma_rows +
                               2 * std::size_t{reader->chroma_pitch} * reader->chroma_rows;
  for (const std::uint8_t* set : reader->planes) {
    for (std::size_t i = 0; i < setBytes; ++i) ASSERT_EQ(set[i], 0) << i;
  }
  MovraReaderClose(reader);
}

TEST_F(ReaderOpenTest, OpensAMovieInsideAnotherFileByHandle) {
  const std::string movie = buildMovraFile(threeFrameMovie());
  testing::writeFile(name_, std::string(1000, 'x') + movie + "trailing bytes");
  platform::FileHandle handle = platform::openFile(name_.c_str(), {});
  ASSERT_NE(handle, platform::kInvalidFile);
  MovraReader* reader = MovraReaderOpenHandle(handle, 1000, kMediaInputFlags);
  ASSERT_NE(reader, nullptr) << MovraReaderLastError();
  EXPECT_NE(reader->flags & kOpenFromHandle, 0u);
  MovraReaderSeek(reader, 3, 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(reader->frame_buffer) + 12, 40), std::string(40, 'c'));
  MovraReaderClose(reader);
  // The handle is still the caller's and still open.
  EXPECT_TRUE(platform::seekFile(handle, 0));
  EXPECT_TRUE(platform::closeFile(handle));
}

TEST_F(ReaderOpenTest, EachThreadSeesItsOwnLastError) {
  std::string damaged = buildMovraFile(threeFrameMovie());
  damaged[3] = 'j';
  const std::string damagedName = dir_.file("damaged.mvr");
  testing::writeFile(damagedName, damaged);
  testing::writeFile(name_, buildMovraFile(threeFrameMovie()));

  std::string failedThreadSaw;
  std::string goodThreadSaw;
  for (int round = 0; round < 50; ++round) {
    std::thread failing([&] {
      EXPECT_EQ(MovraReaderOpen(damagedName.c_str(), kMediaInputFlags), nullptr);
      failedThreadSaw = MovraReaderLastError();
    });
    std::thread opening([&] {
      MovraReader* reader = MovraReaderOpen(name_.c_str(), kMediaInputFlags);
      goodThreadSaw = MovraReaderLastError();
      MovraReaderClose(reader);
    });
    failing.join();
    opening.join();
    ASSERT_EQ(failedThreadSaw, kNotAMovraFile);
    ASSERT_EQ(goodThreadSaw, "");
  }
}

}  // namespace
}  // namespace zet
