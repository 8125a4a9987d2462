#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <utility>

#include "platform/file.h"

namespace platform {
namespace {

bool statOf(const char* name, struct stat& status) { return name && *name && stat(name, &status) == 0; }

bool isMissingName(int error) { return error == ENOENT || error == ENOTDIR; }

std::string withTrailingSeparator(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

FsResult deleteFile(const char* name) {
  if (!name || !*name) return FsResult::NotFound;
  if (unlink(name) == 0) return FsResult::Ok;
  return isMissingName(errno) ? FsResult::NotFound : FsResult::Failed;
}

FsResult renameFile(const char* existing, const char* newName) {
  if (!existing || !*existing) return FsResult::NotFound;
  if (!newName || !*newName) return FsResult::Failed;
  if (rename(existing, newName) == 0) return FsResult::Ok;
  // ENOENT also comes from a missing destination folder; only a missing
  // source is "not found".
  return isMissingName(errno) && !fileExists(existing) ? FsResult::NotFound : FsResult::Failed;
}

bool fileExists(const char* name) {
  struct stat status {};
  return name && *name && lstat(name, &status) == 0;
}

bool isRegularFile(const char* name) {
  struct stat status {};
  return statOf(name, status) && S_ISREG(status.st_mode);
}

bool isDirectory(const char* name) {
  struct stat status {};
  return statOf(name, status) && S_ISDIR(status.st_mode);
}

bool sameExistingFile(const char* first, const char* second) {
  struct stat firstStatus {}, secondStatus {};
  return statOf(first, firstStatus) && statOf(second, secondStatus) && firstStatus.st_dev == secondStatus.st_dev &&
         firstStatus.st_ino == secondStatus.st_ino;
}

std::vector<FolderEntry> listFolder(const char* folder) {
  std::vector<FolderEntry> entries;
  if (!folder || !*folder) return entries;
  DIR* listing = opendir(folder);
  if (!listing) return entries;
  const int folderFd = dirfd(listing);
  while (const dirent* entry = readdir(listing)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    FolderEntry item;
    item.name = name;
    // Following links, as opening the entry would.
    struct stat status {};
    if (fstatat(folderFd, entry->d_name, &status, 0) == 0) {
      item.isDirectory = S_ISDIR(status.st_mode);
      if (S_ISREG(status.st_mode)) item.size = static_cast<std::uint64_t>(status.st_size);
    }
    entries.push_back(std::move(item));
  }
  closedir(listing);
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return entries;
}

std::string temporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  return withTrailingSeparator(folder && *folder ? folder : "/tmp");
}

std::string currentDirectory() {
  std::string buffer(256, '\0');
  while (!getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE) return {};
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(buffer.find('\0'));
  return buffer;
}

bool setCurrentDirectory(const char* path) { return path && *path && chdir(path) == 0; }

std::string executableFolder() {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) {
      buffer.resize(static_cast<std::size_t>(length));
      break;
    }
    buffer.resize(buffer.size() * 2);
  }
  return buffer.substr(0, buffer.rfind('/') + 1);
}

}  // namespace platform
