// movra-dump audio: a track's decoded sound, frame after frame, exactly as
// the track reader gives it (16-bit little-endian, or unsigned 8-bit).
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "movra_track.h"
#include "open_reader.h"
#include "output_file.h"

namespace zet::dump {
namespace {

constexpr std::uint32_t kSoundOpenFlags = 0x08004000;

struct TrackCloser {
  void operator()(zet::MovraTrack* track) const { zet::MovraTrackClose(track); }
};

}  // namespace

int runAudio(const char* movie, std::uint32_t track, const char* output) {
  const Reader reader = openReader(movie, kSoundOpenFlags);
  if (!reader) return kFailure;
  if (track >= reader->tracks) {
    reportError(("The file has no sound track " + std::to_string(track) + ".").c_str());
    return kFailure;
  }
  const std::unique_ptr<zet::MovraTrack, TrackCloser> sound(
      zet::MovraTrackOpen(reader.get(), track));
  if (!sound) {
    reportError(("Sound track " + std::to_string(track) + " cannot be decoded.").c_str());
    return kFailure;
  }
  OutputFile out(std::fopen(output, "wb"));
  if (!out) {
    reportError(("Cannot create " + std::string(output) + ".").c_str());
    return kFailure;
  }
  zet::MovraReaderSetVideo(reader.get(), 0);
  std::vector<std::uint8_t> buffer(sound->output_bytes);
  for (std::uint32_t frame = 1; frame <= reader->frames; ++frame) {
    const std::uint32_t bytes = zet::MovraTrackDecode(sound.get(), buffer.data());
    if (std::fwrite(buffer.data(), 1, bytes, out.get()) != bytes) {
      reportError(("Cannot write " + std::string(output) + ".").c_str());
      return kFailure;
    }
    zet::MovraReaderNext(reader.get());
  }
  if (std::fclose(out.release()) != 0) {
    reportError(("Cannot write " + std::string(output) + ".").c_str());
    return kFailure;
  }
  return 0;
}

}  // namespace zet::dump
