#include "output_sequence_list.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_dir.h"

namespace varnel {
namespace {

TEST(RefreshOutputList, ListsFilesOfThePrefixWithTheExtensionInAnyCase) {
  zet::testing::TempDir dir;
  for (const char* name : {"mut0000.bmp", "mut0001.BMP", "mut-0999.bmp", "mut0002.pal", "Mut0003.bmp", "mu0004.bmp",
                           "other.bmp", "mut0005"}) {
    zet::testing::writeFile(dir.file(name), "x");
  }
  std::filesystem::create_directory(dir.file("mut0009.bmp.d"));
  std::filesystem::create_directory(dir.file("mut0010.bmp"));
  const OutputSequenceList list = RefreshOutputList(dir.file("mut0005.bmp"));
  EXPECT_EQ(list.folder, dir.path().string());
  // The prefix is the base name without its last five characters: "mu".
  EXPECT_EQ(list.items, (std::vector<std::string>{" ", "mu0004.bmp", "mut-0999.bmp", "mut0000.bmp", "mut0001.BMP"}));
}

TEST(RefreshOutputList, LeavesOnlyTheBlankEntryWhenThereIsNothingToList) {
  zet::testing::TempDir dir;
  zet::testing::writeFile(dir.file("abcd.bmp"), "x");
  for (const std::string& outputFile : {dir.file("abcd.bmp"), dir.file("missing/mut0000.bmp"), std::string(""),
                                        std::string("relative/mut0000.bmp")}) {
    const OutputSequenceList list = RefreshOutputList(outputFile);
    EXPECT_EQ(list.items, std::vector<std::string>{" "}) << outputFile;
  }
}

}  // namespace
}  // namespace varnel
