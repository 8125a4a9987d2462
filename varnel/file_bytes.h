// Whole-file reading and writing. Writers never leave a half-written file
// under the final name.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "status.h"

namespace varnel {

// The name a file made piece by piece is written under before it replaces path.
std::string partialFileName(const std::string& path);

// Nothing when the file cannot be read or is larger than maxBytes.
std::optional<std::string> readFileBytes(const std::string& path, std::size_t maxBytes);

// Writes bytes to a file beside path, then moves it over path.
Status replaceFile(const std::string& path, const std::string& bytes);

// Moves the finished partial file over path.
Status movePartialFileInto(const std::string& path);

}  // namespace varnel
