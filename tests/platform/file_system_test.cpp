#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/file.h"
#include "scoped_environment.h"
#include "temp_dir.h"

namespace platform {
namespace {

using zet::testing::readFile;
using zet::testing::TempDir;
using zet::testing::writeFile;

TEST(RenameFile, ReplacesAnExistingDestination) {
  TempDir dir;
  writeFile(dir.file("new"), "new contents");
  writeFile(dir.file("old"), "old contents");
  EXPECT_EQ(renameFile(dir.file("new").c_str(), dir.file("old").c_str()), FsResult::Ok);
  EXPECT_EQ(readFile(dir.file("old")), "new contents");
  EXPECT_FALSE(fileExists(dir.file("new").c_str()));
}

TEST(RenameFile, MissingSourceIsNotFoundAndAMissingDestinationFolderFails) {
  TempDir dir;
  EXPECT_EQ(renameFile(dir.file("missing").c_str(), dir.file("other").c_str()), FsResult::NotFound);
  writeFile(dir.file("source"), "x");
  EXPECT_EQ(renameFile(dir.file("source").c_str(), dir.file("no-folder/other").c_str()), FsResult::Failed);
  EXPECT_EQ(renameFile(dir.file("source").c_str(), dir.file("source/other").c_str()), FsResult::Failed);
  EXPECT_EQ(readFile(dir.file("source")), "x");
}

TEST(DeleteFile, ReportsMissingFilesApartFromFailures) {
  TempDir dir;
  writeFile(dir.file("doomed"), "x");
  EXPECT_EQ(deleteFile(dir.file("doomed").c_str()), FsResult::Ok);
  EXPECT_FALSE(fileExists(dir.file("doomed").c_str()));
  EXPECT_EQ(deleteFile(dir.file("doomed").c_str()), FsResult::NotFound);
  EXPECT_EQ(deleteFile(dir.file("no-folder/doomed").c_str()), FsResult::NotFound);
  ASSERT_EQ(mkdir(dir.file("folder").c_str(), 0755), 0);
  EXPECT_EQ(deleteFile(dir.file("folder").c_str()), FsResult::Failed);
}

TEST(FileKinds, ExistenceFilesAndFoldersAreToldApart) {
  TempDir dir;
  writeFile(dir.file("plain"), "x");
  ASSERT_EQ(mkdir(dir.file("folder").c_str(), 0755), 0);
  ASSERT_EQ(symlink(dir.file("gone").c_str(), dir.file("dangling").c_str()), 0);
  struct Case {
    std::string name;
    bool exists, regular, folder;
  };
  for (const Case& c : {Case{"plain", true, true, false}, Case{"folder", true, false, true},
                        Case{"dangling", true, false, false}, Case{"missing", false, false, false}}) {
    SCOPED_TRACE(c.name);
    const std::string name = dir.file(c.name);
    EXPECT_EQ(fileExists(name.c_str()), c.exists);
    EXPECT_EQ(isRegularFile(name.c_str()), c.regular);
    EXPECT_EQ(isDirectory(name.c_str()), c.folder);
  }
  EXPECT_FALSE(fileExists(""));
  EXPECT_FALSE(fileExists(nullptr));
}

TEST(SameExistingFile, ComparesTheFileNotTheName) {
  TempDir dir;
  writeFile(dir.file("a"), "x");
  writeFile(dir.file("b"), "x");
  ASSERT_EQ(link(dir.file("a").c_str(), dir.file("hard").c_str()), 0);
  EXPECT_TRUE(sameExistingFile(dir.file("a").c_str(), dir.file("hard").c_str()));
  EXPECT_TRUE(sameExistingFile(dir.file("a").c_str(), (dir.path().string() + "/./a").c_str()));
  EXPECT_FALSE(sameExistingFile(dir.file("a").c_str(), dir.file("b").c_str()));
  EXPECT_FALSE(sameExistingFile(dir.file("missing").c_str(), dir.file("missing").c_str()));
}

TEST(ListFolder, ListsEntriesSortedByNameWithKindAndSize) {
  TempDir dir;
  writeFile(dir.file("b.txt"), "12345");
  writeFile(dir.file("A.txt"), "");
  ASSERT_EQ(mkdir(dir.file("c").c_str(), 0755), 0);
  const auto entries = listFolder(dir.path().c_str());
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, "A.txt");
  EXPECT_EQ(entries[1].name, "b.txt");
  EXPECT_EQ(entries[1].size, 5u);
  EXPECT_FALSE(entries[1].isDirectory);
  EXPECT_EQ(entries[2].name, "c");
  EXPECT_TRUE(entries[2].isDirectory);
  EXPECT_TRUE(listFolder(dir.file("missing").c_str()).empty());
}

TEST(TemporaryFolder, ComesFromTmpdirElseTmpAndEndsWithASeparator) {
  testing::ScopedEnvironment environment;
  environment.set("TMPDIR", "/var/tmp");
  EXPECT_EQ(temporaryFolder(), "/var/tmp/");
  environment.set("TMPDIR", "/var/tmp/");
  EXPECT_EQ(temporaryFolder(), "/var/tmp/");
  environment.set("TMPDIR", std::nullopt);
  EXPECT_EQ(temporaryFolder(), "/tmp/");
}

TEST(CurrentDirectory, FollowsSetCurrentDirectory) {
  TempDir dir;
  const std::string before = currentDirectory();
  ASSERT_TRUE(setCurrentDirectory(dir.path().c_str()));
  const std::string inside = currentDirectory();
  EXPECT_TRUE(sameExistingFile(inside.c_str(), dir.path().c_str()));
  EXPECT_NE(inside.back(), '/');
  ASSERT_TRUE(setCurrentDirectory(before.c_str()));
  EXPECT_FALSE(setCurrentDirectory(dir.file("missing").c_str()));
  EXPECT_EQ(currentDirectory(), before);
}

TEST(ExecutableFolder, HoldsThisTestProgram) {
  const std::string folder = executableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(isRegularFile((folder + program_invocation_short_name).c_str()));
}

}  // namespace
}  // namespace platform
