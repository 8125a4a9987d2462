#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "platform/file.h"

namespace platform {
namespace {

// 100 ns units between 1601-01-01 and 1970-01-01, both UTC.
constexpr std::int64_t kUnixEpochInWindowsTime = 116444736000000000;
constexpr std::int64_t kWindowsTicksPerSecond = 10000000;

int descriptor(FileHandle file) { return static_cast<int>(file); }

bool isOpenHandle(FileHandle file) {
  return file >= 0 && file <= std::numeric_limits<int>::max();
}

int lockOperation(FileShare share) {
  return (share == FileShare::None ? LOCK_EX : LOCK_SH) | LOCK_NB;
}

bool isFolder(int fd) {
  struct stat status {};
  return fstat(fd, &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

FileHandle openFile(const char* name, const FileOpenOptions& options) {
  if (!name || !*name) return kInvalidFile;
  const bool create = options.disposition == FileDisposition::CreateAlways;
  int flags = O_CLOEXEC;
  flags |= (create || options.access == FileAccess::ReadWrite) ? O_RDWR : O_RDONLY;
  if (create) flags |= O_CREAT;
  int fd;
  do {
    fd = open(name, flags, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return kInvalidFile;
  if (isFolder(fd) || flock(fd, lockOperation(options.share)) != 0) {
    close(fd);
    return kInvalidFile;
  }
  // Truncating only now, with the lock held, keeps a file that another opener
  // holds exclusively intact when this open is refused.
  if (create && ftruncate(fd, 0) != 0) {
    close(fd);
    return kInvalidFile;
  }
  if (options.sequentialHint) posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  return fd;
}

bool closeFile(FileHandle file) {
  if (!isOpenHandle(file)) return false;
  // Linux releases the descriptor even when close reports EINTR, so no retry.
  return close(descriptor(file)) == 0;
}

std::int64_t readFile(FileHandle file, void* destination, std::size_t count) {
  if (!isOpenHandle(file) || (!destination && count > 0)) return -1;
  auto* bytes = static_cast<unsigned char*>(destination);
  std::size_t moved = 0;
  while (moved < count) {
    const ssize_t got = read(descriptor(file), bytes + moved, count - moved);
    if (got > 0) {
      moved += static_cast<std::size_t>(got);
    } else if (got == 0) {
      break;
    } else if (errno != EINTR) {
      if (moved == 0) return -1;
      break;
    }
  }
  return static_cast<std::int64_t>(moved);
}

std::int64_t writeFile(FileHandle file, const void* source, std::size_t count) {
  if (!isOpenHandle(file) || (!source && count > 0)) return -1;
  const auto* bytes = static_cast<const unsigned char*>(source);
  std::size_t moved = 0;
  while (moved < count) {
    const ssize_t put = write(descriptor(file), bytes + moved, count - moved);
    if (put > 0) {
      moved += static_cast<std::size_t>(put);
    } else if (put < 0 && errno == EINTR) {
      continue;
    } else {
      if (moved == 0) return -1;
      break;
    }
  }
  return static_cast<std::int64_t>(moved);
}

bool seekFile(FileHandle file, std::uint64_t position) {
  if (!isOpenHandle(file) || position > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return false;
  return lseek(descriptor(file), static_cast<off_t>(position), SEEK_SET) >= 0;
}

std::optional<std::uint64_t> fileSize(FileHandle file) {
  struct stat status {};
  if (!isOpenHandle(file) || fstat(descriptor(file), &status) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(status.st_size);
}

bool flushFileToDisk(FileHandle file) {
  if (!isOpenHandle(file)) return false;
  return fsync(descriptor(file)) == 0;
}

std::optional<std::uint64_t> fileLastWriteTime(FileHandle file) {
  struct stat status {};
  if (!isOpenHandle(file) || fstat(descriptor(file), &status) != 0) return std::nullopt;
  const std::int64_t ticks = static_cast<std::int64_t>(status.st_mtim.tv_sec) * kWindowsTicksPerSecond +
                             status.st_mtim.tv_nsec / 100 + kUnixEpochInWindowsTime;
  // A time before 1601 has no Windows form; the earliest one stands in.
  return static_cast<std::uint64_t>(ticks < 0 ? 0 : ticks);
}

bool setFileTimes(FileHandle file, std::uint64_t windowsTime) {
  // Windows itself refuses times with the top bit set.
  if (!isOpenHandle(file) || windowsTime > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
    return false;
  }
  // The floor division keeps times before 1970 right.
  const std::int64_t sinceUnixEpoch = static_cast<std::int64_t>(windowsTime) - kUnixEpochInWindowsTime;
  std::int64_t seconds = sinceUnixEpoch / kWindowsTicksPerSecond;
  std::int64_t remainder = sinceUnixEpoch % kWindowsTicksPerSecond;
  if (remainder < 0) {
    remainder += kWindowsTicksPerSecond;
    seconds -= 1;
  }
  const timespec time{static_cast<time_t>(seconds), static_cast<long>(remainder * 100)};
  const timespec times[2] = {time, time};
  return futimens(descriptor(file), times) == 0;
}

}  // namespace platform
