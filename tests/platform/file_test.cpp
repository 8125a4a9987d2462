#include "platform/file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <string>

#include "temp_dir.h"

namespace platform {
namespace {

using zet::testing::TempDir;

constexpr std::uint64_t kUnixEpochInWindowsTime = 116444736000000000u;

FileOpenOptions options(FileAccess access, FileShare share, FileDisposition disposition) {
  FileOpenOptions result;
  result.access = access;
  result.share = share;
  result.disposition = disposition;
  return result;
}

const FileOpenOptions kCreate = options(FileAccess::ReadWrite, FileShare::None, FileDisposition::CreateAlways);
const FileOpenOptions kRead = options(FileAccess::Read, FileShare::Read, FileDisposition::OpenExisting);

class ScopedFile {
 public:
  ScopedFile(const std::string& name, const FileOpenOptions& how) : handle_(openFile(name.c_str(), how)) {}
  ~ScopedFile() {
    if (handle_ != kInvalidFile) closeFile(handle_);
  }
  ScopedFile(const ScopedFile&) = delete;
  ScopedFile& operator=(const ScopedFile&) = delete;
  FileHandle get() const { return handle_; }
  bool isOpen() const { return handle_ != kInvalidFile; }

 private:
  FileHandle handle_;
};

TEST(File, WritesReadsSeeksAndReportsSize) {
  TempDir dir;
  const std::string name = dir.file("data.bin");
  {
    ScopedFile file(name, kCreate);
    ASSERT_TRUE(file.isOpen());
    EXPECT_EQ(writeFile(file.get(), "hello world", 11), 11);
    EXPECT_TRUE(flushFileToDisk(file.get()));
    EXPECT_EQ(fileSize(file.get()), 11u);
  }
  FileOpenOptions sequential = kRead;
  sequential.sequentialHint = true;
  ScopedFile file(name, sequential);
  ASSERT_TRUE(file.isOpen());
  ASSERT_TRUE(seekFile(file.get(), 6));
  char buffer[16] = {};
  // A read past the end moves what is there, then nothing.
  EXPECT_EQ(readFile(file.get(), buffer, sizeof buffer), 5);
  EXPECT_EQ(std::string(buffer, 5), "world");
  EXPECT_EQ(readFile(file.get(), buffer, sizeof buffer), 0);
}

TEST(File, CreateAlwaysTruncatesAnExistingFile) {
  TempDir dir;
  const std::string name = dir.file("data.bin");
  zet::testing::writeFile(name, "old contents");
  ScopedFile file(name, kCreate);
  ASSERT_TRUE(file.isOpen());
  EXPECT_EQ(fileSize(file.get()), 0u);
}

TEST(File, OpenFailsForMissingFilesFoldersAndImpossiblePaths) {
  TempDir dir;
  zet::testing::writeFile(dir.file("plain"), "x");
  EXPECT_EQ(openFile(dir.file("missing").c_str(), kRead), kInvalidFile);
  EXPECT_EQ(openFile(dir.path().c_str(), kRead), kInvalidFile);
  // Neither a missing folder nor a regular file in the folder's place can be
  // got around, not even by root.
  EXPECT_EQ(openFile(dir.file("no-folder/new").c_str(), kCreate), kInvalidFile);
  EXPECT_EQ(openFile(dir.file("plain/new").c_str(), kCreate), kInvalidFile);
  EXPECT_EQ(openFile("", kRead), kInvalidFile);
  EXPECT_EQ(openFile(nullptr, kRead), kInvalidFile);
}

TEST(File, CallsOnAnInvalidHandleFail) {
  char byte = 0;
  EXPECT_EQ(readFile(kInvalidFile, &byte, 1), -1);
  EXPECT_EQ(writeFile(kInvalidFile, &byte, 1), -1);
  EXPECT_FALSE(seekFile(kInvalidFile, 0));
  EXPECT_FALSE(fileSize(kInvalidFile));
  EXPECT_FALSE(flushFileToDisk(kInvalidFile));
  EXPECT_FALSE(fileLastWriteTime(kInvalidFile));
  EXPECT_FALSE(setFileTimes(kInvalidFile, kUnixEpochInWindowsTime));
  EXPECT_FALSE(closeFile(kInvalidFile));
}

TEST(File, WriteOnAReadOnlyHandleFails) {
  TempDir dir;
  const std::string name = dir.file("data.bin");
  zet::testing::writeFile(name, "x");
  ScopedFile file(name, kRead);
  ASSERT_TRUE(file.isOpen());
  EXPECT_EQ(writeFile(file.get(), "y", 1), -1);
}

struct ShareCase {
  FileShare first;
  FileShare second;
  bool secondOpens;
};

class FileShareModes : public ::testing::TestWithParam<ShareCase> {};

TEST_P(FileShareModes, SecondOpenerIsAdmittedOnlyWhenBothShareReading) {
  TempDir dir;
  const std::string name = dir.file("shared");
  zet::testing::writeFile(name, "x");
  const ShareCase& c = GetParam();
  {
    ScopedFile first(name, options(FileAccess::Read, c.first, FileDisposition::OpenExisting));
    ASSERT_TRUE(first.isOpen());
    ScopedFile second(name, options(FileAccess::Read, c.second, FileDisposition::OpenExisting));
    EXPECT_EQ(second.isOpen(), c.secondOpens);
  }
  // Closing releases the hold.
  ScopedFile again(name, options(FileAccess::Read, FileShare::None, FileDisposition::OpenExisting));
  EXPECT_TRUE(again.isOpen());
}

INSTANTIATE_TEST_SUITE_P(AllPairs, FileShareModes,
                         ::testing::Values(ShareCase{FileShare::Read, FileShare::Read, true},
                                           ShareCase{FileShare::Read, FileShare::None, false},
                                           ShareCase{FileShare::None, FileShare::Read, false},
                                           ShareCase{FileShare::None, FileShare::None, false}));

TEST(File, RefusedCreateLeavesTheHeldFileIntact) {
  TempDir dir;
  const std::string name = dir.file("held");
  zet::testing::writeFile(name, "precious");
  ScopedFile holder(name, options(FileAccess::Read, FileShare::None, FileDisposition::OpenExisting));
  ASSERT_TRUE(holder.isOpen());
  EXPECT_EQ(openFile(name.c_str(), kCreate), kInvalidFile);
  EXPECT_EQ(zet::testing::readFile(name), "precious");
}

struct TimeCase {
  std::uint64_t windowsTime;
  std::int64_t unixSeconds;
  long nanoseconds;
};

class FileTimes : public ::testing::TestWithParam<TimeCase> {};

TEST_P(FileTimes, ConvertBetweenWindowsAndUnixEpochs) {
  TempDir dir;
  const std::string name = dir.file("timed");
  ScopedFile file(name, kCreate);
  ASSERT_TRUE(file.isOpen());
  const TimeCase& c = GetParam();
  ASSERT_TRUE(setFileTimes(file.get(), c.windowsTime));
  EXPECT_EQ(fileLastWriteTime(file.get()), c.windowsTime);
  struct stat status {};
  ASSERT_EQ(stat(name.c_str(), &status), 0);
  EXPECT_EQ(status.st_mtim.tv_sec, c.unixSeconds);
  EXPECT_EQ(status.st_mtim.tv_nsec, c.nanoseconds);
  EXPECT_EQ(status.st_atim.tv_sec, c.unixSeconds);
}

INSTANTIATE_TEST_SUITE_P(
    AroundTheEpoch, FileTimes,
    ::testing::Values(TimeCase{kUnixEpochInWindowsTime, 0, 0},
                      TimeCase{kUnixEpochInWindowsTime + 10000000ull * 1700000000ull + 1234567u, 1700000000, 123456700},
                      // Half a microsecond before 1970.
                      TimeCase{kUnixEpochInWindowsTime - 5u, -1, 999999500}));

TEST(File, SetFileTimesRefusesTimesWithTheTopBitSet) {
  TempDir dir;
  ScopedFile file(dir.file("timed"), kCreate);
  ASSERT_TRUE(file.isOpen());
  EXPECT_FALSE(setFileTimes(file.get(), 0x8000000000000000u));
}

// The file size limit stops writes even for root, which makes a real write
// failure: the old file must come through it untouched.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  sighandler_t oldHandler_;
};

TEST(ReplaceFileContents, ReplacesAndLeavesNothingElseBehind) {
  TempDir dir;
  const std::string name = dir.file("settings.ini");
  zet::testing::writeFile(name, "old");
  ASSERT_EQ(chmod(name.c_str(), 0640), 0);
  ASSERT_TRUE(replaceFileContents(name.c_str(), "new contents"));
  EXPECT_EQ(zet::testing::readFile(name), "new contents");
  struct stat status {};
  ASSERT_EQ(stat(name.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  const auto entries = listFolder(dir.path().c_str());
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "settings.ini");
}

TEST(ReplaceFileContents, CreatesAMissingFile) {
  TempDir dir;
  const std::string name = dir.file("fresh");
  ASSERT_TRUE(replaceFileContents(name.c_str(), ""));
  EXPECT_TRUE(isRegularFile(name.c_str()));
}

TEST(ReplaceFileContents, KeepsASymbolicLinkAndReplacesItsTarget) {
  TempDir dir;
  const std::string target = dir.file("target");
  const std::string link = dir.file("link");
  zet::testing::writeFile(target, "old");
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  ASSERT_TRUE(replaceFileContents(link.c_str(), "new"));
  struct stat status {};
  ASSERT_EQ(lstat(link.c_str(), &status), 0);
  EXPECT_TRUE(S_ISLNK(status.st_mode));
  EXPECT_EQ(zet::testing::readFile(target), "new");
}

TEST(ReplaceFileContents, FailedWriteKeepsTheOldFile) {
  TempDir dir;
  const std::string name = dir.file("settings.ini");
  zet::testing::writeFile(name, "old");
  {
    FileSizeLimit limit(1024);
    EXPECT_FALSE(replaceFileContents(name.c_str(), std::string(4096, 'x')));
  }
  EXPECT_EQ(zet::testing::readFile(name), "old");
  EXPECT_EQ(listFolder(dir.path().c_str()).size(), 1u);
}

TEST(ReplaceFileContents, FailsWhereNoFileCanBe) {
  TempDir dir;
  zet::testing::writeFile(dir.file("plain"), "x");
  EXPECT_FALSE(replaceFileContents(dir.file("no-folder/name").c_str(), "x"));
  EXPECT_FALSE(replaceFileContents(dir.file("plain/name").c_str(), "x"));
  // A folder in the file's place stays as it is.
  ASSERT_EQ(mkdir(dir.file("folder").c_str(), 0755), 0);
  EXPECT_FALSE(replaceFileContents(dir.file("folder").c_str(), "x"));
  EXPECT_TRUE(isDirectory(dir.file("folder").c_str()));
  EXPECT_EQ(listFolder(dir.path().c_str()).size(), 2u);
}

}  // namespace
}  // namespace platform
