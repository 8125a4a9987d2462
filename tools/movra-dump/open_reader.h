// Opening a movie for a command, reporting failure the way every command does.
#pragma once

#include <cstdint>
#include <memory>

#include "movra_reader.h"

namespace zet::dump {

struct ReaderCloser {
  void operator()(zet::MovraReader* reader) const { zet::MovraReaderClose(reader); }
};
using Reader = std::unique_ptr<zet::MovraReader, ReaderCloser>;

// The open reader, or null after printing the reader's reason to stderr.
Reader openReader(const char* movie, std::uint32_t flags);

void reportError(const char* text);

}  // namespace zet::dump
