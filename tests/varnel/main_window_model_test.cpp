#include "main_window_model.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "profile_store.h"
#include "standard_functions.h"
#include "support/synthetic_sprite_set.h"
#include "temp_dir.h"

namespace varnel {
namespace {

class ScriptedDialogs : public UserDialogs {
 public:
  void showMessage(const std::string& text) override { messages.push_back(text); }
  std::optional<std::string> chooseFile(const std::string& title, const std::string& filter,
                                        const std::string& presetPath) override {
    titles.push_back(title + " | " + filter + " | " + presetPath);
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<std::string> messages;
  std::vector<std::string> titles;
  std::deque<std::optional<std::string>> answers;
};

class MainWindowModelTest : public ::testing::Test {
 protected:
  MainWindowModelTest() : folders_(foldersFor(dir_.path().string(), dir_.path().string())) {}

  std::unique_ptr<MainWindowModel> loaded() {
    auto model = std::make_unique<MainWindowModel>(folders_, dialogs_);
    model->load();
    return model;
  }

  std::vector<std::string> names(const MainWindowModel& model) const {
    std::vector<std::string> result;
    for (int i = 0; i < model.profiles().entryCount(); ++i) result.push_back(model.profiles().entry(i).Name);
    return result;
  }

  void saveProfilesNamed(const std::vector<std::string>& profileNames, int selected) {
    std::vector<UnitProfile> profiles;
    for (const std::string& name : profileNames) {
      UnitProfile p;
      p.Name = name;
      profiles.push_back(p);
    }
    ASSERT_TRUE(saveProfiles(folders_.ProfilesIni, folders_.ProfilesOld, profiles, selected).ok());
  }

  zet::testing::TempDir dir_;
  VarnelFolders folders_;
  ScriptedDialogs dialogs_;
};

TEST_F(MainWindowModelTest, WithoutProfilesTypingANameCreatesOne) {
  auto model = loaded();
  EXPECT_EQ(names(*model), std::vector<std::string>{"New profile"});
  EXPECT_FALSE(model->profileControlsEnabled());
  EXPECT_FALSE(model->goEnabled());
  EXPECT_TRUE(model->options().ra2Background);
  EXPECT_EQ(model->options().palette, ConversionPalette::None);

  model->changeProfileName("A");
  EXPECT_EQ(names(*model), (std::vector<std::string>{"A", "New profile"}));
  EXPECT_TRUE(model->profileControlsEnabled());
  EXPECT_EQ(model->currentProfile(), 0);
  model->finishProfileName();
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(MainWindowModelTest, StartsOnTheRememberedProfileAndSavesAtUnload) {
  saveProfilesNamed({"b", "B", "a"}, 2);
  auto model = loaded();
  EXPECT_EQ(names(*model), (std::vector<std::string>{"B", "a", "b", "New profile"}));
  EXPECT_EQ(model->currentProfile(), 2);
  model->changeWeaponOffsetY(-7);
  model->selectWeapon(5);
  model->selectUnitType(4);
  model->unload();
  const StoredProfiles stored = loadProfiles(folders_.ProfilesIni);
  EXPECT_EQ(stored.selectedProfile, 2);
  EXPECT_EQ(stored.profiles.at(2).Name, "b");
  EXPECT_EQ(stored.profiles.at(2).WeaponOffsetY, -7);
  EXPECT_EQ(stored.profiles.at(2).Weapon, 5);
  EXPECT_EQ(stored.profiles.at(2).UnitType, 4);
  EXPECT_TRUE(std::filesystem::exists(folders_.ProfilesOld));
}

TEST_F(MainWindowModelTest, RememberedIndexOutsideTheListSelectsTheFirstEntry) {
  saveProfilesNamed({"a"}, 9);
  EXPECT_EQ(loaded()->currentProfile(), 0);
  saveProfilesNamed({"a"}, 1);
  EXPECT_EQ(loaded()->currentProfile(), 1);  // the template
}

TEST_F(MainWindowModelTest, CloneSelectsTheCopyAndAsksForTheNameField) {
  saveProfilesNamed({"Muton"}, 0);
  auto model = loaded();
  model->selectWeapon(2);
  model->cloneProfile();
  EXPECT_EQ(names(*model), (std::vector<std::string>{"Muton", "Muton Clone", "New profile"}));
  EXPECT_EQ(model->currentProfile(), 1);
  EXPECT_EQ(model->current().Weapon, 2);
  EXPECT_EQ(model->takeFocusRequest(), FocusRequest::ProfileNameAtEnd);
  EXPECT_EQ(model->takeFocusRequest(), FocusRequest::None);
}

TEST_F(MainWindowModelTest, DeletingTheLastProfileSelectsTheTemplate) {
  saveProfilesNamed({"a", "b"}, 0);
  auto model = loaded();
  model->deleteProfile();
  EXPECT_EQ(names(*model), (std::vector<std::string>{"b", "New profile"}));
  EXPECT_EQ(model->currentProfile(), 0);
  model->deleteProfile();
  EXPECT_EQ(names(*model), std::vector<std::string>{"New profile"});
  EXPECT_FALSE(model->profileControlsEnabled());
  model->deleteProfile();  // the template stays
  EXPECT_EQ(model->profiles().entryCount(), 1);
}

TEST_F(MainWindowModelTest, RefusedNamesComeBackWithAMessage) {
  saveProfilesNamed({"Muton", "Sectoid"}, 0);
  auto model = loaded();
  model->changeProfileName("Sectoid");
  model->finishProfileName();
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_NE(dialogs_.messages[0].find("\"Sectoid\" cannot be used: another profile has that name"), std::string::npos);
  EXPECT_EQ(model->current().Name, "Muton");

  model->changeProfileName("Muton 2");
  model->finishProfileName();
  model->changeProfileName("General");
  model->finishProfileName();
  EXPECT_EQ(model->current().Name, "Muton 2");
  EXPECT_EQ(dialogs_.messages.size(), 2u);

  // A profile that never had a usable name goes again.
  model->selectProfile(2);
  model->changeProfileName("a=b");
  EXPECT_EQ(model->profiles().profileCount(), 3);
  model->finishProfileName();
  EXPECT_EQ(names(*model), (std::vector<std::string>{"Muton 2", "Sectoid", "New profile"}));
  EXPECT_EQ(model->currentProfile(), 2);
  EXPECT_FALSE(model->profileControlsEnabled());
}

TEST_F(MainWindowModelTest, FileChoicesFillThePathsAndEnableCreate) {
  std::filesystem::create_directories(dir_.file("sprites"));
  std::filesystem::create_directories(dir_.file("out"));
  testing::writeSpriteSet(dir_.file("sprites/unit"), false);
  auto model = std::make_unique<MainWindowModel>(testing::writeProgramFolders(dir_.path().string()), dialogs_);
  model->load();
  model->changeProfileName("Civilian");
  model->selectUnitType(3);
  dialogs_.answers = {std::nullopt, dir_.file("sprites/unit000.bmp"), dir_.file("out/civ0000.bmp")};
  model->chooseSourceFile();
  EXPECT_EQ(model->current().SourceFile, "");
  model->chooseSourceFile();
  EXPECT_FALSE(model->goEnabled());
  model->chooseOutputFile();
  EXPECT_EQ(dialogs_.titles.at(0), "Select Source File (any frame) | Bitmap Files (*.bmp) | ");
  EXPECT_EQ(dialogs_.titles.at(2), "Select Output File (any frame) | Bitmap Files (*.bmp) | ");
  EXPECT_TRUE(model->goEnabled());
  EXPECT_EQ(model->outputList().items, std::vector<std::string>{" "});

  model->createOutputSequence();
  EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.messages.front();
  EXPECT_EQ(model->outputList().items.size(), 1u + 129u);
  EXPECT_EQ(model->outputList().items.at(1), "civ0000.bmp");
  EXPECT_EQ(model->outputSelection(), 1);
  ASSERT_TRUE(model->preview().has_value());
  EXPECT_EQ(model->preview()->width(), 94);
  EXPECT_EQ(model->takeFocusRequest(), FocusRequest::OutputSequence);
  model->selectOutputSequence(0);
  EXPECT_FALSE(model->preview().has_value());

  model->changeOutputFile(dir_.file("missing/civ0000.bmp"));
  EXPECT_FALSE(model->goEnabled());
  EXPECT_EQ(model->outputList().items.size(), 1u);
}

TEST_F(MainWindowModelTest, FailedRunIsReportedInAMessage) {
  auto model = loaded();
  model->changeProfileName("Celatid");
  model->selectUnitType(6);
  model->createOutputSequence();
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_NE(dialogs_.messages[0].find("no frame layout"), std::string::npos);
  EXPECT_EQ(model->takeFocusRequest(), FocusRequest::None);
}

TEST_F(MainWindowModelTest, UnreadableProfilesAreReportedAndKeptAsBackup) {
  std::filesystem::create_directory(folders_.ProfilesIni);
  auto model = loaded();
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_NE(dialogs_.messages[0].find("cannot be read"), std::string::npos);
  EXPECT_EQ(names(*model), std::vector<std::string>{"New profile"});
  model->unload();
  EXPECT_TRUE(std::filesystem::is_directory(folders_.ProfilesOld));
  EXPECT_TRUE(std::filesystem::is_regular_file(folders_.ProfilesIni));
}

}  // namespace
}  // namespace varnel
