// Files as the rest of the system needs them: open with share modes, read,
// write, seek, flush to disk, size, delete, rename over an existing file,
// temporary names, file times, existence and folder listing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

using FileHandle = std::intptr_t;
inline constexpr FileHandle kInvalidFile = -1;

enum class FileAccess { Read, ReadWrite };

// Share modes are advisory locks between openers that go through this layer:
// ShareNone holds the file exclusively, ShareRead lets other ShareRead openers in.
enum class FileShare { None, Read };

enum class FileDisposition {
  OpenExisting,  // fails when the file does not exist
  CreateAlways,  // creates the file, or truncates an existing one; always opens for writing
};

struct FileOpenOptions {
  FileAccess access = FileAccess::Read;
  FileShare share = FileShare::Read;
  FileDisposition disposition = FileDisposition::OpenExisting;
  bool sequentialHint = false;
};

// Fails for a folder, and when the share lock cannot be taken at once; an
// existing file is only truncated once its lock is held.
FileHandle openFile(const char* name, const FileOpenOptions& options);
bool closeFile(FileHandle file);

// Both return the bytes moved (fewer at end of file or on a full disk), or -1
// on an error before anything moved. They retry interrupted system calls.
std::int64_t readFile(FileHandle file, void* destination, std::size_t count);
std::int64_t writeFile(FileHandle file, const void* source, std::size_t count);

bool seekFile(FileHandle file, std::uint64_t position);
std::optional<std::uint64_t> fileSize(FileHandle file);
bool flushFileToDisk(FileHandle file);

// File times in the Windows format: units of 100 ns since 1601-01-01 UTC.
std::optional<std::uint64_t> fileLastWriteTime(FileHandle file);
// Sets access and modification time (Linux keeps no settable creation time).
bool setFileTimes(FileHandle file, std::uint64_t windowsTime);

enum class FsResult { Ok, NotFound, Failed };

FsResult deleteFile(const char* name);
// Moves `existing` to `newName` in one step, replacing a file of that name.
// NotFound only when `existing` is missing.
FsResult renameFile(const char* existing, const char* newName);

// Replaces the whole contents of `name` in one step: the bytes go to a new
// file in the same folder, flushed to disk, which is then renamed over `name`,
// so a failure at any point leaves the old file as it was. An existing file
// keeps its permission bits; a symbolic link keeps pointing at the file it
// names, which is the one replaced.
bool replaceFileContents(const char* name, std::string_view bytes);

bool fileExists(const char* name);  // any kind of directory entry
bool isRegularFile(const char* name);
bool isDirectory(const char* name);
// True when both names exist and are the same file (same device and inode).
bool sameExistingFile(const char* first, const char* second);

struct FolderEntry {
  std::string name;
  bool isDirectory = false;
  std::uint64_t size = 0;
};
// Entries of a folder without "." and "..", sorted by name; empty when the
// folder cannot be read.
std::vector<FolderEntry> listFolder(const char* folder);

std::string temporaryFolder();  // ends with '/'

// Without a trailing '/' except for the root.
std::string currentDirectory();
bool setCurrentDirectory(const char* path);

// The full path of a name as the operating system's full-path service forms
// it: relative names are taken from the current directory and "." and ".."
// are resolved textually; the file need not exist. '/' and '\\' both
// separate, the result uses '/', repeated separators fold into one, and a
// trailing separator is kept only for the root. An empty name gives the
// current directory.
std::string fullPath(const char* name);

// The folder of the running executable, ending with '/'.
std::string executableFolder();

}  // namespace platform
