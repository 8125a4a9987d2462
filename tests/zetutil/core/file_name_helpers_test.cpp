#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "message_presenter.h"
#include "platform/file.h"
#include "temp_dir.h"
#include "zetutil.h"

namespace {

using zet::testing::TempDir;
using zet::testing::writeFile;

// The callers' name buffers: exactly 256 bytes, so the sanitizers catch a
// write past them.
std::vector<char> pathBuffer(const std::string& text) {
  std::vector<char> buffer(256, 'x');
  EXPECT_LT(text.size(), buffer.size());
  text.copy(buffer.data(), buffer.size() - 1);
  buffer[std::min(text.size(), buffer.size() - 1)] = '\0';
  return buffer;
}

TEST(FileNameTextTest, AddsASeparatorUnlessTheFolderPartIsEnded) {
  struct Case {
    const char* path;
    const char* result;
  };
  const Case cases[] = {
      {"  /tmp  ", "/tmp/"}, {"/tmp/", "/tmp/"}, {"c:", "c:"},         {"dir\\", "dir\\"},
      {"", ""},              {"   ", ""},        {"caf\xc3\xa9", "caf\xc3\xa9/"},
  };
  for (const Case& c : cases) {
    std::vector<char> buffer = pathBuffer(c.path);
    EXPECT_STREQ(AddBackslash(buffer.data()), c.result) << c.path;
  }
}

TEST(FileNameTextTest, AFullPathBufferGetsNoSeparator) {
  std::vector<char> nearlyFull = pathBuffer(std::string(254, 'n'));
  AddBackslash(nearlyFull.data());
  EXPECT_EQ(std::string(nearlyFull.data()), std::string(254, 'n') + "/");
  std::vector<char> full = pathBuffer(std::string(255, 'n'));
  AddBackslash(full.data());
  EXPECT_EQ(std::string(full.data()), std::string(255, 'n'));
}

TEST(FileNameTextTest, FindsTheExtensionOfTheLastPart) {
  struct Case {
    const char* name;
    int position;  // -1: none
  };
  const Case cases[] = {
      {"/dir.x/file", -1}, {"c:/dir.x/file", -1}, {"c:\\dir.x\\file", -1}, {"a.b.c", 3}, {".cfg", 0},
      {"", -1},            {"file", -1},          {"x.y:z", -1},           {"dir/", -1}, {"name.", 4},
      {"c:a.b", 3},        {"/clips/caf\xc3\xa9.avi", 12},
  };
  for (const Case& c : cases) {
    const char* extension = HasExtension(c.name);
    if (c.position < 0) {
      EXPECT_EQ(extension, nullptr) << c.name;
    } else {
      EXPECT_EQ(extension, c.name + c.position) << c.name;
    }
  }
}

TEST(FileNameTextTest, BuildsTemporaryNamesFromTheNibblesOfANumber) {
  struct Case {
    const char* directory;
    const char* prefix;
    uint32_t number;
    const char* name;
  };
  const Case cases[] = {
      {"/tmp/", "ZT", 0x1234, "/tmp/ZTCBAAAA.AAA"},
      {"", "", 0, "AAAAAAAA.AAA"},
      {"", "ZT", 0xFEDCBA98u, "ZTKLMNOP.AAA"},
      {"d/", "LONGPREFIX", 0xFFFFFFFFu, "d/LONGPREF.AAA"},
      {"d/", "EIGHTCHR", 0, "d/EIGHTCHR.AAA"},
  };
  for (const Case& c : cases) {
    std::vector<char> out = pathBuffer("");
    EXPECT_STREQ(GetTempName(out.data(), c.directory, c.prefix, c.number), c.name);
  }
}

TEST(FileNameTextTest, LeavesTheTemporaryNameEmptyWhenTheDirectoryIsTooLong) {
  const std::string fits = "/" + std::string(242, 'd');
  std::vector<char> out = pathBuffer("");
  GetTempName(out.data(), fits.c_str(), "ZT", 0);
  EXPECT_EQ(std::string(out.data()), fits + "ZTAAAAAA.AAA");
  const std::string tooLong = fits + "d";
  GetTempName(out.data(), tooLong.c_str(), "ZT", 0);
  EXPECT_STREQ(out.data(), "");
}

class RecordingPresenter final : public zet::MessagePresenter {
 public:
  struct Message {
    std::string text;
    std::string caption;
    zet::MessageIcon icon;
  };
  struct Question {
    std::string text;
    std::string caption;
    bool noIsDefault;
  };

  void showMessage(const std::string& text, const std::string& caption, zet::MessageIcon icon) override {
    messages.push_back({text, caption, icon});
  }
  bool askYesNo(const std::string& question, const std::string& caption, bool noIsDefault) override {
    questions.push_back({question, caption, noIsDefault});
    return answer;
  }

  std::vector<Message> messages;
  std::vector<Question> questions;
  bool answer = false;
};

// Works in a fresh current directory and answers the library's questions.
class FileNameTest : public ::testing::Test {
 protected:
  FileNameTest() : previousDirectory_(platform::currentDirectory()), here_(temp_.path().string()) {}

  void SetUp() override {
    ASSERT_TRUE(platform::setCurrentDirectory(here_.c_str()));
    zet::setMessagePresenter(&presenter_);
  }
  void TearDown() override {
    zet::setMessagePresenter(nullptr);
    platform::setCurrentDirectory(previousDirectory_.c_str());
  }

  std::string makeFile(const std::string& name, const std::string& bytes = "data") {
    std::filesystem::create_directories(std::filesystem::path(temp_.file(name)).parent_path());
    writeFile(temp_.file(name), bytes);
    return temp_.file(name);
  }
  std::string makeFolder(const std::string& name) {
    std::filesystem::create_directories(temp_.file(name));
    return temp_.file(name);
  }

  std::string previousDirectory_;
  TempDir temp_;
  std::string here_;
  RecordingPresenter presenter_;
};

TEST_F(FileNameTest, ExpandsNamesToFullPaths) {
  struct Case {
    std::string name;
    std::string full;
  };
  const Case cases[] = {
      {"clips/a.avi", here_ + "/clips/a.avi"},
      {"a/../b", here_ + "/b"},
      {"./x", here_ + "/x"},
      {"", here_},
      {"dir\\file", here_ + "/dir/file"},
      {"/abs//p/", "/abs/p"},
  };
  for (const Case& c : cases) {
    std::vector<char> buffer = pathBuffer(c.name);
    ExpandFileName(buffer.data());
    EXPECT_EQ(std::string(buffer.data()), c.full) << c.name;
  }
}

TEST_F(FileNameTest, LeavesANameWhoseFullPathDoesNotFitUnchanged) {
  const std::string fits(255 - here_.size() - 1, 'n');
  std::vector<char> buffer = pathBuffer(fits);
  ExpandFileName(buffer.data());
  EXPECT_EQ(std::string(buffer.data()), here_ + "/" + fits);

  const std::string tooLong = fits + "n";
  buffer = pathBuffer(tooLong);
  ExpandFileName(buffer.data());
  EXPECT_EQ(std::string(buffer.data()), tooLong);
  EXPECT_EQ(GetDrive(buffer.data()), 'N');
}

TEST_F(FileNameTest, TheDriveOfAFullLinuxPathIsTheRoot) {
  std::vector<char> buffer = pathBuffer("clip.avi");
  EXPECT_EQ(GetDrive(buffer.data()), '/');
  EXPECT_EQ(std::string(buffer.data()), here_ + "/clip.avi");
}

TEST_F(FileNameTest, TestsForDirectoriesAndNormalisesTheName) {
  makeFolder("sub");
  makeFile("file.txt");
  struct Case {
    std::string name;
    int32_t isDirectory;
    std::string normalised;
  };
  const Case cases[] = {
      {"sub", 1, here_ + "/sub"},        {" sub/ ", 1, here_ + "/sub"},  {"sub\\", 1, here_ + "/sub"},
      {"file.txt", 0, here_ + "/file.txt"}, {"missing", 0, here_ + "/missing"}, {"", 1, here_},
      {"/", 1, "/"},
  };
  for (const Case& c : cases) {
    std::vector<char> buffer = pathBuffer(c.name);
    EXPECT_EQ(IsDirectory(buffer.data(), 0), c.isDirectory) << c.name;
    EXPECT_EQ(std::string(buffer.data()), c.normalised) << c.name;
    EXPECT_EQ(platform::currentDirectory(), here_) << c.name;
  }
}

TEST_F(FileNameTest, StayingMovesTheProcessIntoTheDirectoryFound) {
  makeFolder("sub");
  makeFile("file.txt");
  std::vector<char> file = pathBuffer("file.txt");
  EXPECT_EQ(IsDirectory(file.data(), 1), 0);
  EXPECT_EQ(platform::currentDirectory(), here_);
  std::vector<char> folder = pathBuffer("sub");
  EXPECT_EQ(IsDirectory(folder.data(), 1), 1);
  EXPECT_EQ(platform::currentDirectory(), here_ + "/sub");
}

TEST_F(FileNameTest, ADirectoryNameThatDoesNotFitIsNoDirectory) {
  const std::string tooLong(255 - here_.size(), 'n');
  makeFolder(tooLong);
  std::vector<char> buffer = pathBuffer(tooLong);
  EXPECT_EQ(IsDirectory(buffer.data(), 1), 0);
  EXPECT_EQ(std::string(buffer.data()), tooLong);
  EXPECT_EQ(platform::currentDirectory(), here_);
}

TEST_F(FileNameTest, RebuildsPathsFromTheChosenPieces) {
  makeFile("clips/a.avi");
  makeFile("clips/.cfg");
  struct Case {
    std::string path;
    std::array<uint8_t, 4> pieces;  // drive, directory, name, extension
    std::string result;
  };
  const Case cases[] = {
      {"clips/a.avi", {1, 1, 0, 0}, here_ + "/clips/"},
      {"clips\\a.avi", {1, 1, 0, 0}, here_ + "/clips/"},
      {"clips/a.avi", {1, 1, 1, 1}, here_ + "/clips/a.avi"},
      {" clips/a.avi ", {0, 0, 1, 1}, "a.avi"},
      {"clips/a.avi", {0, 0, 1, 0}, "a"},
      {"clips/a.avi", {0, 0, 0, 1}, ".avi"},
      {"clips/a.avi", {1, 0, 0, 0}, ""},
      {"clips/.cfg", {0, 0, 1, 1}, ".cfg"},
      {"clips/.cfg", {0, 0, 1, 0}, ""},
      {"x.tar.gz", {0, 0, 1, 1}, "x.tar.gz"},
      {"x.tar.gz", {0, 0, 0, 1}, ".gz"},
      // A folder never contributes a name or an extension.
      {"clips", {0, 1, 1, 1}, here_ + "/clips/"},
      {"clips/", {1, 1, 1, 1}, here_ + "/clips/"},
      {"/", {1, 1, 1, 1}, "/"},
      {"   ", {1, 1, 1, 1}, ""},
  };
  for (const Case& c : cases) {
    std::vector<char> buffer = pathBuffer(c.path);
    GetFilePieces(buffer.data(), c.pieces[0], c.pieces[1], c.pieces[2], c.pieces[3]);
    EXPECT_EQ(std::string(buffer.data()), c.result) << c.path;
    EXPECT_EQ(platform::currentDirectory(), here_) << c.path;
  }
}

TEST_F(FileNameTest, RefusesAnInputNameAsOutputName) {
  const std::string input = makeFile("a.avi");
  makeFolder("sub");
  ASSERT_EQ(link(input.c_str(), temp_.file("hard.avi").c_str()), 0);
  ASSERT_EQ(symlink(input.c_str(), temp_.file("soft.avi").c_str()), 0);
  const char* sameNames[][2] = {
      {"a.avi", "a.avi"},       {"a.avi", "./a.avi"}, {"sub/../a.avi", "a.avi"},
      {"a.avi", input.c_str()}, {"a.avi", "hard.avi"}, {"soft.avi", "a.avi"},
  };
  for (const auto& names : sameNames) {
    presenter_.messages.clear();
    EXPECT_EQ(CheckForDup(names[0], names[1]), 0) << names[0] << " " << names[1];
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_EQ(presenter_.messages[0].text, "Output filename must be different than the input filename.");
    EXPECT_EQ(presenter_.messages[0].caption, "");
    EXPECT_EQ(presenter_.messages[0].icon, zet::MessageIcon::Stop);
  }
}

TEST_F(FileNameTest, NamesThatDifferOnlyInCaseAreDifferentFiles) {
  makeFile("a.avi");
  makeFile("A.avi");
  const char* differentNames[][2] = {{"a.avi", "A.avi"}, {"a.avi", "b.avi"}, {"new1.avi", "new2.avi"}};
  for (const auto& names : differentNames) {
    EXPECT_EQ(CheckForDup(names[0], names[1]), 1) << names[0] << " " << names[1];
  }
  EXPECT_TRUE(presenter_.messages.empty());
}

TEST_F(FileNameTest, OverwritesAMissingFileWithoutAsking) {
  EXPECT_EQ(overwrite("missing.avi", 0), 1);
  EXPECT_EQ(overwrite("missing.avi", 1), 1);
  EXPECT_TRUE(presenter_.questions.empty());
}

TEST_F(FileNameTest, AsksBeforeOverwritingAnExistingFile) {
  const std::string name = makeFile("out.avi");
  for (const int32_t useDialog : {0, 1}) {
    for (const bool answer : {true, false}) {
      presenter_.questions.clear();
      presenter_.answer = answer;
      EXPECT_EQ(overwrite("out.avi", useDialog), answer ? 1 : 0);
      ASSERT_EQ(presenter_.questions.size(), 1u);
      EXPECT_EQ(presenter_.questions[0].text, "File out.avi exists, overwrite?");
      EXPECT_TRUE(presenter_.questions[0].noIsDefault);
    }
  }
}

TEST_F(FileNameTest, AsksAboutAFileThatCannotBeRead) {
  const std::string name = makeFile("locked.avi");
  std::filesystem::permissions(name, std::filesystem::perms::none);
  ASSERT_EQ(symlink("nowhere", temp_.file("dangling.avi").c_str()), 0);
  presenter_.answer = false;
  EXPECT_EQ(overwrite(name.c_str(), 0), 0);
  EXPECT_EQ(overwrite("dangling.avi", 0), 0);
  EXPECT_EQ(presenter_.questions.size(), 2u);
}

TEST_F(FileNameTest, MeasuresFiles) {
  makeFile("some.bin", std::string(1234, 'b'));
  makeFile("empty.bin", "");
  EXPECT_EQ(zetfilesize("some.bin"), 1234u);
  EXPECT_EQ(zetfilesize("empty.bin"), 0u);
  EXPECT_EQ(zetfilesize("missing.bin"), 0u);
}

}  // namespace
