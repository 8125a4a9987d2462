#include "movra_test_file.h"

#include <algorithm>

namespace zet::testing {

void putU32(std::string& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
}

std::uint32_t getU32(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
  return value;
}

std::string u32Bytes(std::uint32_t value) {
  std::string bytes(4, '\0');
  putU32(bytes, 0, value);
  return bytes;
}

std::size_t indexEntryOffset(const TestMovie& movie, std::size_t i) { return 44 + 12 * movie.tracks.size() + 4 * i; }

std::string buildMovraFile(const TestMovie& movie) {
  std::vector<std::string> packets;
  for (const TestFrame& frame : movie.frames) {
    std::string packet;
    for (std::size_t t = 0; t < movie.tracks.size(); ++t) {
      const std::string sound = t < frame.sound.size() ? frame.sound[t] : std::string();
      packet += u32Bytes(static_cast<std::uint32_t>(sound.size())) + sound;
    }
    packets.push_back(packet + frame.video);
  }
  const auto frames = static_cast<std::uint32_t>(movie.frames.size());
  const std::uint32_t indexFrames = frames + movie.unusedIndexEntries;
  std::size_t largest = 0;
  for (const std::string& packet : packets) largest = std::max(largest, packet.size());

  std::string file(44, '\0');
  file[0] = 'M';
  file[1] = 'V';
  file[2] = 'R';
  file[3] = movie.version;
  putU32(file, kFramesField, frames);
  putU32(file, kLargestFrameField, static_cast<std::uint32_t>(largest));
  putU32(file, kIndexFramesField, indexFrames);
  putU32(file, kWidthField, movie.width);
  putU32(file, kHeightField, movie.height);
  putU32(file, kRateNumField, movie.rateNum);
  putU32(file, kRateDivField, movie.rateDiv);
  putU32(file, kVideoFlagsField, movie.videoFlags);
  putU32(file, kTracksField, static_cast<std::uint32_t>(movie.tracks.size()));
  for (const TestTrack& track : movie.tracks) file += u32Bytes(track.bufferSize);
  for (const TestTrack& track : movie.tracks) file += u32Bytes(track.format);
  for (const TestTrack& track : movie.tracks) file += u32Bytes(track.id);

  std::uint32_t offset = static_cast<std::uint32_t>(file.size() + 4 * (std::size_t{indexFrames} + 1));
  for (std::uint32_t i = 0; i <= indexFrames; ++i) {
    std::uint32_t entry = 0;
    if (i < frames) entry = offset | (movie.frames[i].key ? 1u : 0u);
    if (i == frames) entry = offset;
    file += u32Bytes(entry);
    if (i < frames) offset += static_cast<std::uint32_t>(packets[i].size());
  }
  for (const std::string& packet : packets) file += packet;
  putU32(file, kFileSizeField, static_cast<std::uint32_t>(file.size() - 8));
  return file;
}

std::string videoData(const std::vector<std::uint8_t>& luma, const std::vector<std::uint8_t>& cr,
                      const std::vector<std::uint8_t>& cb, bool lumaPrefix, const std::vector<std::uint8_t>* alpha) {
  auto text = [](const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); };
  std::string data;
  if (alpha) data += u32Bytes(static_cast<std::uint32_t>(alpha->size() + 4)) + text(*alpha);
  if (lumaPrefix) data += u32Bytes(static_cast<std::uint32_t>(luma.size() + 4));
  return data + text(luma) + text(cr) + text(cb);
}

}  // namespace zet::testing
