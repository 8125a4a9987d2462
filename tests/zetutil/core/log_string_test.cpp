// LogString appends texts to a log file as they are.
#include <gtest/gtest.h>

#include <string>

#include "temp_dir.h"
#include "zetutil.h"

namespace {

using zet::testing::readFile;
using zet::testing::TempDir;
using zet::testing::writeFile;

TEST(LogString, CreatesAMissingLogAndAppendsWithoutASeparator) {
  TempDir dir;
  const std::string log = dir.file("run.log");
  LogString(log.c_str(), "first");
  EXPECT_EQ(readFile(log), "first");
  LogString(log.c_str(), " second\r\n");
  LogString(log.c_str(), "");
  LogString(log.c_str(), "third");
  EXPECT_EQ(readFile(log), "first second\r\nthird");
}

TEST(LogString, AppendsPastTheEndOfALongLog) {
  TempDir dir;
  const std::string log = dir.file("long.log");
  const std::string existing(5000, 'x');
  writeFile(log, existing);
  LogString(log.c_str(), "end");
  EXPECT_EQ(readFile(log), existing + "end");
}

TEST(LogString, LeavesALogItCannotOpenAsItIs) {
  TempDir dir;
  const std::string log = dir.file("held.log");
  ZetFile holder = ZetFileCreate(0, log.c_str());
  ZetFilePut(holder, "kept", 4);
  LogString(log.c_str(), "lost");
  ZetFileClose(holder);
  EXPECT_EQ(readFile(log), "kept");

  LogString(dir.path().c_str(), "text");
  LogString(nullptr, "text");
  LogString(log.c_str(), nullptr);
  EXPECT_EQ(readFile(log), "kept");
}

}  // namespace
