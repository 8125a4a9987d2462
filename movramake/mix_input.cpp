#include "mix_input.h"

#include <cstring>

namespace movra {
namespace {

constexpr std::int32_t kInputBufferBytes = 0x40000;
constexpr std::uint32_t kHeaderBytes = 44;

std::uint32_t wordAt(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

bool readWords(ZetFileRecord* file, std::vector<std::uint32_t>& words, std::uint64_t count) {
  std::vector<std::uint8_t> bytes(count * 4);
  if (zet::fileGetWholeBytes(file, bytes.data(), static_cast<std::uint32_t>(bytes.size())) != bytes.size()) {
    return false;
  }
  words.resize(count);
  for (std::size_t i = 0; i < count; ++i) words[i] = wordAt(&bytes[i * 4]);
  return true;
}

// Every packet lies inside the file, after the index and in order, and the
// sound parts of each fit inside it.
bool packetsFit(MixInput& input, std::uint64_t movieBytes) {
  const std::uint64_t indexEnd = kHeaderBytes + 12ull * input.tracks() + 4ull * input.index.size();
  std::uint64_t previous = indexEnd;
  for (std::uint32_t f = 0; f <= input.frames(); ++f) {
    const std::uint64_t start = input.packetStart(f);
    if (start < previous || start > movieBytes) return false;
    previous = start;
  }
  std::vector<std::uint8_t> packet;
  for (std::uint32_t f = 0; f < input.frames(); ++f) {
    if (!readPacket(input, f, packet)) return false;
    std::uint64_t at = 0;
    for (std::uint32_t t = 0; t < input.tracks(); ++t) {
      if (at + 4 > packet.size()) return false;
      at += 4 + std::uint64_t{wordAt(&packet[at])};
      if (at > packet.size()) return false;
    }
  }
  return true;
}

MixInputResult check(MixInput& input) {
  const std::uint64_t fileBytes = zet::fileSize(input.file);
  if (fileBytes < input.base + kHeaderBytes) return MixInputResult::kNotMovra;
  zet::fileSetPos(input.file, input.base);
  std::uint8_t bytes[kHeaderBytes];
  if (zet::fileGetWholeBytes(input.file, bytes, kHeaderBytes) != kHeaderBytes) return MixInputResult::kNotMovra;
  if (std::memcmp(bytes, "MVR", 3) != 0 || bytes[3] < 'f' || bytes[3] > 'i') return MixInputResult::kNotMovra;
  for (unsigned i = 0; i < 11; ++i) input.header[i] = wordAt(bytes + 4 * i);

  const std::uint64_t movieBytes = fileBytes - input.base;
  const std::uint32_t tracks = input.tracks(), indexFrames = input.header[4];
  if (indexFrames < input.frames() ||
      kHeaderBytes + 12ull * tracks + 4ull * (std::uint64_t{indexFrames} + 1) > movieBytes) {
    return MixInputResult::kDamaged;
  }
  if (!readWords(input.file, input.bufferSizes, tracks) || !readWords(input.file, input.formats, tracks) ||
      !readWords(input.file, input.ids, tracks) ||
      !readWords(input.file, input.index, std::uint64_t{indexFrames} + 1)) {
    return MixInputResult::kDamaged;
  }
  return packetsFit(input, movieBytes) ? MixInputResult::kReady : MixInputResult::kDamaged;
}

}  // namespace

bool readPacket(MixInput& input, std::uint32_t frame, std::vector<std::uint8_t>& packet) {
  packet.resize(input.packetBytes(frame));
  zet::fileSetPos(input.file, input.base + input.packetStart(frame));
  const auto size = static_cast<std::uint32_t>(packet.size());
  return zet::fileGetWholeBytes(input.file, packet.data(), size) == size;
}

MixInputResult openMixInput(const char* name, std::uint32_t offset, MixInput& input) {
  input.file = name ? zet::fileOpen(kInputBufferBytes, name, zet::kFileOpenRead) : nullptr;
  if (!input.file) return MixInputResult::kCannotOpen;
  input.base = offset;
  const MixInputResult result = check(input);
  if (result != MixInputResult::kReady) {
    zet::fileClose(input.file);
    input.file = nullptr;
  }
  return result;
}

}  // namespace movra
