// Profile strings with the semantics of Windows ini files: sections and keys
// match without regard to ASCII case, values are trimmed and lose one pair of
// enclosing quotes, ';' starts a comment line, the first of two equal
// sections or keys counts, CR LF and LF line ends are both read. The file
// (and its folder) is created on the first write; a write replaces the file
// in one step and keeps every line it does not change. An unreadable or
// malformed file reads as empty sections. The text format is in
// profile_document.h.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// The shared settings file of the toolkit: $ZET_WIN_INI, else
// $XDG_CONFIG_HOME/zet-video-tools/win.ini (XDG_CONFIG_HOME defaulting to
// ~/.config).
std::string winIniPath();

std::string profileString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& defaultValue);
// The number at the start of the value (decimal, optional sign, held to the
// range of int), else the default.
int profileInt(const std::string& file, const std::string& section, const std::string& key, int defaultValue);

// Each key once, with the value profileString gives, in file order.
using ProfileEntries = std::vector<std::pair<std::string, std::string>>;
ProfileEntries profileSection(const std::string& file, const std::string& section);
std::vector<std::string> profileSectionNames(const std::string& file);
std::vector<std::string> profileKeys(const std::string& file, const std::string& section);

// A missing value deletes the key; false when the file cannot be read or
// written, or the names or value cannot be stored as given (see
// ProfileDocument::setValue). Deleting what is not there leaves the file as
// it is and succeeds.
bool writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::optional<std::string>& value);
bool deleteProfileSection(const std::string& file, const std::string& section);

}  // namespace platform
