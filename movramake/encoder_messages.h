// Error texts reported from more than one place of the encoder.
#pragma once

namespace movra {

inline constexpr const char* kOutOfMemoryMessage = "Out of memory!";
inline constexpr const char* kShortWriteMessage =
    "Movra couldn't write the whole file (the drive may be full).";
inline constexpr const char* kFileLimitMessage =
    "The Movra file would grow past 4 GB, the largest size it can hold.";
inline constexpr const char* kOverwriteFormat =
    "Movra couldn't overwrite, '%s', so the new Movra file is called: '%s'.";
inline constexpr const char* kPlaneTooLargeMessage =
    "A frame's coded picture didn't fit the room Movra keeps for it.";

}  // namespace movra
