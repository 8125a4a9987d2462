// The file a command writes its output to, closed when it goes out of scope.
#pragma once

#include <cstdio>
#include <memory>

namespace zet::dump {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using OutputFile = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace zet::dump
