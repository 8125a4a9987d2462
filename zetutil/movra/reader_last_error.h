// Why the last MovraReaderOpen on this thread failed. Kept per thread so
// that readers opened on different threads never see each other's reasons.
#pragma once

namespace zet {

inline constexpr const char* kErrorOpeningFile = "Error opening file.";
inline constexpr const char* kNotAMovraFile = "Not a Movra file.";
inline constexpr const char* kNoFramesYet = "The file doesn't contain any compressed frames yet.";
inline constexpr const char* kOutOfMemory = "Out of memory.";

// The text of the last failure on this thread, or "" when the last open worked.
const char* MovraReaderLastError();

void setReaderLastError(const char* text);

}  // namespace zet
