#include "encoder_settings.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace movra {
namespace {

constexpr const char* kNameMessage = "The Movra file name is missing or longer than 251 characters.";
constexpr const char* kSizeMessage = "Movra can't compress pictures of that size.";
constexpr const char* kFrameCountMessage = "Movra can't compress that number of frames.";
constexpr const char* kFrameRateMessage =
    "Movra needs a frame rate whose dividend and divider are both non-zero.";
constexpr const char* kTrackMessage =
    "Each Movra sound track needs a sound callback, 1 or 2 channels and a sample rate of 1 to "
    "65535 Hz.";

std::uint32_t roundUpTo8(std::uint32_t value) { return (value + 7) & ~std::uint32_t{7}; }

bool tracksAreUsable(std::uint32_t count, const MovraMakeTrack* tracks) {
  if (count == 0) return true;
  if (!tracks) return false;
  return std::all_of(tracks, tracks + count, [](const MovraMakeTrack& track) {
    return track.callback && track.sample_rate >= 1 && track.sample_rate <= kMaxSampleRate &&
           (track.channels == 1 || track.channels == 2);
  });
}

}  // namespace

PlaneGeometry planeGeometry(std::uint32_t width, std::uint32_t height) {
  PlaneGeometry planes;
  planes.lumaWidth = roundUpTo8(width);
  planes.lumaHeight = roundUpTo8(height);
  planes.chromaWidth = roundUpTo8((width + 1) / 2);
  planes.chromaHeight = roundUpTo8((height + 1) / 2);
  return planes;
}

std::uint32_t EncoderSettings::videoFlags() const {
  return (scaleMode << 28) | (grey ? kGreyFlag : 0) | (alpha ? kAlphaFlag : 0);
}

std::uint64_t firstPacketOffset(std::uint32_t trackCount, std::uint32_t frameCount) {
  return 44 + 12 * std::uint64_t{trackCount} + 4 * (std::uint64_t{frameCount} + 1);
}

SettingsResult makeEncoderSettings(const EncoderArguments& arguments) {
  SettingsResult result;
  if (!arguments.name || arguments.name[0] == 0 ||
      std::strlen(arguments.name) > kMaxNameLength) {
    result.error = kNameMessage;
    return result;
  }
  if (arguments.width == 0 || arguments.height == 0 || roundUpTo8(arguments.width) > kMaxWidth ||
      arguments.height > kMaxHeight) {
    result.error = kSizeMessage;
    return result;
  }
  // The whole frame index and the first packet must lie inside the 32-bit
  // offsets of the file.
  if (arguments.frameCount == 0 ||
      firstPacketOffset(arguments.trackCount, arguments.frameCount) >= kMaxFileOffset) {
    result.error = kFrameCountMessage;
    return result;
  }
  if (arguments.rateNum == 0 || arguments.rateDiv == 0) {
    result.error = kFrameRateMessage;
    return result;
  }
  if (!tracksAreUsable(arguments.trackCount, arguments.tracks)) {
    result.error = kTrackMessage;
    return result;
  }

  EncoderSettings& settings = result.settings;
  settings.pitch = arguments.pitch;
  settings.width = arguments.width;
  settings.height = arguments.height;
  settings.frameCount = arguments.frameCount;
  settings.keyInterval = arguments.keyInterval;
  const std::uint32_t divisor = std::gcd(arguments.rateNum, arguments.rateDiv);
  settings.rateNum = arguments.rateNum / divisor;
  settings.rateDiv = arguments.rateDiv / divisor;
  // Only the low four bits of the mode fit above bit 28.
  settings.scaleMode = (arguments.pictureCode % 100) & 0xF;
  settings.grey = (arguments.pictureCode / 100) % 10 != 0;
  settings.alpha = arguments.pictureCode / 1000 != 0;
  settings.window = std::clamp(arguments.window, kMinWindow, kMaxWindow);
  settings.trackCount = arguments.trackCount;
  settings.planes = planeGeometry(arguments.width, arguments.height);
  return result;
}

}  // namespace movra
