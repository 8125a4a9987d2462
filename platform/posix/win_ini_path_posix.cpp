#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/profile.h"

namespace platform {
namespace {

// The home folder: $HOME, else the password database.
std::string homeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir) {
    return found->pw_dir;
  }
  return {};
}

}  // namespace

std::string winIniPath() {
  if (const char* named = std::getenv("ZET_WIN_INI"); named && *named) return named;
  // A relative XDG_CONFIG_HOME is not valid and is ignored.
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const std::string base = config && config[0] == '/' ? std::string(config) : homeFolder() + "/.config";
  return base + "/zet-video-tools/win.ini";
}

}  // namespace platform
