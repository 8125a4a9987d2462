#include "command_line_mode.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "profile_store.h"
#include "support/synthetic_sprite_set.h"
#include "temp_dir.h"

namespace varnel {
namespace {

class CommandLineModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folders_ = testing::writeProgramFolders(dir_.path().string());
    std::filesystem::create_directories(dir_.file("sprites"));
    std::filesystem::create_directories(dir_.file("out"));
    UnitProfile civilian;
    civilian.Name = "Civilian";
    civilian.UnitType = 3;
    civilian.SourceFile = dir_.file("sprites/civ000.bmp");
    civilian.OutputFile = dir_.file("out/civ0000.bmp");
    UnitProfile celatid = civilian;
    celatid.Name = "Celatid";
    celatid.UnitType = 6;
    ASSERT_TRUE(saveProfiles(folders_.ProfilesIni, folders_.ProfilesOld, {civilian, celatid}, 0).ok());
  }

  int run(const std::vector<std::string>& arguments) {
    out_.str("");
    err_.str("");
    return runCommandLineMode(arguments, folders_, out_, err_);
  }

  zet::testing::TempDir dir_;
  VarnelFolders folders_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(CommandLineModeTest, TellsItsOptionsFromTheWindowToolkits) {
  EXPECT_TRUE(wantsCommandLineMode({"--list"}));
  EXPECT_TRUE(wantsCommandLineMode({"--create", "x"}));
  EXPECT_FALSE(wantsCommandLineMode({}));
  EXPECT_FALSE(wantsCommandLineMode({"-platform", "offscreen"}));
}

TEST_F(CommandLineModeTest, ListsTheProfilesInFileOrder) {
  EXPECT_EQ(run({"--list"}), 0);
  EXPECT_EQ(out_.str(), "Civilian\nCelatid\n");
}

TEST_F(CommandLineModeTest, CreatesTheSequencesOfAProfile) {
  testing::writeSpriteSet(dir_.file("sprites/civ"), true);
  ASSERT_EQ(run({"--create", "Civilian", "--no-bg", "--palette", "none"}), 0) << err_.str();
  EXPECT_EQ(out_.str(),
            "Stand: 8 frames\nWalk: 64 frames\nFire: 48 frames\nDie: 9 frames\nDead body: 1 frame\n"
            "Wrote 130 frames of \"Civilian\" to \"" +
                dir_.file("out") + "\".\n");
  EXPECT_TRUE(std::filesystem::exists(dir_.file("out/civ0128.bmp")));
}

TEST_F(CommandLineModeTest, FailuresGoToTheErrorStreamWithANonZeroCode) {
  struct Case {
    std::vector<std::string> arguments;
    int code;
    const char* expected;
  };
  for (const Case& c : {Case{{"--create", "Nobody"}, 1, "no profile named \"Nobody\""},
                        Case{{"--create", "Celatid"}, 1, "no frame layout"},
                        Case{{"--create", "Civilian"}, 1, "does not exist"},
                        Case{{"--create", "Civilian", "--palette", "vga"}, 2, "unknown option \"--palette\""},
                        Case{{"--create", "Civilian", "--fast"}, 2, "unknown option \"--fast\""},
                        Case{{"--create"}, 2, "needs the name of a profile"},
                        Case{{"--list", "extra"}, 2, "Usage"}}) {
    EXPECT_EQ(run(c.arguments), c.code) << c.arguments.at(0);
    EXPECT_NE(err_.str().find(c.expected), std::string::npos) << err_.str();
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.file("out/civ0000.bmp")));
}

}  // namespace
}  // namespace varnel
