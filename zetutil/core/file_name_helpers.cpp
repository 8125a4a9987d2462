// File names: separators, extensions, full paths, the pieces of a path and
// temporary names. '/' separates folders, and so does '\', so that names
// written on Windows (list files, settings) keep working; a drive prefix
// "X:" ends a folder part as well. A separator that is added is '/'.
#include <cstring>
#include <string>
#include <string_view>

#include "bit_file.h"
#include "message_presenter.h"
#include "platform/file.h"
#include "text_rules.h"
#include "zetutil.h"

namespace {

// The callers' name buffers: 255 characters and the NUL.
constexpr std::size_t kPathBufferSize = 256;

constexpr std::size_t kTempNameLength = 12;
constexpr std::size_t kTempPrefixLimit = 8;

bool isSeparator(char byte) { return byte == '/' || byte == '\\'; }

// A name that ends like this already ends its folder part.
bool endsFolderPart(char byte) { return byte == ':' || isSeparator(byte); }

bool fitsPathBuffer(std::string_view text) { return text.size() < kPathBufferSize; }

void copyInto(char* buffer, std::string_view text) {
  std::memmove(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
}

// The form the directory test works on: the trimmed name as a full path.
// Full paths use '/' and end without a separator unless they are the root;
// an empty name stands for the current directory.
std::string folderForm(const char* name) {
  return platform::fullPath(std::string(zet::withoutBlanksAround(name)).c_str());
}

// Position of the '.' that starts the extension. The scan from the end
// stops at a separator or a drive colon and includes the first byte, so
// ".cfg" is all extension.
std::size_t extensionPosition(std::string_view name) {
  for (std::size_t index = name.size(); index-- > 0;) {
    if (name[index] == '.') return index;
    if (endsFolderPart(name[index])) break;
  }
  return std::string_view::npos;
}

struct PathPieces {
  std::string_view drive;
  std::string_view directory;
  std::string_view name;
  std::string_view extension;
};

PathPieces splitPath(std::string_view path) {
  PathPieces pieces;
  if (path.size() >= 2 && path[1] == ':') {
    pieces.drive = path.substr(0, 2);
    path.remove_prefix(2);
  }
  const std::size_t lastSeparator = path.find_last_of("/\\");
  const std::size_t leafStart = lastSeparator == std::string_view::npos ? 0 : lastSeparator + 1;
  pieces.directory = path.substr(0, leafStart);
  const std::string_view leaf = path.substr(leafStart);
  const std::size_t dot = extensionPosition(leaf);
  pieces.name = leaf.substr(0, dot);
  if (dot != std::string_view::npos) pieces.extension = leaf.substr(dot);
  return pieces;
}

}  // namespace

extern "C" {

ZET_EXPORT char* ZET_CALL AddBackslash(char* path) {
  if (!path) return path;
  Trim(path);
  const std::size_t length = std::strlen(path);
  // A full buffer gets no separator rather than an overflow.
  if (length > 0 && !endsFolderPart(path[length - 1]) && length + 1 < kPathBufferSize) {
    path[length] = '/';
    path[length + 1] = '\0';
  }
  return path;
}

ZET_EXPORT char* ZET_CALL HasExtension(const char* name) {
  if (!name) return nullptr;
  const std::size_t dot = extensionPosition(name);
  return dot == std::string_view::npos ? nullptr : const_cast<char*>(name + dot);
}

ZET_EXPORT void ZET_CALL ExpandFileName(char* name) {
  if (!name) return;
  try {
    const std::string full = platform::fullPath(name);
    if (fitsPathBuffer(full)) copyInto(name, full);
  } catch (...) {
    // Without memory for the full path the name stays as it was.
  }
}

ZET_EXPORT uint8_t ZET_CALL GetDrive(char* name) {
  if (!name) return 0;
  ExpandFileName(name);
  return zet::asciiUpper(static_cast<unsigned char>(name[0]));
}

// The name is tested without changing the current directory, so threads
// that use relative names meanwhile are not disturbed; only `stay` moves
// the process there.
ZET_EXPORT int32_t ZET_CALL IsDirectory(char* name, int32_t stay) {
  if (!name) return 0;
  try {
    const std::string folder = folderForm(name);
    if (!fitsPathBuffer(folder)) return 0;
    copyInto(name, folder);
    if (!platform::isDirectory(folder.c_str())) return 0;
    if (stay && !platform::setCurrentDirectory(folder.c_str())) return 0;
    return 1;
  } catch (...) {
    return 0;
  }
}

ZET_EXPORT void ZET_CALL GetFilePieces(char* path, uint8_t drive, uint8_t directory, uint8_t name,
                                       uint8_t extension) {
  if (!path) return;
  Trim(path);
  if (!*path) return;
  try {
    std::string full = folderForm(path);
    const bool isFolder = platform::isDirectory(full.c_str());
    if (isFolder) {
      if (!endsFolderPart(full.back())) full += '/';
      full += "*.*";
    }
    const PathPieces pieces = splitPath(full);
    std::string rebuilt;
    if (drive) rebuilt += pieces.drive;
    if (directory) rebuilt += pieces.directory;
    if (name && !isFolder) rebuilt += pieces.name;
    if (extension && !isFolder) rebuilt += pieces.extension;
    if (fitsPathBuffer(rebuilt)) copyInto(path, rebuilt);
  } catch (...) {
    // Without memory for the pieces the path stays trimmed.
  }
}

ZET_EXPORT char* ZET_CALL GetTempName(char* out, const char* directory, const char* prefix, uint32_t number) {
  if (!out) return out;
  const std::size_t directoryLength = directory ? std::strlen(directory) : 0;
  if (directoryLength + kTempNameLength >= kPathBufferSize) {
    *out = '\0';
    return out;
  }
  // Eight letters 'A' to 'P', one per nibble of the number, lowest first,
  // then ".AAA"; the prefix takes the place of the first letters.
  char name[kTempNameLength + 1];
  for (std::size_t index = 0; index < kTempNameLength; ++index) {
    const std::uint32_t nibble = index < 8 ? (number >> (4 * index)) & 0xFu : 0;
    name[index] = static_cast<char>('A' + nibble);
  }
  if (prefix) std::memcpy(name, prefix, strnlen(prefix, kTempPrefixLimit));
  name[8] = '.';
  name[kTempNameLength] = '\0';
  if (directoryLength > 0) std::memmove(out, directory, directoryLength);
  std::memcpy(out + directoryLength, name, sizeof name);
  return out;
}

// Names are the same when their full paths are equal byte for byte, as the
// file system compares them, or when they lead to one existing file (links).
ZET_EXPORT int32_t ZET_CALL CheckForDup(const char* inputName, const char* outputName) {
  try {
    const std::string input = platform::fullPath(inputName);
    const std::string output = platform::fullPath(outputName);
    if (input != output && !platform::sameExistingFile(input.c_str(), output.c_str())) return 1;
    zet::messagePresenter().showMessage("Output filename must be different than the input filename.", "",
                                        zet::MessageIcon::Stop);
  } catch (...) {
    // A name that cannot be checked is not let through.
  }
  return 0;
}

// Existence, not readability, decides: a file that cannot be read is still
// there to be lost. The dialog frame and the status window both ask through
// the presenter with No as the default, so the question is the same whichever
// route the caller chose.
ZET_EXPORT int32_t ZET_CALL overwrite(const char* name, int32_t /*useDialog*/) {
  if (!name || !platform::fileExists(name)) return 1;
  try {
    const std::string question = std::string("File ") + name + " exists, overwrite?";
    return zet::messagePresenter().askYesNo(question, "", /*noIsDefault=*/true) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

ZET_EXPORT uint64_t ZET_CALL zetfilesize(const char* name) {
  ZetFileRecord* file = zet::fileOpen(0, name, zet::kFileOpenRead);
  if (!file) return 0;
  const std::uint64_t size = zet::fileSize(file);
  zet::fileClose(file);
  return size;
}
}
