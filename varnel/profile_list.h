// The profiles in list order, always followed by the template entry
// "New profile". List index and array index are the same number.
#pragma once

#include <string>
#include <vector>

#include "unit_profile.h"

namespace varnel {

inline constexpr const char* kTemplateProfileName = "New profile";

class ProfileList {
 public:
  ProfileList();
  // The loaded profiles sorted by name in character-code order, then the template.
  explicit ProfileList(std::vector<UnitProfile> profiles);

  int profileCount() const { return static_cast<int>(entries_.size()) - 1; }
  int entryCount() const { return static_cast<int>(entries_.size()); }
  bool isTemplate(int index) const { return index == profileCount(); }
  const UnitProfile& entry(int index) const { return entries_.at(static_cast<std::size_t>(index)); }
  UnitProfile& entry(int index) { return entries_.at(static_cast<std::size_t>(index)); }
  // The real profiles, without the template.
  std::vector<UnitProfile> profiles() const;

  // Empty when name may be given to the entry at index; otherwise why not.
  std::string nameProblem(int index, const std::string& name) const;

  // Stores the name; naming the template turns it into a real profile that a
  // new template follows. True when that happened.
  bool rename(int index, const std::string& name);
  // Copies a real profile under a new name placed before the template; returns
  // the index of the copy.
  int clone(int index);
  void remove(int index);

 private:
  void appendTemplateProfile(bool grow);

  std::vector<UnitProfile> entries_;
};

}  // namespace varnel
