#include "profile_store.h"

#include <gtest/gtest.h>
#include <filesystem>

#include "standard_functions.h"
#include "temp_dir.h"

namespace varnel {
namespace {

class ProfileStoreTest : public ::testing::Test {
 protected:
  std::string ini() const { return dir_.file("Profiles.ini"); }
  std::string old() const { return dir_.file("Profiles.old"); }

  zet::testing::TempDir dir_;
};

UnitProfile profile(const std::string& name, std::int16_t weapon, std::int16_t offset, std::int16_t type) {
  UnitProfile p;
  p.Name = name;
  p.SourceFile = "/sprites/" + name + "/unit000.bmp";
  p.OutputFile = "/out/" + name + "0000.bmp";
  p.Weapon = weapon;
  p.WeaponOffsetY = offset;
  p.UnitType = type;
  return p;
}

void expectSame(const UnitProfile& a, const UnitProfile& b) {
  EXPECT_EQ(a.Name, b.Name);
  EXPECT_EQ(a.SourceFile, b.SourceFile);
  EXPECT_EQ(a.OutputFile, b.OutputFile);
  EXPECT_EQ(a.Weapon, b.Weapon);
  EXPECT_EQ(a.WeaponOffsetY, b.WeaponOffsetY);
  EXPECT_EQ(a.UnitType, b.UnitType);
}

TEST_F(ProfileStoreTest, MissingFileGivesNoProfiles) {
  const StoredProfiles stored = loadProfiles(ini());
  EXPECT_TRUE(stored.status.ok());
  EXPECT_TRUE(stored.profiles.empty());
  EXPECT_EQ(stored.selectedProfile, 0);
}

TEST_F(ProfileStoreTest, SaveAndLoadKeepEveryFieldAndTheOrder) {
  const std::vector<UnitProfile> saved = {profile("Muton", 2, -3, 0), profile("Floater", 16, 10, 2)};
  ASSERT_TRUE(saveProfiles(ini(), old(), saved, 1).ok());
  const StoredProfiles loaded = loadProfiles(ini());
  ASSERT_TRUE(loaded.status.ok());
  ASSERT_EQ(loaded.profiles.size(), 2u);
  expectSame(loaded.profiles[0], saved[0]);
  expectSame(loaded.profiles[1], saved[1]);
  EXPECT_EQ(loaded.selectedProfile, 1);

  // Sections follow each other as [Profiles], the profiles in list order, [General].
  const std::string text = zet::testing::readFile(ini());
  EXPECT_LT(text.find("[Profiles]"), text.find("[Muton]"));
  EXPECT_LT(text.find("[Muton]"), text.find("[Floater]"));
  EXPECT_LT(text.find("[Floater]"), text.find("[General]"));
  EXPECT_NE(text.find("WeaponOffsetY=-3"), std::string::npos);
}

TEST_F(ProfileStoreTest, SavingKeepsOneBackupGeneration) {
  ASSERT_TRUE(saveProfiles(ini(), old(), {profile("First", 0, 0, 0)}, 0).ok());
  EXPECT_FALSE(std::filesystem::exists(old()));
  ASSERT_TRUE(saveProfiles(ini(), old(), {profile("Second", 0, 0, 0)}, 0).ok());
  ASSERT_TRUE(saveProfiles(ini(), old(), {profile("Third", 0, 0, 0)}, 0).ok());
  EXPECT_EQ(loadProfiles(ini()).profiles.at(0).Name, "Third");
  EXPECT_EQ(loadProfiles(old()).profiles.at(0).Name, "Second");
  EXPECT_FALSE(std::filesystem::exists(ini() + ".partial"));
}

TEST_F(ProfileStoreTest, FailedSaveLeavesTheFilesAsTheyWere) {
  ASSERT_TRUE(saveProfiles(ini(), old(), {profile("Kept", 0, 0, 0)}, 0).ok());
  const std::string before = zet::testing::readFile(ini());
  // A folder in the way of the new file makes writing it fail.
  std::filesystem::create_directories(ini() + ".partial/blocked");
  const Status saved = saveProfiles(ini(), old(), {profile("Lost", 0, 0, 0)}, 0);
  EXPECT_FALSE(saved.ok());
  EXPECT_NE(saved.message().find("could not be saved"), std::string::npos);
  EXPECT_EQ(zet::testing::readFile(ini()), before);
  EXPECT_FALSE(std::filesystem::exists(old()));
}

TEST_F(ProfileStoreTest, ReadsDefaultsStopsAtAnEmptyNameAndClampsNumbers) {
  zet::testing::writeFile(ini(),
                          "[Profiles]\r\n0=Odd\r\n1=Bare\r\n2=\r\n3=Lost\r\n"
                          "[Odd]\r\nWeapon=99\r\nWeaponOffsetY=-40\r\nUnitType=2.5\r\nSourceFile=/a;b\r\n"
                          "[Lost]\r\nWeapon=1\r\n"
                          "[General]\r\nSelectedProfile=abc\r\n");
  const StoredProfiles loaded = loadProfiles(ini());
  ASSERT_EQ(loaded.profiles.size(), 2u);
  const UnitProfile& odd = loaded.profiles[0];
  EXPECT_EQ(odd.Weapon, 16);
  EXPECT_EQ(odd.WeaponOffsetY, -10);
  EXPECT_EQ(odd.UnitType, 2);  // halves round to even
  EXPECT_EQ(odd.SourceFile, "/a");
  const UnitProfile& bare = loaded.profiles[1];
  EXPECT_EQ(bare.Weapon, 0);
  EXPECT_EQ(bare.WeaponOffsetY, 0);
  EXPECT_EQ(bare.UnitType, 0);
  EXPECT_EQ(bare.OutputFile, "");
  EXPECT_EQ(loaded.selectedProfile, 0);
}

TEST_F(ProfileStoreTest, UnreadableFileIsReported) {
  std::filesystem::create_directory(ini());
  const StoredProfiles loaded = loadProfiles(ini());
  EXPECT_FALSE(loaded.status.ok());
  EXPECT_NE(loaded.status.message().find("cannot be read"), std::string::npos);
  EXPECT_TRUE(loaded.profiles.empty());
}

TEST(StoredNumber, TakesTheLeadingDecimalNumber) {
  struct Case {
    const char* text;
    std::int16_t expected;
  };
  for (const Case& c : {Case{"7", 7}, Case{" -3", -3}, Case{"+4x", 4}, Case{"3.5", 4}, Case{"2.5", 2},
                        Case{"-2.5", -2}, Case{"x", 0}, Case{"", 0}, Case{"-", 0}, Case{".5", 0},
                        Case{"99999999999", 100}, Case{"-99999", -100}}) {
    EXPECT_EQ(storedNumber(c.text, -100, 100), c.expected) << c.text;
  }
}

}  // namespace
}  // namespace varnel
