#include "varnel_folders.h"

#include <cstdlib>

#include "platform/file.h"
#include "standard_functions.h"

namespace varnel {

VarnelFolders foldersFor(const std::string& appFolder, const std::string& programFolder) {
  VarnelFolders folders;
  folders.AppFolder = appFolder;
  folders.ResourcesFolder = BuildPath(programFolder, "Resources");
  folders.ProfilesIni = BuildPath(appFolder, "Profiles.ini");
  folders.ProfilesOld = BuildPath(appFolder, "Profiles.old");
  folders.NullBitmapPath = BuildPath(programFolder, "Null.bmp");
  return folders;
}

VarnelFolders installedFolders() {
  const std::string programFolder = platform::executableFolder();
  const char* home = std::getenv("VARNEL_HOME");
  return foldersFor(home && *home ? std::string(home) : programFolder, programFolder);
}

}  // namespace varnel
