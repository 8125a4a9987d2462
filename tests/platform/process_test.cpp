#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "platform/file.h"
#include "platform/process.h"
#include "scoped_environment.h"
#include "temp_dir.h"

namespace platform {
namespace {

using zet::testing::readFile;
using zet::testing::TempDir;
using zet::testing::writeFile;

// A folder placed first on PATH holding scripts that write their working
// folder and arguments, one a line, to a file of the test.
class ProgramStart : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(bin_);
    environment_.set("PATH", bin_.string() + ":/usr/bin:/bin");
  }

  void addRecorder(const std::string& name) {
    const std::string script = (bin_ / name).string();
    writeFile(script, "#!/bin/sh\nprintf '%s\\n' \"$PWD\" \"$@\" > '" + output_ + ".part' && mv '" + output_ +
                          ".part' '" + output_ + "'\n");
    ASSERT_EQ(chmod(script.c_str(), 0755), 0);
  }

  // The lines the started program wrote, waiting a while for it.
  std::vector<std::string> recorded() const {
    for (int wait = 0; wait < 1000 && !fileExists(output_.c_str()); ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::vector<std::string> lines;
    std::string text = readFile(output_);
    for (std::size_t end; (end = text.find('\n')) != std::string::npos; text.erase(0, end + 1)) {
      lines.push_back(text.substr(0, end));
    }
    return lines;
  }

  TempDir dir_;
  std::filesystem::path bin_ = dir_.path() / "bin";
  std::string output_ = dir_.file("recorded");
  testing::ScopedEnvironment environment_;
};

TEST_F(ProgramStart, RunsTheProgramWithTheSplitArgumentsInTheWorkingFolder) {
  addRecorder("recorder");
  std::string error;
  ASSERT_TRUE(startProgram("recorder", "recorder \"two words\" a\\\"b \"\"", dir_.path().c_str(), &error)) << error;
  const std::vector<std::string> lines = recorded();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_TRUE(sameExistingFile(lines[0].c_str(), dir_.path().c_str()));
  EXPECT_EQ(lines[1], "two words");
  EXPECT_EQ(lines[2], "a\"b");
  EXPECT_EQ(lines[3], "");
}

TEST_F(ProgramStart, LeavesNoChildToReap) {
  addRecorder("recorder");
  ASSERT_TRUE(startProgram("recorder", "recorder", nullptr, nullptr));
  recorded();
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(ProgramStart, EmptyProgramNameTakesTheFirstArgument) {
  addRecorder("recorder");
  ASSERT_TRUE(startProgram("", "recorder x", "", nullptr));
  const std::vector<std::string> lines = recorded();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "x");
}

TEST_F(ProgramStart, ReportsWhyAProgramCannotStart) {
  const std::string notExecutable = dir_.file("plain");
  writeFile(notExecutable, "#!/bin/sh\n");
  const std::string noFormat = dir_.file("junk");
  writeFile(noFormat, std::string("\x01\x02\x03\x04 not a program", 19));
  ASSERT_EQ(chmod(noFormat.c_str(), 0755), 0);
  addRecorder("recorder");
  struct Case {
    std::string program;
    const char* folder;
    std::string reasonPart;
  };
  const Case cases[] = {
      {"no-such-program", nullptr, "no-such-program: not found on PATH"},
      {dir_.file("missing"), nullptr, "No such file or directory"},
      {notExecutable, nullptr, "Permission denied"},
      {noFormat, nullptr, "Exec format error"},
      {"recorder", "/no/such/folder", "in /no/such/folder: No such file or directory"},
      {"", nullptr, "no program named"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    std::string error;
    EXPECT_FALSE(startProgram(c.program, "", c.folder, &error));
    EXPECT_NE(error.find(c.reasonPart), std::string::npos) << error;
  }
  EXPECT_FALSE(fileExists(output_.c_str()));
}

TEST_F(ProgramStart, OpensWithTheDesktopHandler) {
  addRecorder("xdg-open");
  std::string error;
  ASSERT_TRUE(openWithDesktop("https://example.org/a b", &error)) << error;
  const std::vector<std::string> lines = recorded();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "https://example.org/a b");
}

TEST_F(ProgramStart, DesktopOpenKeepsANameFromPassingForAnOption) {
  addRecorder("xdg-open");
  ASSERT_TRUE(openWithDesktop("--help", nullptr));
  const std::vector<std::string> lines = recorded();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "./--help");
}

TEST_F(ProgramStart, DesktopOpenWithoutAHandlerSaysSo) {
  environment_.set("PATH", bin_.string());
  std::string error;
  EXPECT_FALSE(openWithDesktop("file.avi", &error));
  EXPECT_NE(error.find("xdg-open was not found"), std::string::npos) << error;
  EXPECT_FALSE(openWithDesktop("", &error));
}

}  // namespace
}  // namespace platform
