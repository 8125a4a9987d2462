#include "qt/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtTest/QTest>
#include <array>
#include <deque>
#include <filesystem>
#include <memory>

#include "profile_store.h"
#include "support/synthetic_sprite_set.h"
#include "temp_dir.h"

namespace varnel {
namespace {

class ScriptedDialogs : public UserDialogs {
 public:
  void showMessage(const std::string& text) override { messages.push_back(text); }
  std::optional<std::string> chooseFile(const std::string&, const std::string&, const std::string&) override {
    if (answers.empty()) return std::nullopt;
    std::string answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<std::string> messages;
  std::deque<std::string> answers;
};

// One application for all tests, never destroyed: Qt 6.4 deletes its input
// devices from an exit handler, which crashes when the application that
// registered them has already been taken down.
int applicationArgc = 1;
char applicationName[] = "varnel_window_test";
char* applicationArgv[] = {applicationName, nullptr};
QApplication* application = nullptr;

class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    // The window is tested without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!application) application = new QApplication(applicationArgc, applicationArgv);
  }
};

const ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folders_ = testing::writeProgramFolders(dir_.path().string());
    std::filesystem::create_directories(dir_.file("sprites"));
    std::filesystem::create_directories(dir_.file("out"));
  }

  std::unique_ptr<MainWindow> openWindow() {
    auto window = std::make_unique<MainWindow>(folders_, &dialogs_);
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
  }

  template <typename Widget>
  static Widget* find(QWidget& window, const char* name) {
    auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  static void choose(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }

  zet::testing::TempDir dir_;
  VarnelFolders folders_;
  ScriptedDialogs dialogs_;
};

TEST_F(MainWindowTest, StartsWithTheTemplateAndTheDefaultOptions) {
  auto window = openWindow();
  EXPECT_EQ(window->objectName(), "frmMain");
  EXPECT_EQ(window->windowTitle(), "Varnel");
  auto* profiles = find<QComboBox>(*window, "comboProfile");
  ASSERT_EQ(profiles->count(), 1);
  EXPECT_EQ(profiles->itemText(0), "New profile");
  EXPECT_EQ(find<QLineEdit>(*window, "txtProfile")->text(), "New profile");
  for (const char* locked : {"txtSourceFile", "cmdSourceFile", "comboUnitType", "comboWeapon", "txtOutputFile",
                             "cmdOutputFile", "cmdDelete", "cmdClone", "cmdGo"}) {
    EXPECT_FALSE(find<QWidget>(*window, locked)->isEnabled()) << locked;
  }
  EXPECT_TRUE(find<QWidget>(*window, "sliderWeaponOffsetY")->isEnabled());
  EXPECT_EQ(find<QComboBox>(*window, "comboWeapon")->count(), 17);
  EXPECT_EQ(find<QComboBox>(*window, "comboUnitType")->itemText(6), "Celatid");
  EXPECT_EQ(find<QSlider>(*window, "sliderWeaponOffsetY")->minimum(), -10);
  EXPECT_TRUE(find<QCheckBox>(*window, "cboxRA2BG")->isChecked());
  EXPECT_FALSE(find<QCheckBox>(*window, "cboxCrouch")->isChecked());
  auto* noConversion = find<QRadioButton>(*window, "optPal0");
  EXPECT_TRUE(noConversion->isChecked());
  EXPECT_EQ(noConversion->property("controlId").toInt(), 0);
  EXPECT_EQ(find<QRadioButton>(*window, "optPal2")->property("controlId").toInt(), 2);
  EXPECT_EQ(find<QPushButton>(*window, "cmdGo")->text(), "Create Output Sequence (overwrites any existing files)");
}

TEST_F(MainWindowTest, TypedNameAndPathsCreateTheOutputSequence) {
  testing::writeSpriteSet(dir_.file("sprites/civ"), true);
  auto window = openWindow();
  auto* name = find<QLineEdit>(*window, "txtProfile");
  name->setFocus();
  name->selectAll();
  QTest::keyClicks(name, "Civ");
  auto* profiles = find<QComboBox>(*window, "comboProfile");
  ASSERT_EQ(profiles->count(), 2);
  EXPECT_EQ(profiles->itemText(0), "Civ");
  EXPECT_EQ(profiles->itemText(1), "New profile");
  EXPECT_TRUE(find<QWidget>(*window, "txtSourceFile")->isEnabled());

  choose(find<QComboBox>(*window, "comboUnitType"), 3);
  QTest::keyClicks(find<QLineEdit>(*window, "txtSourceFile"), QString::fromStdString(dir_.file("sprites/civ000.bmp")));
  auto* go = find<QPushButton>(*window, "cmdGo");
  EXPECT_FALSE(go->isEnabled());
  dialogs_.answers = {dir_.file("out/civ0000.bmp")};
  QTest::mouseClick(find<QPushButton>(*window, "cmdOutputFile"), Qt::LeftButton);
  EXPECT_EQ(find<QLineEdit>(*window, "txtOutputFile")->text().toStdString(), dir_.file("out/civ0000.bmp"));
  ASSERT_TRUE(go->isEnabled());

  QTest::mouseClick(go, Qt::LeftButton);
  EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.messages.front();
  EXPECT_TRUE(std::filesystem::exists(dir_.file("out/civ0128.bmp")));
  auto* sequence = find<QComboBox>(*window, "comboOutputSeq");
  EXPECT_EQ(sequence->count(), 1 + 130);
  EXPECT_EQ(sequence->currentIndex(), 1);
  EXPECT_EQ(sequence->currentText(), "civ-0999.bmp");
  EXPECT_FALSE(find<QLabel>(*window, "imageOutput")->pixmap().isNull());
  choose(sequence, 0);
  EXPECT_TRUE(find<QLabel>(*window, "imageOutput")->pixmap().isNull());

  window->close();
  const StoredProfiles stored = loadProfiles(folders_.ProfilesIni);
  ASSERT_EQ(stored.profiles.size(), 1u);
  EXPECT_EQ(stored.profiles[0].Name, "Civ");
  EXPECT_EQ(stored.profiles[0].UnitType, 3);
  EXPECT_EQ(stored.profiles[0].OutputFile, dir_.file("out/civ0000.bmp"));
}

TEST_F(MainWindowTest, CloneDeleteAndRefusedNames) {
  UnitProfile muton;
  muton.Name = "Muton";
  muton.Weapon = 2;
  muton.WeaponOffsetY = 4;
  ASSERT_TRUE(saveProfiles(folders_.ProfilesIni, folders_.ProfilesOld, {muton}, 0).ok());
  auto window = openWindow();
  auto* profiles = find<QComboBox>(*window, "comboProfile");
  EXPECT_EQ(find<QComboBox>(*window, "comboWeapon")->currentText(), "Rifle");
  EXPECT_EQ(find<QSlider>(*window, "sliderWeaponOffsetY")->value(), 4);

  QTest::mouseClick(find<QPushButton>(*window, "cmdClone"), Qt::LeftButton);
  ASSERT_EQ(profiles->count(), 3);
  EXPECT_EQ(profiles->currentIndex(), 1);
  auto* name = find<QLineEdit>(*window, "txtProfile");
  EXPECT_EQ(name->text(), "Muton Clone");
  EXPECT_EQ(name->cursorPosition(), name->text().size());

  QTest::keyClick(name, Qt::Key_Backspace);
  QTest::keyClicks(name, "x");
  EXPECT_EQ(profiles->itemText(1), "Muton Clonx");
  name->selectAll();
  QTest::keyClicks(name, "muton");
  QTest::keyClick(name, Qt::Key_Return);
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_NE(dialogs_.messages[0].find("another profile has that name"), std::string::npos);
  // The name the profile had when the edit began comes back.
  EXPECT_EQ(name->text().toStdString(), "Muton Clone");
  EXPECT_EQ(profiles->itemText(1).toStdString(), "Muton Clone");

  QTest::mouseClick(find<QPushButton>(*window, "cmdDelete"), Qt::LeftButton);
  ASSERT_EQ(profiles->count(), 2);
  EXPECT_EQ(profiles->currentIndex(), 1);
  EXPECT_EQ(name->text(), "New profile");
  EXPECT_FALSE(find<QWidget>(*window, "cmdDelete")->isEnabled());
}

}  // namespace
}  // namespace varnel
