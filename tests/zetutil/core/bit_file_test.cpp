// The buffered bit file through the exported interface, with the library's
// own write-failure report.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bit_file.h"
#include "temp_dir.h"
#include "zetutil.h"

namespace {

using zet::testing::readFile;
using zet::testing::TempDir;
using zet::testing::writeFile;

constexpr std::int32_t kBufferSizes[] = {0, 1, 2, 4096};

std::string bytes(std::initializer_list<int> values) {
  std::string text;
  for (int value : values) text.push_back(static_cast<char>(value));
  return text;
}

class BitFileTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name = "file.bin") const { return dir_.file(name); }

  ZetFile openWith(const std::string& content, std::int32_t bufferSize, std::uint32_t mode = ZET_FILE_READ) {
    writeFile(path(), content);
    return ZetFileOpen(bufferSize, path().c_str(), mode);
  }

  TempDir dir_;
};

struct WriteCase {
  const char* what;
  std::function<void(ZetFile)> write;
  std::string expected;
};

TEST_F(BitFileTest, WritesTheBitStreamLeastSignificantBitFirst) {
  const WriteCase cases[] = {
      {"3 bits then 1 bit make one byte",
       [](ZetFile f) {
         ZetFilePutBits(f, 5, 3);
         ZetFilePutBits(f, 1, 1);
       },
       bytes({13})},
      {"a byte after 3 bits continues the stream; close pads",
       [](ZetFile f) {
         ZetFilePutBits(f, 1, 1);
         ZetFilePutBits(f, 0, 1);
         ZetFilePutBits(f, 1, 1);
         ZetFilePut8(f, 255);
       },
       bytes({0xFD, 0x07})},
      {"words are little-endian",
       [](ZetFile f) {
         ZetFilePut16(f, 0x1234);
         ZetFilePut32(f, 0x89ABCDEF);
       },
       bytes({0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x89})},
      {"a 12-bit field spans two bytes",
       [](ZetFile f) {
         ZetFilePutBits(f, 0xABC, 12);
         ZetFileByteAlign(f);
       },
       bytes({0xBC, 0x0A})},
      {"widths wrap modulo 32, 64 counts as 32 and 0 writes nothing",
       [](ZetFile f) {
         ZetFilePutBits(f, 1, 33);
         ZetFilePutBits(f, 0xFFFFFFFF, 0);
         ZetFilePutBits(f, 0x81020304, 64);
       },
       bytes({0x09, 0x06, 0x04, 0x02, 0x01})},
      {"whole bytes ignore the bit cursor; the pending bits follow them",
       [](ZetFile f) {
         ZetFilePutBits(f, 1, 1);
         ZetFilePutNB(f, "AB", 2);
       },
       bytes({'A', 'B', 0x01})},
      {"bit-aware bytes are shifted into the stream",
       [](ZetFile f) {
         ZetFilePutBits(f, 1, 1);
         ZetFilePut(f, "\x80\x01", 2);
       },
       bytes({0x01, 0x03, 0x00})},
      {"a flush pads the partial byte and the stream goes on byte-aligned",
       [](ZetFile f) {
         ZetFilePutBits(f, 3, 2);
         ZetFileFlush(f, 0);
         ZetFilePutBits(f, 1, 1);
       },
       bytes({0x03, 0x01})},
      {"aligning a writer pads with zero bytes",
       [](ZetFile f) {
         ZetFilePutBits(f, 1, 1);
         ZetFileAlign(f, 4);
       },
       bytes({0x01, 0x00, 0x00, 0x00})},
  };
  for (const WriteCase& c : cases) {
    for (std::int32_t bufferSize : kBufferSizes) {
      SCOPED_TRACE(testing::Message() << c.what << ", buffer " << bufferSize);
      ZetFile f = ZetFileCreate(bufferSize, path().c_str());
      ASSERT_NE(f, nullptr);
      c.write(f);
      ZetFileClose(f);
      EXPECT_EQ(readFile(path()), c.expected);
    }
  }
}

struct ReadCase {
  const char* what;
  std::string content;
  std::function<void(ZetFile)> check;
};

TEST_F(BitFileTest, ReadsTheBitStreamLeastSignificantBitFirst) {
  const ReadCase cases[] = {
      {"32 bits are a little-endian word", bytes({1, 2, 3, 4}),
       [](ZetFile f) { EXPECT_EQ(ZetFileGetBits(f, 32), 0x04030201u); }},
      {"two nibbles: low first", bytes({0xAB}),
       [](ZetFile f) {
         EXPECT_EQ(ZetFileGetBits(f, 4), 0xBu);
         EXPECT_EQ(ZetFileGetBits(f, 4), 0xAu);
       }},
      {"a partly read byte is the current position", bytes({0xFF, 0xFF}),
       [](ZetFile f) {
         ZetFileGetBits(f, 3);
         EXPECT_EQ(ZetFileGetPos(f), 0u);
         EXPECT_EQ(ZetFileBitPos(f), 3u);
         ZetFileGetBits(f, 5);
         EXPECT_EQ(ZetFileGetPos(f), 1u);
         EXPECT_EQ(ZetFileBitPos(f), 0u);
       }},
      {"a 12-bit field spans two bytes", bytes({0xBC, 0x0A}),
       [](ZetFile f) { EXPECT_EQ(ZetFileGetBits(f, 12), 0xABCu); }},
      {"bytes after 4 bits are the next 8 bits each", bytes({0x21, 0x43, 0x65}),
       [](ZetFile f) {
         EXPECT_EQ(ZetFileGetBits(f, 4), 0x1u);
         std::uint8_t two[2] = {};
         EXPECT_EQ(ZetFileGet(f, two, 2), 2u);
         EXPECT_EQ(two[0], 0x32);
         EXPECT_EQ(two[1], 0x54);
         EXPECT_EQ(ZetFileGetBits(f, 4), 0x6u);
       }},
      {"the fixed-size readers continue the stream too", bytes({0x21, 0x43, 0x65, 0x87, 0xA9, 0xCB, 0xED, 0x0F}),
       [](ZetFile f) {
         EXPECT_EQ(ZetFileGetBits(f, 4), 0x1u);
         EXPECT_EQ(ZetFileGet8(f), 0x32);
         EXPECT_EQ(ZetFileGet16(f), 0x7654);
         EXPECT_EQ(ZetFileGet32(f), 0xFEDCBA98u);
       }},
      {"whole bytes ignore the bit cursor", bytes({0xAB, 'x'}),
       [](ZetFile f) {
         EXPECT_EQ(ZetFileGetBits(f, 4), 0xBu);
         char one = 0;
         EXPECT_EQ(ZetFileGetNB(f, &one, 1), 1u);
         EXPECT_EQ(one, 'x');
         EXPECT_EQ(ZetFileGetBits(f, 4), 0xAu);
       }},
      {"widths wrap modulo 32 and 0 reads nothing", bytes({0x09, 0x06, 0x04, 0x02, 0x01}),
       [](ZetFile f) {
         EXPECT_EQ(ZetFileGetBits(f, 0), 0u);
         EXPECT_EQ(ZetFileGetBits(f, 33), 1u);
         EXPECT_EQ(ZetFileGetBits(f, 64), 0x81020304u);
       }},
      {"missing bytes read as 0", bytes({1, 2}),
       [](ZetFile f) {
         EXPECT_EQ(ZetFileGet32(f), 0x0201u);
         EXPECT_EQ(ZetFileGet8(f), 0);
         EXPECT_EQ(ZetFileGetBits(f, 5), 0u);
         EXPECT_TRUE(ZetFileAtEnd(f));
       }},
      {"bits past the end read as 0 and finish the byte", bytes({0xFF}),
       [](ZetFile f) {
         EXPECT_EQ(ZetFileGetBits(f, 6), 0x3Fu);
         EXPECT_FALSE(ZetFileAtEnd(f));
         EXPECT_EQ(ZetFileGetBits(f, 7), 0x3u);
         EXPECT_TRUE(ZetFileAtEnd(f));
         EXPECT_EQ(ZetFileGetPos(f), 1u);
       }},
  };
  for (const ReadCase& c : cases) {
    for (std::int32_t bufferSize : kBufferSizes) {
      SCOPED_TRACE(testing::Message() << c.what << ", buffer " << bufferSize);
      ZetFile f = openWith(c.content, bufferSize);
      ASSERT_NE(f, nullptr);
      c.check(f);
      ZetFileClose(f);
    }
  }
}

TEST_F(BitFileTest, ReadsLinesWithoutTheirEnds) {
  for (std::int32_t bufferSize : kBufferSizes) {
    SCOPED_TRACE(testing::Message() << "buffer " << bufferSize);
    char line[64];
    ZetFile f = openWith("abc\r\n\r\nxyz", bufferSize);
    EXPECT_STREQ(ZetFileGetLine(f, line, sizeof line), "abc");
    EXPECT_FALSE(ZetFileAtEnd(f));
    EXPECT_STREQ(ZetFileGetLine(f, line, sizeof line), "");
    EXPECT_STREQ(ZetFileGetLine(f, line, sizeof line), "xyz");
    EXPECT_TRUE(ZetFileAtEnd(f));
    EXPECT_STREQ(ZetFileGetLine(f, line, sizeof line), "");
    ZetFileClose(f);

    f = openWith("abcdef\n", bufferSize);
    EXPECT_STREQ(ZetFileGetLine(f, line, 4), "abc");
    EXPECT_STREQ(ZetFileGetLine(f, line, 4), "def");
    ZetFileClose(f);
  }
}

TEST_F(BitFileTest, LineBuffersTooSmallForTextGetOnlyTheirTerminator) {
  ZetFile f = openWith("abc\n", 16);
  char line[2] = {'x', 'x'};
  EXPECT_EQ(ZetFileGetLine(f, line, 1), line);
  EXPECT_EQ(line[0], '\0');
  line[0] = 'x';
  ZetFileGetLine(f, line, 0);
  EXPECT_EQ(line[0], 'x');
  EXPECT_EQ(ZetFileGetLine(f, nullptr, 10), nullptr);
  EXPECT_EQ(ZetFileGetPos(f), 0u);
  ZetFileClose(f);
}

TEST_F(BitFileTest, AlignsToTheNextMultipleGrowingTheFileWithZeros) {
  std::string content(3000, '\x5A');
  ZetFile f = openWith(content, 1024, ZET_FILE_READ_WRITE);
  ZetFileSetPos(f, 2048, 0);
  ZetFileAlign(f, 2048);
  EXPECT_EQ(ZetFileGetPos(f), 2048u);

  ZetFileSetPos(f, 2049, 0);
  ZetFileAlign(f, 2048);
  EXPECT_EQ(ZetFileGetPos(f), 4096u);
  EXPECT_EQ(ZetFileSize(f), 4096u);
  ZetFileClose(f);
  EXPECT_EQ(readFile(path()), content + std::string(1096, '\0'));

  f = ZetFileOpen(1024, path().c_str(), ZET_FILE_READ);
  ZetFileSetPos(f, 10, 0);
  ZetFileAlign(f, 16);
  EXPECT_EQ(ZetFileGetPos(f), 16u);
  EXPECT_EQ(ZetFileSize(f), 4096u);

  // Alignments 0 and 1 only finish the partly read byte.
  ZetFileGetBits(f, 3);
  ZetFileAlign(f, 0);
  EXPECT_EQ(ZetFileGetPos(f), 17u);
  EXPECT_EQ(ZetFileBitPos(f), 0u);
  ZetFileGetBits(f, 3);
  ZetFileAlign(f, 1);
  EXPECT_EQ(ZetFileGetPos(f), 18u);
  ZetFileClose(f);
}

TEST_F(BitFileTest, OpensOnlyInItsTwoModes) {
  writeFile(path(), "data");
  EXPECT_EQ(ZetFileOpen(0, path().c_str(), 249), nullptr);
  EXPECT_EQ(ZetFileOpen(0, path().c_str(), 252), nullptr);
  EXPECT_EQ(ZetFileOpen(0, path("missing").c_str(), ZET_FILE_READ), nullptr);
  EXPECT_EQ(ZetFileOpen(0, nullptr, ZET_FILE_READ), nullptr);
  EXPECT_EQ(ZetFileOpen(0, "", ZET_FILE_READ), nullptr);
  EXPECT_EQ(ZetFileCreate(0, nullptr), nullptr);
  EXPECT_EQ(ZetFileCreate(0, dir_.path().c_str()), nullptr);

  ZetFile f = ZetFileOpen(0, path().c_str(), ZET_FILE_READ);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(ZetFileGet32(f), 0x61746164u);
  ZetFileClose(f);
}

TEST_F(BitFileTest, RefusesNamesLongerThanTheRecordHolds) {
  const std::string folder = dir_.path().string() + "/";
  ASSERT_LT(folder.size(), 100u);
  const std::string longest = folder + std::string(zet::kExportedFileNameCapacity - folder.size(), 'n');
  const std::string tooLong = longest + "n";

  ZetFile f = ZetFileCreate(0, longest.c_str());
  ASSERT_NE(f, nullptr);
  char name[128];
  EXPECT_STREQ(ZetFileGetName(f, name), longest.c_str());
  EXPECT_STREQ(name, longest.c_str());
  ZetFileClose(f);

  EXPECT_EQ(ZetFileCreate(0, tooLong.c_str()), nullptr);
  EXPECT_EQ(ZetFileCreateWithRead(0, tooLong.c_str()), nullptr);
  EXPECT_FALSE(std::filesystem::exists(tooLong));
  std::filesystem::copy_file(longest, tooLong);
  EXPECT_EQ(ZetFileOpen(0, tooLong.c_str(), ZET_FILE_READ), nullptr);
}

TEST_F(BitFileTest, LibraryCallersTakeWholePathBuffers) {
  // Inside the libraries names live in 256-byte buffers (the encoder's
  // temporary name among them), so the internal calls take 255 bytes.
  std::string longest = dir_.path().string() + "/";
  while (longest.size() + 100 < zet::kFileNameCapacity) {
    longest += std::string(99, 'd') + "/";
    std::filesystem::create_directory(longest);
  }
  longest += std::string(zet::kFileNameCapacity - longest.size(), 'n');

  ZetFileRecord* f = zet::fileCreate(0, longest.c_str(), false);
  ASSERT_NE(f, nullptr);
  char name[zet::kFileNameCapacity + 1];
  EXPECT_STREQ(zet::fileGetName(f, name), longest.c_str());
  zet::fileClose(f);
  EXPECT_EQ(zet::fileCreate(0, (longest + "n").c_str(), false), nullptr);
}

TEST_F(BitFileTest, CreateHoldsTheFileAndCreateWithReadLetsReadersIn) {
  ZetFile writer = ZetFileCreate(4096, path().c_str());
  EXPECT_EQ(ZetFileOpen(0, path().c_str(), ZET_FILE_READ), nullptr);
  ZetFileClose(writer);

  writer = ZetFileCreateWithRead(4096, path().c_str());
  ZetFilePut(writer, "abc", 3);
  ZetFileFlush(writer, 0);
  ZetFile reader = ZetFileOpen(0, path().c_str(), ZET_FILE_READ);
  ASSERT_NE(reader, nullptr);
  char got[3] = {};
  EXPECT_EQ(ZetFileGet(reader, got, 3), 3u);
  EXPECT_EQ(std::string(got, 3), "abc");
  ZetFileClose(reader);
  ZetFileClose(writer);
}

TEST_F(BitFileTest, BufferedBytesCountInTheSizeAndReachTheFileOnFlush) {
  ZetFile f = ZetFileCreateWithRead(4096, path().c_str());
  ZetFilePut(f, "0123456789", 10);
  EXPECT_EQ(ZetFileSize(f), 10u);
  EXPECT_TRUE(ZetFileAtEnd(f));
  EXPECT_EQ(readFile(path()), "");
  ZetFileFlush(f, 1);
  EXPECT_EQ(readFile(path()), "0123456789");
  EXPECT_FALSE(zet::fileWriteFailed(f));
  ZetFileClose(f);
}

TEST_F(BitFileTest, ANegativeBufferSizeMeansItsAbsoluteValue) {
  ZetFile f = openWith(std::string(32, 'z'), -16);
  EXPECT_FALSE(ZetFileIsInBuffer(f, 0, 0));
  ZetFileGet8(f);
  EXPECT_TRUE(ZetFileIsInBuffer(f, 0, 0));
  EXPECT_TRUE(ZetFileIsInBuffer(f, 15, 0));
  EXPECT_FALSE(ZetFileIsInBuffer(f, 16, 0));
  EXPECT_FALSE(ZetFileIsInBuffer(f, 0, 1));
  ZetFileClose(f);
}

TEST_F(BitFileTest, MovingInsideTheReadBufferLeavesTheSystemFileAlone) {
  std::string content(100, 'a');
  ZetFile f = openWith(content, 64);
  EXPECT_EQ(ZetFileGet8(f), 'a');
  // Changed underneath the handle: only a system read can see this.
  writeFile(path(), std::string(100, 'b'));

  EXPECT_EQ(ZetFileSetPos(f, 10, 0), 1u);
  EXPECT_EQ(ZetFileGet8(f), 'a');
  ZetFileGetBits(f, 3);
  EXPECT_EQ(ZetFileSetPos(f, 5, 0), 11u);
  EXPECT_EQ(ZetFileBitPos(f), 0u);
  EXPECT_EQ(ZetFileGet8(f), 'a');

  ZetFileSetPos(f, 80, 0);
  EXPECT_FALSE(ZetFileIsInBuffer(f, 10, 0));
  EXPECT_EQ(ZetFileGet8(f), 'b');
  ZetFileClose(f);
}

TEST_F(BitFileTest, MovingToTheCurrentPositionKeepsAPartlyReadByte) {
  ZetFile f = openWith(bytes({0xAB}), 16);
  EXPECT_EQ(ZetFileGetBits(f, 4), 0xBu);
  EXPECT_EQ(ZetFileSetPos(f, 0, 0), 0u);
  EXPECT_EQ(ZetFileBitPos(f), 4u);
  EXPECT_EQ(ZetFileGetBits(f, 4), 0xAu);
  ZetFileClose(f);
}

TEST_F(BitFileTest, SwitchesBetweenWritingAndReadingOnOneHandle) {
  for (std::int32_t bufferSize : kBufferSizes) {
    SCOPED_TRACE(testing::Message() << "buffer " << bufferSize);
    ZetFile f = ZetFileCreate(bufferSize, path().c_str());
    ZetFilePut(f, "hello world", 11);
    ZetFilePutBits(f, 5, 3);
    // A read at the end finds nothing, but the partial byte went out first.
    EXPECT_EQ(ZetFileGet8(f), 0);
    EXPECT_EQ(ZetFileSize(f), 12u);
    EXPECT_EQ(ZetFileSetPos(f, 6, 0), 12u);
    char word[5] = {};
    EXPECT_EQ(ZetFileGet(f, word, 5), 5u);
    EXPECT_EQ(std::string(word, 5), "world");
    EXPECT_EQ(ZetFileGetBits(f, 3), 5u);

    // Writing after a partly read byte starts at that byte.
    ZetFileSetPos(f, 0, 0);
    EXPECT_EQ(ZetFileGetBits(f, 4), 0x8u);  // 'h' is 0x68
    ZetFilePut8(f, 'H');
    EXPECT_EQ(ZetFileGetPos(f), 1u);
    EXPECT_EQ(ZetFileGet8(f), 'e');
    ZetFilePutNB(f, "LLO", 3);
    ZetFileClose(f);
    EXPECT_EQ(readFile(path()), "HeLLO world\x05");
  }
}

TEST_F(BitFileTest, PositionsGoPastFourGigabytes) {
  constexpr std::uint64_t kFiveGigabytes = 5ull << 30;
  ZetFile f = ZetFileCreate(4096, path().c_str());
  ZetFilePut8(f, 1);
  EXPECT_EQ(ZetFileSetPos(f, static_cast<std::uint32_t>(kFiveGigabytes), kFiveGigabytes >> 32), 1u);
  EXPECT_EQ(ZetFileGetPos(f), kFiveGigabytes);
  ZetFilePut32(f, 0xCAFEF00D);
  EXPECT_EQ(ZetFileGetPos(f), kFiveGigabytes + 4);
  EXPECT_EQ(ZetFileSize(f), kFiveGigabytes + 4);
  ZetFileClose(f);
  EXPECT_EQ(std::filesystem::file_size(path()), kFiveGigabytes + 4);

  f = ZetFileOpen(4096, path().c_str(), ZET_FILE_READ);
  EXPECT_EQ(ZetFileSize(f), kFiveGigabytes + 4);
  ZetFileSetPos(f, static_cast<std::uint32_t>(kFiveGigabytes), kFiveGigabytes >> 32);
  EXPECT_FALSE(ZetFileAtEnd(f));
  EXPECT_EQ(ZetFileGet16(f), 0xF00D);
  EXPECT_TRUE(ZetFileIsInBuffer(f, static_cast<std::uint32_t>(kFiveGigabytes), kFiveGigabytes >> 32));
  EXPECT_EQ(ZetFileGet16(f), 0xCAFE);
  EXPECT_TRUE(ZetFileAtEnd(f));
  ZetFileClose(f);
}

TEST_F(BitFileTest, AMoveTheSystemRefusesStopsReadsAndWritesUntilTheNextMove) {
  for (std::uint32_t mode : {ZET_FILE_READ, ZET_FILE_READ_WRITE}) {
    SCOPED_TRACE(testing::Message() << "mode " << mode);
    ZetFile f = openWith("abcdef", 4, mode);
    EXPECT_EQ(ZetFileGet8(f), 'a');
    if (mode == ZET_FILE_READ_WRITE) ZetFilePut8(f, 'B');
    // No system takes a position at or above 2^63.
    EXPECT_EQ(ZetFileSetPos(f, 0, 0x80000000u), mode == ZET_FILE_READ ? 1u : 2u);
    EXPECT_EQ(ZetFileGetPos(f), zet::kUnknownFilePosition);
    char two[2] = {};
    EXPECT_EQ(ZetFileGet8(f), 0);
    EXPECT_EQ(ZetFileGetBits(f, 12), 0u);
    EXPECT_EQ(ZetFileGetNB(f, two, 2), 0u);
    EXPECT_EQ(ZetFilePutNB(f, "xy", 2), 0u);
    EXPECT_EQ(ZetFilePut32(f, 7), 0u);
    EXPECT_EQ(ZetFilePutBits(f, 7, 3), 0u);
    EXPECT_TRUE(ZetFileAtEnd(f));
    EXPECT_EQ(ZetFileSize(f), 6u);
    char line[8];
    EXPECT_STREQ(ZetFileGetLine(f, line, sizeof line), "");

    EXPECT_EQ(ZetFileSetPos(f, 2, 0), zet::kUnknownFilePosition);
    EXPECT_EQ(ZetFileGet8(f), 'c');
    ZetFileClose(f);
    EXPECT_EQ(readFile(path()), mode == ZET_FILE_READ ? "abcdef" : "aBcdef");
  }
}

TEST_F(BitFileTest, StampsRoundTripThroughTheFileTimes) {
  ZetFile f = ZetFileCreate(4096, path().c_str());
  // The stamp counts units of 2^32 * 100 ns since 1601.
  const auto now = static_cast<std::uint64_t>(std::time(nullptr));
  const std::uint64_t expected = ((now + 11644473600ull) * 10000000ull) >> 32;
  const std::uint32_t stamp = ZetFileGetTime(f);
  EXPECT_NEAR(static_cast<double>(stamp), static_cast<double>(expected), 1.0);

  ZetFilePut(f, "pending", 7);
  ZetFileSetTime(f, stamp - 1000);
  ZetFileClose(f);
  EXPECT_EQ(readFile(path()), "pending");

  f = ZetFileOpen(0, path().c_str(), ZET_FILE_READ);
  EXPECT_EQ(ZetFileGetTime(f), stamp - 1000);
  ZetFileClose(f);
}

TEST_F(BitFileTest, EraseAndRenameTellAMissingFileFromOtherFailures) {
  writeFile(path("old"), "old");
  writeFile(path("new"), "replaced");
  EXPECT_EQ(ZetFileRename(path("gone").c_str(), path("missing").c_str()), 1);
  EXPECT_EQ(ZetFileRename(path("no-folder/new").c_str(), path("old").c_str()), 2);
  EXPECT_EQ(ZetFileRename(path("new").c_str(), path("old").c_str()), 0);
  EXPECT_EQ(readFile(path("new")), "old");
  EXPECT_FALSE(std::filesystem::exists(path("old")));
  EXPECT_EQ(ZetFileRename(nullptr, path("new").c_str()), 2);

  EXPECT_EQ(ZetFileErase(path("new").c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists(path("new")));
  EXPECT_EQ(ZetFileErase(path("new").c_str()), 1);
  EXPECT_EQ(ZetFileErase(dir_.path().c_str()), 2);
  EXPECT_EQ(ZetFileErase(nullptr), 2);
}

TEST(BitFileNullHandle, EveryCallGivesItsFailureResult) {
  char out[128] = "unchanged";
  std::uint8_t data[4] = {1, 2, 3, 4};
  EXPECT_EQ(ZetFileGetName(nullptr, out), nullptr);
  EXPECT_STREQ(out, "unchanged");
  EXPECT_EQ(ZetFileGetNB(nullptr, data, 4), 0u);
  EXPECT_EQ(ZetFileGet(nullptr, data, 4), 0u);
  EXPECT_EQ(ZetFileGet8(nullptr), 0);
  EXPECT_EQ(ZetFileGet16(nullptr), 0);
  EXPECT_EQ(ZetFileGet32(nullptr), 0u);
  EXPECT_EQ(ZetFileGetBits(nullptr, 7), 0u);
  EXPECT_STREQ(ZetFileGetLine(nullptr, out, sizeof out), "");
  EXPECT_EQ(ZetFilePutNB(nullptr, data, 4), 0u);
  EXPECT_EQ(ZetFilePut(nullptr, data, 4), 0u);
  EXPECT_EQ(ZetFilePut8(nullptr, 9), 0);
  EXPECT_EQ(ZetFilePut16(nullptr, 9), 0);
  EXPECT_EQ(ZetFilePut32(nullptr, 9), 0u);
  EXPECT_EQ(ZetFilePutBits(nullptr, 9, 4), 0u);
  EXPECT_EQ(ZetFileGetPos(nullptr), 0u);
  EXPECT_EQ(ZetFileSetPos(nullptr, 5, 0), 0u);
  EXPECT_EQ(ZetFileBitPos(nullptr), 0u);
  EXPECT_EQ(ZetFileSize(nullptr), 0u);
  EXPECT_EQ(ZetFileAtEnd(nullptr), 1);
  EXPECT_EQ(ZetFileIsInBuffer(nullptr, 0, 0), 0);
  EXPECT_EQ(ZetFileGetTime(nullptr), 0u);
  ZetFileByteAlign(nullptr);
  ZetFileAlign(nullptr, 16);
  ZetFileFlush(nullptr, 1);
  ZetFileSetTime(nullptr, 1);
  ZetFileClose(nullptr);
  EXPECT_TRUE(zet::fileWriteFailed(nullptr));
  EXPECT_FALSE(zet::fileCloseChecked(nullptr));
}

TEST_F(BitFileTest, EmptyTransfersAndMissingBuffersMoveNothing) {
  ZetFile f = openWith("abc", 16, ZET_FILE_READ_WRITE);
  EXPECT_EQ(ZetFileGetNB(f, nullptr, 3), 0u);
  EXPECT_EQ(ZetFileGet(f, nullptr, 3), 0u);
  char one = 0;
  EXPECT_EQ(ZetFileGetNB(f, &one, 0), 0u);
  EXPECT_EQ(ZetFilePutNB(f, nullptr, 3), 0u);
  EXPECT_EQ(ZetFilePut(f, &one, 0), 0u);
  EXPECT_EQ(ZetFileGetPos(f), 0u);
  ZetFileClose(f);
  EXPECT_EQ(readFile(path()), "abc");
}

// Runs `body` in a child process whose files may grow to `limit` bytes; the
// system then refuses to write further instead of stopping the process.
int exitCodeWithFileSizeLimit(rlim_t limit, const std::function<int()>& body) {
  pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit fileSize{limit, limit};
    if (setrlimit(RLIMIT_FSIZE, &fileSize) != 0) _exit(100);
    _exit(body());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 200;
}

TEST_F(BitFileTest, WritersLearnOfAFullDiskThroughTheWriteFailedFlag) {
  const std::string name = path();
  const std::string payload(1500, 'p');

  // Everything fits: no failure.
  EXPECT_EQ(exitCodeWithFileSizeLimit(1000, [&] {
              ZetFileRecord* f = zet::fileCreate(4096, name.c_str(), false);
              zet::filePut(f, payload.data(), 900);
              return (zet::fileWriteFailed(f) ? 1 : 0) | (zet::fileCloseChecked(f) ? 0 : 2);
            }),
            0);

  // The bytes wait in the buffer, so only the final flush at close fails.
  EXPECT_EQ(exitCodeWithFileSizeLimit(1000, [&] {
              ZetFileRecord* f = zet::fileCreate(4096, name.c_str(), false);
              zet::filePut(f, payload.data(), 1500);
              return (zet::fileWriteFailed(f) ? 1 : 0) | (zet::fileCloseChecked(f) ? 2 : 0);
            }),
            0);

  // Unbuffered, the count returned is what the system took.
  EXPECT_EQ(exitCodeWithFileSizeLimit(1000, [&] {
              ZetFileRecord* f = zet::fileCreate(0, name.c_str(), false);
              std::uint32_t taken = zet::filePutWholeBytes(f, payload.data(), 1500);
              int result = (taken == 1000 ? 0 : 1) | (zet::fileWriteFailed(f) ? 0 : 2);
              // The flag stays set even when later writes succeed.
              zet::fileSetPos(f, 0);
              zet::filePut8(f, 'q');
              result |= zet::fileWriteFailed(f) ? 0 : 4;
              return result | (zet::fileCloseChecked(f) ? 8 : 0);
            }),
            0);
  EXPECT_EQ(std::filesystem::file_size(name), 1000u);

  // Buffered, the count leaves out this call's bytes that a full buffer lost:
  // 10 of them reached the file and the last 894 wait in the buffer.
  EXPECT_EQ(exitCodeWithFileSizeLimit(1000, [&] {
              const std::string large(4000, 'l');
              ZetFileRecord* f = zet::fileCreate(4096, name.c_str(), false);
              zet::filePut(f, payload.data(), 990);
              std::uint32_t taken = zet::filePut(f, large.data(), 4000);
              zet::fileClose(f);
              return taken == 904 ? 0 : 1;
            }),
            0);

  // A hard flush reports the failure before close.
  EXPECT_EQ(exitCodeWithFileSizeLimit(1000, [&] {
              ZetFileRecord* f = zet::fileCreate(4096, name.c_str(), false);
              zet::filePut(f, payload.data(), 1500);
              zet::fileFlush(f, true);
              int result = zet::fileWriteFailed(f) ? 0 : 1;
              zet::fileClose(f);
              return result;
            }),
            0);
}

TEST_F(BitFileTest, WritingToAReadOnlyHandleFailsAtTheFlush) {
  writeFile(path(), "abc");
  ZetFileRecord* f = zet::fileOpen(16, path().c_str(), zet::kFileOpenRead);
  zet::filePut(f, "xyz", 3);
  EXPECT_FALSE(zet::fileWriteFailed(f));
  EXPECT_FALSE(zet::fileCloseChecked(f));
  EXPECT_EQ(readFile(path()), "abc");
}

}  // namespace
