// Profiles.ini: the profile names in [Profiles], one section per profile, and
// the entry selected when the program last closed in [General].
#pragma once

#include <string>
#include <vector>

#include "status.h"
#include "unit_profile.h"

namespace varnel {

struct StoredProfiles {
  Status status = Status::success();  // a failure still leaves an empty list to work with
  std::vector<UnitProfile> profiles;   // in file order
  int selectedProfile = 0;
};

// A missing file gives no profiles. Stored numbers are clamped to the ranges of
// the weapon and unit-type tables and of the offset slider.
StoredProfiles loadProfiles(const std::string& iniPath);

// Writes a fresh file beside iniPath, then keeps the previous file as
// backupPath and moves the new one into place; on failure the previous file
// stays as it was.
Status saveProfiles(const std::string& iniPath, const std::string& backupPath,
                    const std::vector<UnitProfile>& profiles, int selectedProfile);

// The leading decimal number of text (0 when there is none), rounded half to
// even and clamped to [minimum, maximum].
std::int16_t storedNumber(const std::string& text, int minimum, int maximum);

}  // namespace varnel
