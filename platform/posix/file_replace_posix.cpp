#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/file.h"

namespace platform {
namespace {

// The file a name stands for: the target of a symbolic link, so that
// replacing it keeps the link.
std::string resolvedTarget(const char* name) {
  struct stat status {};
  if (lstat(name, &status) == 0 && S_ISLNK(status.st_mode)) {
    const std::unique_ptr<char, decltype(&std::free)> real(realpath(name, nullptr), &std::free);
    if (real) return real.get();
  }
  return name;
}

std::string folderOf(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : name.substr(0, slash);
}

// A new file next to `target` that no one else uses; mode 0666 lets the
// umask decide for a file that does not exist yet.
int createSibling(const std::string& target, std::string& siblingName) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    siblingName = target + ".new-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    const int fd = open(siblingName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

void syncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

bool replaceFileContents(const char* name, std::string_view bytes) {
  if (!name || !*name) return false;
  const std::string target = resolvedTarget(name);
  std::string siblingName;
  const int fd = createSibling(target, siblingName);
  if (fd < 0) return false;

  bool written = true;
  struct stat old {};
  if (stat(target.c_str(), &old) == 0) {
    written = S_ISREG(old.st_mode);
    // Only root may give the file away; for anyone else the new file is
    // already theirs.
    if (written && fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM) written = false;
    if (written && fchmod(fd, old.st_mode & 07777) != 0) written = false;
  }
  if (written) written = writeFile(fd, bytes.data(), bytes.size()) == static_cast<std::int64_t>(bytes.size());
  if (written) written = fsync(fd) == 0;
  if (close(fd) != 0) written = false;
  if (written) written = rename(siblingName.c_str(), target.c_str()) == 0;
  if (!written) {
    unlink(siblingName.c_str());
    return false;
  }
  syncFolder(folderOf(target));
  return true;
}

}  // namespace platform
