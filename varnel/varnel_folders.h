// Where the program's files live. The profiles and the palette files belong to
// the application folder: the folder named by VARNEL_HOME, else the program's
// own folder. Null.bmp and Resources ship beside the program file.
#pragma once

#include <string>

namespace varnel {

struct VarnelFolders {
  std::string AppFolder;
  std::string ResourcesFolder;  // the weapon layers lie in its "weapons" folder
  std::string ProfilesIni;
  std::string ProfilesOld;
  std::string NullBitmapPath;
};

VarnelFolders foldersFor(const std::string& appFolder, const std::string& programFolder);
VarnelFolders installedFolders();

}  // namespace varnel
