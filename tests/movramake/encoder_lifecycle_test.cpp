// The encoder through its exported interface: creation and its refusals,
// the temporary file and the rename at close, stop requests, failures and
// the threading of the analysis passes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "movramake.h"
#include "temp_dir.h"
#include "test_movie.h"

namespace {

constexpr std::uint32_t kWidth = 48, kHeight = 32;

struct Report {
  std::uint32_t kind;
  std::string text;
  std::int32_t statusFrame;
};

struct StatusLog {
  std::vector<Report> reports;
  int stopAtFrame = -1;  // answer non-zero to this frame's "Compressing"
};
StatusLog* statusLog = nullptr;

int32_t ZET_CALL logStatus(uint32_t kind, void* subject, const char* text) {
  std::int32_t frame = 0;
  if (kind == 1) frame = static_cast<MovraMakeHandle>(subject)->status_frame;
  statusLog->reports.push_back({kind, text, frame});
  return kind == 1 && std::strcmp(text, "Compressing") == 0 && frame == statusLog->stopAtFrame ? 1 : 0;
}

std::uint32_t wordAt(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  std::memcpy(&value, bytes.data() + offset, 4);
  return value;
}

class EncoderLifecycle : public ::testing::Test {
 protected:
  void SetUp() override { statusLog = &log_; }
  void TearDown() override {
    ZetSetMemory(nullptr, nullptr);
    MovraMakeSetMaxCPUs(1);
  }

  MovraMakeHandle make(std::uint32_t frames, std::uint32_t window = 4, std::uint32_t pictureCode = 0) {
    return MovraMake(name_.c_str(), kWidth * 4, kWidth, kHeight, frames, 0, pictureCode, 15, 1, 0, nullptr, window,
                     logStatus);
  }

  void put(MovraMakeHandle handle, std::uint32_t frame) {
    const std::vector<std::uint8_t> picture = movra::testing::scenePicture(kWidth, kHeight, frame);
    MovraMakePutVideo(handle, 600, 1800, 0, picture.data());
  }

  bool hasError(const std::string& text) const {
    for (const Report& report : log_.reports) {
      if (report.kind == 2 && report.text == text) return true;
    }
    return false;
  }

  std::vector<std::string> progressTexts() const {
    std::vector<std::string> texts;
    for (const Report& report : log_.reports) {
      if (report.kind == 1) texts.push_back(report.text);
    }
    return texts;
  }

  zet::testing::TempDir dir_;
  std::string name_ = dir_.file("movie.mvr");
  StatusLog log_;
};

TEST_F(EncoderLifecycle, RefusesArgumentsThatMakeNoFileWithAMessageAndWritesNothing) {
  const std::string tooLong = dir_.file(std::string(252 - dir_.path().string().size() - 1, 'n'));
  ASSERT_EQ(tooLong.size(), 252u);
  EXPECT_EQ(MovraMake(tooLong.c_str(), 4, 8, 8, 1, 0, 0, 15, 1, 0, nullptr, 2, logStatus), nullptr);
  EXPECT_EQ(MovraMake(name_.c_str(), 4, 8, 8, 1, 0, 0, 0, 1, 0, nullptr, 2, logStatus), nullptr);
  EXPECT_EQ(MovraMake(name_.c_str(), 4, 0, 8, 1, 0, 0, 15, 1, 0, nullptr, 2, logStatus), nullptr);
  EXPECT_EQ(MovraMake(name_.c_str(), 4, 8, 8, 0, 0, 0, 15, 1, 0, nullptr, 2, logStatus), nullptr);
  EXPECT_EQ(MovraMake(name_.c_str(), 4, 8, 8, 1, 0, 0, 15, 1, 1, nullptr, 2, logStatus), nullptr);
  ASSERT_EQ(log_.reports.size(), 5u);
  for (const Report& report : log_.reports) EXPECT_EQ(report.kind, 2u);
  EXPECT_TRUE(std::filesystem::is_empty(dir_.path())) << "no temporary file is left behind";
}

TEST_F(EncoderLifecycle, ReplacesAnExistingDestinationOnlyAtASuccessfulClose) {
  zet::testing::writeFile(name_, "old contents");
  MovraMakeHandle handle = make(3);
  ASSERT_NE(handle, nullptr);
  for (std::uint32_t f = 0; f < 3; ++f) put(handle, f);
  EXPECT_EQ(zet::testing::readFile(name_), "old contents");
  EXPECT_TRUE(std::filesystem::exists(name_ + ".tmp"));
  const std::uint64_t size = MovraMakeClose(handle, 0);
  const std::string file = zet::testing::readFile(name_);
  EXPECT_EQ(size, file.size());
  EXPECT_EQ(file.substr(0, 4), "MVRi");
  EXPECT_EQ(wordAt(file, 4), file.size() - 8);
  EXPECT_EQ(wordAt(file, 8), 3u);
  EXPECT_FALSE(std::filesystem::exists(name_ + ".tmp"));
}

TEST_F(EncoderLifecycle, AnAbortDiscardsTheFileKeepsTheDestinationAndReturnsZero) {
  zet::testing::writeFile(name_, "old contents");
  MovraMakeHandle handle = make(5);
  ASSERT_NE(handle, nullptr);
  for (std::uint32_t f = 0; f < 3; ++f) put(handle, f);
  EXPECT_EQ(MovraMakeClose(handle, 1), 0u);
  EXPECT_EQ(zet::testing::readFile(name_), "old contents");
  EXPECT_FALSE(std::filesystem::exists(name_ + ".tmp"));
  EXPECT_EQ(MovraMakeClose(nullptr, 0), 0u);
}

TEST_F(EncoderLifecycle, AStopRequestFinishesTheFrameAndKeepsAValidFile) {
  log_.stopAtFrame = 2;
  MovraMakeHandle handle = make(8, 2);
  ASSERT_NE(handle, nullptr);
  for (std::uint32_t f = 0; f < 8; ++f) put(handle, f);
  EXPECT_EQ(handle->frames_written, 3u);
  EXPECT_GT(MovraMakeClose(handle, 0), 0u);
  const std::string file = zet::testing::readFile(name_);
  EXPECT_EQ(wordAt(file, 8), 3u);
  EXPECT_EQ(wordAt(file, 16), 8u);
  EXPECT_EQ(wordAt(file, 44 + 4 * 4), 0u) << "index entries of frames never written stay 0";
}

TEST_F(EncoderLifecycle, ASmallWindowCompressesOneFramePerCallAndTheRestAtTheLastFrame) {
  MovraMakeHandle handle = make(10, 2);
  ASSERT_NE(handle, nullptr);
  for (std::uint32_t f = 0; f < 10; ++f) {
    put(handle, f);
    EXPECT_EQ(handle->frames_written, f == 9 ? 10u : f) << "after frame " << f;
  }
  EXPECT_GT(MovraMakeClose(handle, 0), 0u);

  MovraMakeHandle single = make(1);
  put(single, 0);
  EXPECT_EQ(single->frames_written, 1u);
  MovraMakeClose(single, 0);
}

TEST_F(EncoderLifecycle, FramesBeyondTheAnnouncedCountAreLeftOutWithAMessage) {
  MovraMakeHandle handle = make(2);
  for (std::uint32_t f = 0; f < 4; ++f) put(handle, f);
  EXPECT_EQ(handle->frames_written, 2u);
  EXPECT_EQ(std::count_if(log_.reports.begin(), log_.reports.end(), [](const Report& r) { return r.kind == 2; }), 1);
  MovraMakeClose(handle, 0);
  EXPECT_EQ(wordAt(zet::testing::readFile(name_), 8), 2u);
}

TEST_F(EncoderLifecycle, ReportsEveryStepOfAFrameInOrder) {
  MovraMakeHandle handle = make(1, 2, 1000);
  put(handle, 0);
  MovraMakeClose(handle, 0);
  const std::vector<std::string> expected = {
      "Compressing",          "Compressing Y plane",          "Compressing Cr plane",
      "Compressing Cb plane", "Compressing alpha plane",      "Compressing Y high-plane",
      "Compressing Cr high-plane", "Compressing alpha high-plane", "Allocating bandwidth",
      "Merging multi-resolution planes", "Encoding Y plane", "Encoding Cr plane",
      "Encoding Cb plane",    "Encoding alpha plane"};
  EXPECT_EQ(progressTexts(), expected);
  EXPECT_EQ(log_.reports[0].statusFrame, 0);
  EXPECT_EQ(log_.reports[1].statusFrame, -1);

  log_.reports.clear();
  MovraMakeHandle grey = make(1, 2, 100);
  put(grey, 0);
  MovraMakeClose(grey, 0);
  const std::vector<std::string> greyTexts = {"Compressing", "Compressing Y plane", "Compressing Y high-plane",
                                              "Allocating bandwidth", "Merging multi-resolution planes",
                                              "Encoding Y plane"};
  EXPECT_EQ(progressTexts(), greyTexts);
}

TEST_F(EncoderLifecycle, TheOutputIsTheSameForOneTwoAndEightThreads) {
  std::vector<std::string> files;
  for (std::uint32_t threads : {1u, 2u, 8u}) {
    MovraMakeSetMaxCPUs(threads);
    MovraMakeHandle handle = make(6, 3);
    for (std::uint32_t f = 0; f < 6; ++f) put(handle, f);
    MovraMakeClose(handle, 0);
    files.push_back(zet::testing::readFile(name_));
  }
  EXPECT_EQ(files[0], files[1]);
  EXPECT_EQ(files[0], files[2]);
}

TEST_F(EncoderLifecycle, PacketsStayWithinTheirMaximumAndTheMovieWithinAFewPerCentOfItsTargets) {
  constexpr std::uint32_t kFrames = 60, kTarget = 700, kMaximum = 1400;
  MovraMakeHandle handle = make(kFrames, 8);
  for (std::uint32_t f = 0; f < kFrames; ++f) {
    const std::vector<std::uint8_t> picture = movra::testing::scenePicture(kWidth, kHeight, f);
    MovraMakePutVideo(handle, kTarget, kMaximum, 0, picture.data());
  }
  MovraMakeClose(handle, 0);
  const std::string file = zet::testing::readFile(name_);
  const std::uint32_t first = wordAt(file, 44) & ~1u;
  for (std::uint32_t f = 0; f < kFrames; ++f) {
    const std::uint32_t size = (wordAt(file, 44 + 4 * (f + 1)) & ~1u) - (wordAt(file, 44 + 4 * f) & ~1u);
    EXPECT_LE(size, kMaximum) << "frame " << f;
  }
  const double packets = static_cast<double>(file.size() - first);
  const double deviation = packets / (kFrames * kTarget) - 1;
  std::printf("packets %.0f bytes against %u targeted: %+.2f%%\n", packets, kFrames * kTarget, 100 * deviation);
  EXPECT_LT(std::abs(deviation), 0.05);
}

TEST_F(EncoderLifecycle, SetMaxCPUsSetsOneToThirtyTwoAndReturnsThePreviousCount) {
  const std::uint32_t start = MovraMakeSetMaxCPUs(0);
  EXPECT_GE(start, 1u);
  EXPECT_EQ(MovraMakeSetMaxCPUs(3), start);
  EXPECT_EQ(MovraMakeSetMaxCPUs(33), 3u);
  EXPECT_EQ(MovraMakeSetMaxCPUs(0), 3u);
  EXPECT_EQ(MovraMakeSetMaxCPUs(32), 3u);
  EXPECT_EQ(MovraMakeSetMaxCPUs(1), 32u);
}

TEST_F(EncoderLifecycle, AFlushFromAnotherThreadMakesTheGrowingFilePlayable) {
  MovraMakeHandle handle = make(6, 2);
  for (std::uint32_t f = 0; f < 4; ++f) put(handle, f);
  ASSERT_EQ(handle->frames_written, 3u);
  int32_t flushed = 0;
  std::thread([&] { flushed = MovraMakeFlush(handle); }).join();
  EXPECT_EQ(flushed, 1);
  const std::string copy = zet::testing::readFile(name_ + ".tmp");
  EXPECT_EQ(wordAt(copy, 8), 3u);
  EXPECT_EQ(wordAt(copy, 4), copy.size() - 8);
  EXPECT_EQ(wordAt(copy, 44 + 4 * 3), copy.size()) << "the entry after the last frame is its end";
  EXPECT_EQ(MovraMakeFlush(nullptr), 0);
  MovraMakeClose(handle, 1);
}

TEST_F(EncoderLifecycle, ADestinationThatCannotBeReplacedKeepsTheNewFileUnderItsTemporaryName) {
  std::filesystem::create_directories(name_ + "/inside");
  MovraMakeHandle handle = make(1);
  put(handle, 0);
  EXPECT_GT(MovraMakeClose(handle, 0), 0u);
  const std::string expected = "Movra couldn't overwrite, '" + name_ + "', so the new Movra file is called: '" +
                               name_ + ".tmp'.";
  EXPECT_TRUE(hasError(expected));
  EXPECT_TRUE(std::filesystem::exists(name_ + ".tmp"));
  EXPECT_TRUE(std::filesystem::is_directory(name_ + "/inside"));
}

// Memory hooks that fail every allocation after the first `allowed` ones.
std::atomic<int> allocationsLeft{0};
void* ZET_CALL rationedAllocate(uint32_t bytes) {
  if (allocationsLeft.fetch_sub(1) <= 0) return ZET_MEMORY_FAIL;
  return std::malloc(bytes);
}
void ZET_CALL releaseRationed(void* block) { std::free(block); }

TEST_F(EncoderLifecycle, RunningOutOfMemoryForTheHandleReportsItAndLeavesNothing) {
  allocationsLeft = 1;  // the file record, then not the handle
  ZetSetMemory(rationedAllocate, releaseRationed);
  EXPECT_EQ(make(3), nullptr);
  EXPECT_TRUE(hasError("Out of memory!"));
  EXPECT_TRUE(std::filesystem::is_empty(dir_.path()));
}

TEST_F(EncoderLifecycle, RunningOutOfMemoryDuringAFrameFailsTheEncodeAndKeepsTheDestination) {
  zet::testing::writeFile(name_, "old contents");
  // The handle, the file record and its buffer, then one frame's work.
  allocationsLeft = 4;
  ZetSetMemory(rationedAllocate, releaseRationed);
  MovraMakeHandle handle = make(4, 2);
  ASSERT_NE(handle, nullptr);
  for (std::uint32_t f = 0; f < 4; ++f) put(handle, f);
  EXPECT_EQ(handle->failed, 1u);
  EXPECT_TRUE(hasError("Out of memory!"));
  EXPECT_EQ(MovraMakeClose(handle, 0), 0u);
  EXPECT_EQ(zet::testing::readFile(name_), "old contents");
  EXPECT_FALSE(std::filesystem::exists(name_ + ".tmp"));
}

TEST_F(EncoderLifecycle, AShortWriteFailsTheEncodeAndKeepsTheDestination) {
  zet::testing::writeFile(name_, "old contents");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // A file-size limit stands for a full drive: writes past it come back short.
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{3000, 3000};
    setrlimit(RLIMIT_FSIZE, &limit);
    MovraMakeHandle handle = make(40, 2);
    if (!handle) _exit(10);
    // The file's buffer holds everything until a flush pushes it out.
    for (std::uint32_t f = 0; f < 20; ++f) put(handle, f);
    MovraMakeFlush(handle);
    for (std::uint32_t f = 20; f < 40; ++f) put(handle, f);
    const bool failed = handle->failed == 1;
    const bool discarded = MovraMakeClose(handle, 0) == 0;
    _exit(failed && discarded && hasError("Movra couldn't write the whole file (the drive may be full).") ? 0 : 11);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(zet::testing::readFile(name_), "old contents");
  EXPECT_FALSE(std::filesystem::exists(name_ + ".tmp"));
}

}  // namespace
