#include "reader_last_error.h"

namespace zet {
namespace {

// Only the constant texts above are ever stored, so a pointer is enough.
thread_local const char* lastError = "";

}  // namespace

const char* MovraReaderLastError() { return lastError; }

void setReaderLastError(const char* text) { lastError = text; }

}  // namespace zet
