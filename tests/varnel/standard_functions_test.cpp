#include "standard_functions.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_dir.h"

namespace varnel {
namespace {

TEST(NumToStr, PadsDigitsAndPutsTheSignInFront) {
  struct Case {
    std::int64_t value;
    int minDigits;
    const char* expected;
  };
  for (const Case& c : {Case{7, 3, "007"}, Case{-999, 4, "-0999"}, Case{0, 4, "0000"}, Case{-3, 1, "-3"},
                        Case{0, 0, "0"}, Case{12345, 3, "12345"}, Case{5, 0, "5"}}) {
    EXPECT_EQ(NumToStr(c.value, c.minDigits), c.expected) << c.value << ", " << c.minDigits;
  }
}

TEST(BuildPath, AddsOneSeparatorWhereNeeded) {
  EXPECT_EQ(BuildPath("/app", "Profiles.ini"), "/app/Profiles.ini");
  EXPECT_EQ(BuildPath("/app/", "Resources"), "/app/Resources");
  EXPECT_EQ(BuildPath("C:\\app\\", "x.bmp"), "C:\\app\\x.bmp");
  EXPECT_EQ(BuildPath("", "x.bmp"), "x.bmp");
  EXPECT_EQ(BuildPath("/res", "weapons", "Rifle001.bmp"), "/res/weapons/Rifle001.bmp");
  EXPECT_EQ(BuildPath("/res", "weapons/", "Rifle001.bmp"), "/res/weapons/Rifle001.bmp");
  EXPECT_EQ(BuildPath("/res", "", "Rifle001.bmp"), "/res/Rifle001.bmp");
}

TEST(SplitPath, SplitsAtTheLastSeparatorOfEitherKind) {
  struct Case {
    const char* path;
    const char* fileName;
    const char* folder;
  };
  for (const Case& c : {Case{"/out/mut0005.bmp", "mut0005.bmp", "/out"}, Case{"C:\\x\\unit.bmp", "unit.bmp", "C:\\x"},
                        Case{"/out/sub/", "sub", "/out"}, Case{"unit.bmp", "unit.bmp", ""},
                        Case{"/unit.bmp", "unit.bmp", ""}, Case{"C:\\x/y\\z.bmp", "z.bmp", "C:\\x/y"}}) {
    const SplitPathResult parts = SplitPath(c.path);
    EXPECT_EQ(parts.fileName, c.fileName) << c.path;
    EXPECT_EQ(parts.folder, c.folder) << c.path;
    EXPECT_EQ(GetFolder(c.path), c.folder) << c.path;
  }
}

TEST(Extensions, AreTakenAfterTheLastDot) {
  EXPECT_EQ(GetExtension("mut0005.bmp"), "BMP");
  EXPECT_EQ(GetExtension("a.b.Pal"), "PAL");
  EXPECT_EQ(GetExtension("noext"), "");
  EXPECT_EQ(StripExtension("mut0005.bmp"), "mut0005");
  EXPECT_EQ(StripExtension("a.b.c"), "a.b");
  EXPECT_EQ(StripExtension("noext"), "noext");
}

TEST(IsValidPath, AcceptsAbsoluteLinuxAndDrivePathsOnly) {
  struct Case {
    const char* path;
    bool valid;
  };
  for (const Case& c : {Case{"/home/u/unit000.bmp", true}, Case{"/home/u/", true}, Case{"/", true},
                        Case{"C:\\x\\unit.bmp", true}, Case{"C:/x/unit.bmp", true}, Case{"C:", true},
                        Case{"relative/unit.bmp", false}, Case{"unit.bmp", false}, Case{"", false},
                        Case{"//server/share", false}, Case{"\\\\server\\share", false}, Case{"/home//u", false},
                        Case{"/home/u?/x", false}, Case{"/a/b*", false}, Case{"/a/b:c", false},
                        Case{"/a/\"b\"", false}, Case{"/a/<b>", false}, Case{"/a/b|c", false}, Case{"::", false},
                        Case{"CC:\\x", false}, Case{"/home/ü/unit.bmp", true}}) {
    EXPECT_EQ(IsValidPath(c.path), c.valid) << c.path;
  }
}

TEST(Existence, FoldersCountAsFilesOnlyWithValidation) {
  zet::testing::TempDir dir;
  const std::string file = dir.file("unit000.bmp");
  zet::testing::writeFile(file, "x");
  const std::string folder = dir.path().string();
  EXPECT_TRUE(FileExists(file, true));
  EXPECT_TRUE(FileExists(file, false));
  EXPECT_TRUE(FileExists(folder, true));
  EXPECT_FALSE(FileExists(folder, false));
  EXPECT_FALSE(FileExists(dir.file("missing.bmp"), true));
  EXPECT_TRUE(FolderExists(folder, true));
  EXPECT_TRUE(FolderExists(folder + "/", true));
  EXPECT_FALSE(FolderExists(file, true));
  // A relative name is refused with validation even when it exists.
  const std::filesystem::path relative = std::filesystem::relative(file);
  EXPECT_FALSE(FileExists(relative.string(), true));
}

TEST(RemoveChars, RemovesEveryListedCharacterButBlanks) {
  EXPECT_EQ(RemoveChars("a-b_c d", "-_ "), "abc d");
  EXPECT_EQ(RemoveChars("abc", ""), "abc");
  EXPECT_EQ(RemoveChars("a;b;c", ";"), "abc");
}

TEST(IniRead, CutsAtSemicolonTrimsAndFallsBackToTheDefault) {
  zet::testing::TempDir dir;
  const std::string ini = dir.file("Profiles.ini");
  const std::string longPath = "/" + std::string(600, 'p') + "/unit000.bmp";
  zet::testing::writeFile(ini, "[S]\r\nNumber=12 ;comment\r\nEmpty=;all comment\r\nPath=/a/b;c\r\nLong=" + longPath +
                                   "\r\nPlain=value\r\n");
  EXPECT_EQ(IniRead("S", "Number", ini, "0"), "12");
  EXPECT_EQ(IniRead("S", "Empty", ini, "dflt"), "dflt");
  EXPECT_EQ(IniRead("S", "Path", ini, ""), "/a/b");
  EXPECT_EQ(IniRead("S", "Missing", ini, "0"), "0");
  EXPECT_EQ(IniRead("S", "Plain", ini, ""), "value");
  // Paths longer than 254 characters come back whole.
  EXPECT_EQ(IniRead("S", "Long", ini, ""), longPath);
  ASSERT_TRUE(IniWrite("T", "Key", "v", ini));
  EXPECT_EQ(IniRead("T", "Key", ini, ""), "v");
}

}  // namespace
}  // namespace varnel
