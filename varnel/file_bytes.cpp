#include "file_bytes.h"

#include "platform/file.h"

namespace varnel {

std::string partialFileName(const std::string& path) { return path + ".partial"; }

std::optional<std::string> readFileBytes(const std::string& path, std::size_t maxBytes) {
  if (!platform::isRegularFile(path.c_str())) return std::nullopt;
  const platform::FileHandle file = platform::openFile(path.c_str(), {});
  if (file == platform::kInvalidFile) return std::nullopt;
  std::optional<std::string> bytes;
  const std::optional<std::uint64_t> size = platform::fileSize(file);
  if (size && *size <= maxBytes) {
    std::string buffer(static_cast<std::size_t>(*size), '\0');
    if (platform::readFile(file, buffer.data(), buffer.size()) == static_cast<std::int64_t>(buffer.size())) {
      bytes = std::move(buffer);
    }
  }
  platform::closeFile(file);
  return bytes;
}

Status movePartialFileInto(const std::string& path) {
  const std::string partial = partialFileName(path);
  if (platform::renameFile(partial.c_str(), path.c_str()) != platform::FsResult::Ok) {
    platform::deleteFile(partial.c_str());
    return Status::failure("\"" + path + "\" cannot be replaced.");
  }
  return Status::success();
}

Status replaceFile(const std::string& path, const std::string& bytes) {
  if (!platform::replaceFileContents(path.c_str(), bytes)) {
    return Status::failure("\"" + path + "\" cannot be written.");
  }
  return Status::success();
}

}  // namespace varnel
