#include "platform/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "platform/file.h"
#include "scoped_environment.h"
#include "temp_dir.h"

namespace platform {
namespace {

using zet::testing::readFile;
using zet::testing::TempDir;
using zet::testing::writeFile;

const char kSettings[] =
    "; settings of the tools\n"
    "Stray=before any section\n"
    "[Zet Video Tools]\n"
    "  JPEGLevel = 85  \n"
    "Quoted=\"  spaced value  \"\n"
    "Single='x'\n"
    "Mismatched=\"abc'\n"
    "Lone=\"\n"
    "Empty=\n"
    "No equals sign\n"
    "; Hidden=1\n"
    "Dup=first\n"
    "dup=second\n"
    "Equals=a=b\n"
    "\n"
    "[ Second ]\n"
    "Key=2\n"
    "[ZET VIDEO TOOLS]\n"
    "Late=ignored\n";

class Profile : public ::testing::Test {
 protected:
  std::string ini(const std::string& contents) {
    writeFile(file_, contents);
    return file_;
  }

  TempDir dir_;
  std::string file_ = dir_.file("settings.ini");
};

TEST_F(Profile, LooksUpValuesByTheIniRules) {
  const std::string file = ini(kSettings);
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"Zet Video Tools", "JPEGLevel", "85"},
      {"zet video tools", "jpeglevel", "85"},
      {"ZET VIDEO TOOLS", "Quoted", "  spaced value  "},
      {"Zet Video Tools", "Single", "x"},
      {"Zet Video Tools", "Mismatched", "\"abc'"},
      {"Zet Video Tools", "Lone", "\""},
      {"Zet Video Tools", "Empty", ""},
      {"Zet Video Tools", "No equals sign", "(default)"},
      {"Zet Video Tools", "Hidden", "(default)"},
      {"Zet Video Tools", "; Hidden", "(default)"},
      {"Zet Video Tools", "DUP", "first"},
      {"Zet Video Tools", "Equals", "a=b"},
      {"Zet Video Tools", "Late", "(default)"},
      {"Zet Video Tools", "Stray", "(default)"},
      {"", "Stray", "(default)"},
      {"second", "key", "2"},
      {"Missing", "JPEGLevel", "(default)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key);
    EXPECT_EQ(profileString(file, c.section, c.key, "(default)"), c.expected);
  }
}

TEST_F(Profile, ReadsWholeSectionsSectionNamesAndKeys) {
  const std::string file = ini(kSettings);
  EXPECT_EQ(profileSectionNames(file), (std::vector<std::string>{"Zet Video Tools", "Second"}));
  const std::vector<std::string> keys{"JPEGLevel", "Quoted", "Single", "Mismatched", "Lone", "Empty", "Dup", "Equals"};
  EXPECT_EQ(profileKeys(file, "zet video tools"), keys);
  const ProfileEntries entries = profileSection(file, "Zet Video Tools");
  ASSERT_EQ(entries.size(), keys.size());
  EXPECT_EQ(entries[0], (std::pair<std::string, std::string>{"JPEGLevel", "85"}));
  EXPECT_EQ(entries[1], (std::pair<std::string, std::string>{"Quoted", "  spaced value  "}));
  EXPECT_EQ(entries[6], (std::pair<std::string, std::string>{"Dup", "first"}));
  EXPECT_TRUE(profileSection(file, "Missing").empty());
  EXPECT_TRUE(profileKeys(dir_.file("missing.ini"), "Zet Video Tools").empty());
}

TEST_F(Profile, ReadsCrLfLineEndsAndAByteOrderMark) {
  const std::string file = ini("\xEF\xBB\xBF[S]\r\nA=1\r\nB = two \r\n");
  EXPECT_EQ(profileString(file, "S", "A", ""), "1");
  EXPECT_EQ(profileString(file, "S", "B", ""), "two");
}

TEST_F(Profile, ReadsTheLeadingNumberOfAValue) {
  const std::string file = ini(
      "[N]\na=85\nb=-12abc\nc=+7\nd=abc\ne=\nf=99999999999\ng=-99999999999\nh= 42 \ni=- 5\nj=2147483647\n"
      "k=-2147483648\n");
  struct Case {
    const char* key;
    int expected;
  };
  const Case cases[] = {{"a", 85},      {"b", -12},      {"c", 7},  {"d", -1},      {"e", -1},      {"f", INT_MAX},
                        {"g", INT_MIN}, {"h", 42},       {"i", -1}, {"j", INT_MAX}, {"k", INT_MIN}, {"missing", -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(profileInt(file, "N", c.key, -1), c.expected);
  }
}

TEST_F(Profile, CreatesTheFileAndItsFolderOnTheFirstWrite) {
  const std::string file = dir_.file("config/zet-video-tools/win.ini");
  EXPECT_EQ(profileString(file, "S", "K", "none"), "none");
  ASSERT_TRUE(writeProfileString(file, "S", "K", "V"));
  EXPECT_EQ(readFile(file), "[S]\nK=V\n");
}

TEST_F(Profile, DeletingWhatIsNotThereCreatesNoFile) {
  EXPECT_TRUE(writeProfileString(file_, "S", "K", std::nullopt));
  EXPECT_TRUE(deleteProfileSection(file_, "S"));
  EXPECT_FALSE(fileExists(file_.c_str()));
}

struct EditCase {
  const char* name;
  std::string before;
  std::function<bool(const std::string& file)> edit;
  std::string after;
};

TEST_F(Profile, EditsChangeOnlyTheirOwnLines) {
  auto write = [](const char* section, const char* key, std::optional<std::string> value) {
    return [=](const std::string& file) { return writeProfileString(file, section, key, value); };
  };
  auto remove = [](const char* section) {
    return [=](const std::string& file) { return deleteProfileSection(file, section); };
  };
  const std::string tools = "; c\n[S]\nk = old ; note\nOther=1\n\n[T]\nx=1\n";
  const EditCase cases[] = {
      {"replace keeps the key's spelling and place", tools, write("s", "K", "new"),
       "; c\n[S]\nk=new\nOther=1\n\n[T]\nx=1\n"},
      {"new key follows the section's last line", tools, write("S", "New", "v"),
       "; c\n[S]\nk = old ; note\nOther=1\nNew=v\n\n[T]\nx=1\n"},
      {"new key in the last section", tools, write("T", "y", "2"), "; c\n[S]\nk = old ; note\nOther=1\n\n[T]\nx=1\ny=2\n"},
      {"new section after a blank line", tools, write("U", "a", "b"), tools + "\n[U]\na=b\n"},
      {"no second blank line", "[S]\nA=1\n\n", write("T", "K", "V"), "[S]\nA=1\n\n[T]\nK=V\n"},
      {"empty file", "", write("S", "K", "V"), "[S]\nK=V\n"},
      {"last line without a line end", "[S]\nA=1", write("S", "B", "2"), "[S]\nA=1\nB=2\n"},
      {"new section after a last line without a line end", "[S]\nA=1", write("T", "B", "2"),
       "[S]\nA=1\n\n[T]\nB=2\n"},
      {"CR LF file keeps CR LF", "\xEF\xBB\xBF[S]\r\nA=1\r\n", write("S", "B", "2"),
       "\xEF\xBB\xBF[S]\r\nA=1\r\nB=2\r\n"},
      {"empty value", "[S]\nA=1\n", write("S", "A", ""), "[S]\nA=\n"},
      {"delete key removes every line of it", "[S]\nA=1\nB=2\na=3\n[T]\nA=4\n", write("S", "A", std::nullopt),
       "[S]\nB=2\n[T]\nA=4\n"},
      {"delete section removes every section of that name", "[S]\nA=1\n[T]\nB=2\n[s]\nC=3\n", remove("S"),
       "[T]\nB=2\n"},
  };
  for (const EditCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = ini(c.before);
    ASSERT_TRUE(c.edit(file));
    EXPECT_EQ(readFile(file), c.after);
  }
}

TEST_F(Profile, RefusesWhatWouldNotReadBackAndKeepsTheFile) {
  const std::string file = ini("[S]\nA=1\n");
  EXPECT_FALSE(writeProfileString(file, "S", "A", "1\n[Injected]\nB=2"));
  EXPECT_FALSE(writeProfileString(file, "S", "A=B", "1"));
  EXPECT_FALSE(writeProfileString(file, "S", "", "1"));
  EXPECT_FALSE(writeProfileString(file, "S", "; A", "1"));
  EXPECT_FALSE(writeProfileString(file, "S]", "A", "1"));
  EXPECT_FALSE(writeProfileString(file, " S", "A", "1"));
  EXPECT_FALSE(writeProfileString(file, "S", "A", std::string("a\0b", 3)));
  EXPECT_EQ(readFile(file), "[S]\nA=1\n");
}

TEST_F(Profile, KeepsLongValuesWhole) {
  const std::string path = "/" + std::string(100000, 'p') + "/name.avi";
  ASSERT_TRUE(writeProfileString(file_, "Zet Video Tools", "Source", path));
  EXPECT_EQ(profileString(file_, "Zet Video Tools", "Source", ""), path);
}

TEST_F(Profile, UnreadableFileReadsAsEmptyAndIsNotOverwritten) {
  ASSERT_EQ(mkdir(file_.c_str(), 0755), 0);
  EXPECT_TRUE(profileSectionNames(file_).empty());
  EXPECT_EQ(profileString(file_, "S", "K", "d"), "d");
  EXPECT_FALSE(writeProfileString(file_, "S", "K", "V"));
  EXPECT_FALSE(deleteProfileSection(dir_.file("settings.ini"), "S"));
  EXPECT_TRUE(isDirectory(file_.c_str()));
  writeFile(dir_.file("plain"), "x");
  EXPECT_FALSE(writeProfileString(dir_.file("plain/settings.ini"), "S", "K", "V"));
}

TEST_F(Profile, OversizedFileReadsAsEmptyAndIsNotOverwritten) {
  const std::string contents = "[S]\nA=1\n" + std::string(17u << 20, ';');
  const std::string file = ini(contents);
  EXPECT_EQ(profileString(file, "S", "A", "d"), "d");
  EXPECT_FALSE(writeProfileString(file, "S", "B", "2"));
  EXPECT_EQ(readFile(file).size(), contents.size());
}

TEST_F(Profile, MalformedFilesReadWithoutHarmAndStayWritable) {
  std::mt19937 random(12345);
  std::string junk(4096, '\0');
  for (char& byte : junk) byte = static_cast<char>(random());
  const std::string cases[] = {
      junk,
      std::string(1000, '\0'),
      std::string("[S]\0A=1\n", 8),
      "no sections=here\njust=keys\n",
      "[unterminated\nA=1",
      "[",
      "=\n[]\n=\n",
      "\r\r\r\n\n\r",
      "[S]\nA=" + std::string(1u << 20, 'x') + "\n",
  };
  for (const std::string& contents : cases) {
    SCOPED_TRACE(contents.substr(0, 16));
    const std::string file = ini(contents);
    EXPECT_EQ(profileString(file, "Zet Video Tools", "JPEGLevel", "d"), "d");
    profileSectionNames(file);
    ASSERT_TRUE(writeProfileString(file, "Zet Video Tools", "JPEGLevel", "90"));
    EXPECT_EQ(profileInt(file, "Zet Video Tools", "JPEGLevel", 0), 90);
    EXPECT_EQ(readFile(file).substr(0, contents.size()), contents);
  }
}

TEST_F(Profile, ConcurrentWritersLoseNoKeys) {
  constexpr int kThreads = 4;
  constexpr int kKeys = 25;
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([this, t] {
      for (int k = 0; k < kKeys; ++k) {
        writeProfileString(file_, "S", std::to_string(t) + "-" + std::to_string(k), "v");
      }
    });
  }
  for (std::thread& writer : writers) writer.join();
  EXPECT_EQ(profileKeys(file_, "S").size(), static_cast<std::size_t>(kThreads * kKeys));
}

TEST(WinIniPath, ComesFromTheEnvironment) {
  testing::ScopedEnvironment environment;
  environment.set("ZET_WIN_INI", "/etc/zet/win.ini");
  environment.set("XDG_CONFIG_HOME", "/xdg");
  environment.set("HOME", "/home/user");
  EXPECT_EQ(winIniPath(), "/etc/zet/win.ini");
  environment.set("ZET_WIN_INI", "");
  EXPECT_EQ(winIniPath(), "/xdg/zet-video-tools/win.ini");
  environment.set("XDG_CONFIG_HOME", std::nullopt);
  EXPECT_EQ(winIniPath(), "/home/user/.config/zet-video-tools/win.ini");
  // A relative folder is not a valid configuration home.
  environment.set("XDG_CONFIG_HOME", "relative");
  EXPECT_EQ(winIniPath(), "/home/user/.config/zet-video-tools/win.ini");
}

}  // namespace
}  // namespace platform
