#include "profile_list.h"

#include <algorithm>
#include <stdexcept>

#include "profile_names.h"
#include "standard_functions.h"

namespace varnel {

ProfileList::ProfileList() : entries_(1) { appendTemplateProfile(false); }

ProfileList::ProfileList(std::vector<UnitProfile> profiles) : entries_(std::move(profiles)) {
  // A stable sort keeps profiles of equal names in file order, as pairwise
  // swapping of neighbours does.
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const UnitProfile& a, const UnitProfile& b) { return a.Name < b.Name; });
  entries_.emplace_back();
  appendTemplateProfile(false);
}

std::vector<UnitProfile> ProfileList::profiles() const { return {entries_.begin(), entries_.end() - 1}; }

void ProfileList::appendTemplateProfile(bool grow) {
  if (grow) entries_.emplace_back();
  UnitProfile& slot = entries_.back();
  slot.Name = kTemplateProfileName;
  slot.OutputFile.clear();
  slot.SourceFile.clear();
  slot.Weapon = 0;
  slot.UnitType = 0;
}

std::string ProfileList::nameProblem(int index, const std::string& name) const {
  std::string problem = profileNameProblem(name);
  if (!problem.empty()) return problem;
  for (int other = 0; other < profileCount(); ++other) {
    // Sections are found without regard to case, so such names would share one.
    if (other != index && equalsIgnoringCase(entry(other).Name, name)) return "another profile has that name";
  }
  return {};
}

bool ProfileList::rename(int index, const std::string& name) {
  UnitProfile& profile = entry(index);
  if (profile.Name == name) return false;
  profile.Name = name;
  if (!isTemplate(index)) return false;
  appendTemplateProfile(true);
  return true;
}

int ProfileList::clone(int index) {
  if (index < 0 || index >= profileCount()) throw std::out_of_range("only a real profile can be cloned");
  const std::string base = entry(index).Name + " Clone";
  std::string name = base;
  for (int suffix = 2; !nameProblem(-1, name).empty(); ++suffix) name = base + " " + std::to_string(suffix);
  entries_.back() = entry(index);
  entries_.back().Name = name;
  appendTemplateProfile(true);
  return profileCount() - 1;
}

void ProfileList::remove(int index) {
  if (index < 0 || index >= profileCount()) throw std::out_of_range("only a real profile can be deleted");
  entries_.erase(entries_.begin() + index);
}

}  // namespace varnel
