// Error texts reported from more than one place of the encoder.
#pragma once

namespace movra {

inline constexpr const char* kOutOfMemoryMessage = "Out of memory!";
inline constexpr const char* kShortWriteMessage =
    "Movra couldn't write the whole file (the drive may be full).";
inline constexpr const char* kPlaneTooLargeMessage =
    "A frame's coded picture didn't fit the room Movra keeps for it.";

}  // namespace movra
