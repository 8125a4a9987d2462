#include "profile_list.h"

#include <gtest/gtest.h>

namespace varnel {
namespace {

UnitProfile named(const std::string& name) {
  UnitProfile profile;
  profile.Name = name;
  return profile;
}

std::vector<std::string> names(const ProfileList& list) {
  std::vector<std::string> result;
  for (int i = 0; i < list.entryCount(); ++i) result.push_back(list.entry(i).Name);
  return result;
}

TEST(ProfileList, StartsWithTheTemplateOnly) {
  const ProfileList list;
  EXPECT_EQ(list.profileCount(), 0);
  EXPECT_EQ(names(list), std::vector<std::string>{"New profile"});
  EXPECT_TRUE(list.isTemplate(0));
}

TEST(ProfileList, SortsLoadedProfilesByCharacterCode) {
  const ProfileList list({named("b"), named("B"), named("a")});
  EXPECT_EQ(names(list), (std::vector<std::string>{"B", "a", "b", "New profile"}));
}

TEST(ProfileList, NamingTheTemplateMakesAProfileAndANewTemplate) {
  ProfileList list;
  list.entry(0).WeaponOffsetY = 3;
  EXPECT_TRUE(list.rename(0, "A"));
  EXPECT_EQ(names(list), (std::vector<std::string>{"A", "New profile"}));
  EXPECT_EQ(list.entry(0).WeaponOffsetY, 3);
  EXPECT_EQ(list.entry(1).WeaponOffsetY, 0);
  EXPECT_FALSE(list.rename(0, "Ab"));
  EXPECT_EQ(list.profileCount(), 1);
}

TEST(ProfileList, CloneCopiesTheRecordUnderAFreeName) {
  UnitProfile muton = named("Muton");
  muton.SourceFile = "/x/unit000.bmp";
  muton.Weapon = 2;
  muton.WeaponOffsetY = -4;
  ProfileList list({muton});
  EXPECT_EQ(list.clone(0), 1);
  EXPECT_EQ(list.clone(0), 2);
  EXPECT_EQ(names(list), (std::vector<std::string>{"Muton", "Muton Clone", "Muton Clone 2", "New profile"}));
  EXPECT_EQ(list.entry(1).SourceFile, "/x/unit000.bmp");
  EXPECT_EQ(list.entry(1).Weapon, 2);
  EXPECT_EQ(list.entry(2).WeaponOffsetY, -4);
  EXPECT_THROW(list.clone(3), std::out_of_range);
}

TEST(ProfileList, RemoveMovesTheFollowingEntriesUp) {
  ProfileList list({named("a"), named("b")});
  list.remove(0);
  EXPECT_EQ(names(list), (std::vector<std::string>{"b", "New profile"}));
  list.remove(0);
  EXPECT_EQ(names(list), std::vector<std::string>{"New profile"});
  EXPECT_THROW(list.remove(0), std::out_of_range);
}

TEST(ProfileList, RefusesNamesThatDoNotSurviveTheProfileFile) {
  const ProfileList list({named("Muton"), named("Sectoid")});
  struct Case {
    const char* name;
    bool usable;
  };
  for (const Case& c : {Case{"Muton 2", true}, Case{"Muton", true}, Case{"sectoid", false}, Case{"Sectoid", false},
                        Case{"General", false}, Case{"profiles", false}, Case{"", false}, Case{" Muton", false},
                        Case{"Muton ", false}, Case{"a]b", false}, Case{"a=b", false}, Case{"a;b", false},
                        Case{"\"quoted\"", false}, Case{"tab\there", false}, Case{"[x", true},
                        Case{"Général", true}}) {
    EXPECT_EQ(list.nameProblem(0, c.name).empty(), c.usable) << c.name;
  }
}

}  // namespace
}  // namespace varnel
