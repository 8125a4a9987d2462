#include "profile_store.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "file_bytes.h"
#include "platform/file.h"
#include "standard_functions.h"
#include "unit_tables.h"

namespace varnel {

namespace {

constexpr const char* kProfilesSection = "Profiles";
constexpr const char* kGeneralSection = "General";
constexpr const char* kSelectedProfileKey = "SelectedProfile";

bool isReadable(const std::string& path) {
  if (!platform::isRegularFile(path.c_str())) return false;
  const platform::FileHandle file = platform::openFile(path.c_str(), {});
  if (file == platform::kInvalidFile) return false;
  platform::closeFile(file);
  return true;
}

UnitProfile readProfile(const std::string& iniPath, const std::string& name) {
  UnitProfile profile;
  profile.Name = name;
  profile.OutputFile = IniRead(name, "OutputFile", iniPath, "");
  profile.SourceFile = IniRead(name, "SourceFile", iniPath, "");
  profile.Weapon = storedNumber(IniRead(name, "Weapon", iniPath, "0"), 0, kWeaponCount - 1);
  profile.WeaponOffsetY =
      storedNumber(IniRead(name, "WeaponOffsetY", iniPath, "0"), kMinWeaponOffsetY, kMaxWeaponOffsetY);
  profile.UnitType = storedNumber(IniRead(name, "UnitType", iniPath, "0"), 0, kUnitTypeCount - 1);
  return profile;
}

bool writeProfile(const std::string& file, int position, const UnitProfile& profile) {
  const std::string& section = profile.Name;
  return IniWrite(kProfilesSection, NumToStr(position, 1), profile.Name, file) &&
         IniWrite(section, "OutputFile", profile.OutputFile, file) &&
         IniWrite(section, "SourceFile", profile.SourceFile, file) &&
         IniWrite(section, "Weapon", NumToStr(profile.Weapon, 1), file) &&
         IniWrite(section, "WeaponOffsetY", NumToStr(profile.WeaponOffsetY, 1), file) &&
         IniWrite(section, "UnitType", NumToStr(profile.UnitType, 1), file);
}

}  // namespace

std::int16_t storedNumber(const std::string& text, int minimum, int maximum) {
  std::size_t position = 0;
  while (position < text.size() && isBlank(text[position])) ++position;
  std::string number;
  if (position < text.size() && (text[position] == '-' || text[position] == '+')) number += text[position++];
  bool seenDigit = false;
  bool seenPoint = false;
  for (; position < text.size(); ++position) {
    const char c = text[position];
    if (c >= '0' && c <= '9') {
      seenDigit = true;
    } else if (c == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
    number += c;
  }
  if (!seenDigit) return 0;
  // The default rounding mode of nearbyint rounds halves to even.
  const double value = std::nearbyint(std::strtod(number.c_str(), nullptr));
  return static_cast<std::int16_t>(std::clamp(value, static_cast<double>(minimum), static_cast<double>(maximum)));
}

StoredProfiles loadProfiles(const std::string& iniPath) {
  StoredProfiles stored;
  if (!platform::fileExists(iniPath.c_str())) return stored;
  if (!isReadable(iniPath)) {
    stored.status = Status::failure("The profile file \"" + iniPath +
                                    "\" cannot be read, so no profiles were loaded. When the profiles are "
                                    "saved, that file is kept as the backup Profiles.old.");
    return stored;
  }
  for (int k = 0;; ++k) {
    const std::string name = IniRead(kProfilesSection, NumToStr(k, 1), iniPath, "");
    if (name.empty()) break;
    stored.profiles.push_back(readProfile(iniPath, name));
  }
  stored.selectedProfile = storedNumber(IniRead(kGeneralSection, kSelectedProfileKey, iniPath, "0"),
                                        std::numeric_limits<std::int16_t>::min(),
                                        std::numeric_limits<std::int16_t>::max());
  return stored;
}

Status saveProfiles(const std::string& iniPath, const std::string& backupPath,
                    const std::vector<UnitProfile>& profiles, int selectedProfile) {
  const std::string partial = partialFileName(iniPath);
  platform::deleteFile(partial.c_str());
  bool written = true;
  for (std::size_t k = 0; k < profiles.size() && written; ++k) {
    written = writeProfile(partial, static_cast<int>(k), profiles[k]);
  }
  written = written && IniWrite(kGeneralSection, kSelectedProfileKey, NumToStr(selectedProfile, 1), partial);
  if (!written) {
    platform::deleteFile(partial.c_str());
    return Status::failure("The profiles could not be saved: \"" + partial + "\" cannot be written.");
  }
  if (platform::fileExists(iniPath.c_str()) &&
      platform::renameFile(iniPath.c_str(), backupPath.c_str()) != platform::FsResult::Ok) {
    platform::deleteFile(partial.c_str());
    return Status::failure("The profiles could not be saved: \"" + iniPath + "\" cannot be renamed to \"" +
                           backupPath + "\".");
  }
  Status moved = movePartialFileInto(iniPath);
  if (!moved) return Status::failure("The profiles could not be saved: " + moved.message());
  return moved;
}

}  // namespace varnel
