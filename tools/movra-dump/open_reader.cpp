#include "open_reader.h"

#include <cstdio>

#include "reader_last_error.h"

namespace zet::dump {

void reportError(const char* text) { std::fprintf(stderr, "movra-dump: %s\n", text); }

Reader openReader(const char* movie, std::uint32_t flags) {
  Reader reader(zet::MovraReaderOpen(movie, flags));
  if (!reader) reportError(zet::MovraReaderLastError());
  return reader;
}

}  // namespace zet::dump
