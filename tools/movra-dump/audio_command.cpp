// movra-dump audio: a track's decoded sound, frame after frame.
#include <string>

#include "commands.h"
#include "open_reader.h"

namespace zet::dump {
namespace {

constexpr std::uint32_t kSoundOpenFlags = 0x08004000;

}  // namespace

int runAudio(const char* movie, std::uint32_t track, const char*) {
  const Reader reader = openReader(movie, kSoundOpenFlags);
  if (!reader) return kFailure;
  if (track >= reader->tracks) {
    reportError(("The file has no sound track " + std::to_string(track) + ".").c_str());
    return kFailure;
  }
  reportError("Sound decoding is not available.");
  return kNotAvailable;
}

}  // namespace zet::dump
