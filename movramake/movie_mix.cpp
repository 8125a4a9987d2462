#include "movie_mix.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bit_file.h"
#include "encoder_messages.h"
#include "encoder_settings.h"
#include "encoder_status.h"
#include "mix_input.h"
#include "processor_count.h"
#include "scaled_arithmetic.h"
#include "sound_packet_writer.h"
#include "sound_track.h"

namespace movra {
namespace {

constexpr std::int32_t kOutputBufferBytes = 0x40000;

constexpr const char* kOpenInputMessage = "Couldn't open input Movra file.";
constexpr const char* kNotMovraMessage = "Input file isn't a Movra file.";
constexpr const char* kDamagedMessage = "The input Movra file is damaged: its index or packets lie outside it.";
constexpr const char* kTemporaryFileMessage =
    "Couldn't create temporary file.\n\nSome possible reasons for this error include:\n  1) mixing to a "
    "read-only drive (like a CD-ROM),\n  2) mixing to a drive that is full (out of disk space), or\n  3) mixing "
    "multiple files to the same Movra output filename.";
constexpr const char* kTrackMessage =
    "Each Movra sound track needs 1 or 2 channels and a sample rate of 1 to 65535 Hz.";
constexpr const char* kNameMessage = "The Movra file names are missing or longer than 251 characters.";

// One track of the output: copied from the input, or coded anew.
struct OutputTrack {
  std::uint32_t input = ~0u;  // position in the input's tables when copied
  std::size_t coded = 0;      // index into the coded tracks otherwise
  bool isCoded() const { return input == ~0u; }
};

bool descriptorsUsable(const MixArguments& a) {
  for (std::uint32_t i = 0; i < a.trackCount; ++i) {
    const MovraMakeTrack& t = a.tracks[i];
    if (t.sample_rate < 1 || t.sample_rate > kMaxSampleRate || (t.channels != 1 && t.channels != 2)) return false;
  }
  return true;
}

class Mix {
 public:
  explicit Mix(const MixArguments& arguments) : a_(arguments) {}
  ~Mix() {
    for (SoundTrack& track : coded_) releaseSoundEncoder(track.encoder);
    if (input_.file) zet::fileClose(input_.file);
    if (output_) {
      zet::fileClose(output_);
      zet::fileErase(temporaryName_);
    }
  }
  Mix(const Mix&) = delete;
  Mix& operator=(const Mix&) = delete;

  std::uint32_t run() {
    processorCount();
    if (!a_.tracks || !descriptorsUsable(a_)) return fail(kTrackMessage);
    if (!a_.input || !a_.output || std::strlen(a_.output) > kMaxNameLength) return fail(kNameMessage);
    switch (openMixInput(a_.input, a_.offset, input_)) {
      case MixInputResult::kReady:
        break;
      case MixInputResult::kCannotOpen:
        return fail(kOpenInputMessage);
      case MixInputResult::kNotMovra:
        return fail(kNotMovraMessage);
      case MixInputResult::kDamaged:
        return fail(kDamagedMessage);
    }
    std::snprintf(temporaryName_, sizeof temporaryName_, "%s.tmp", a_.output);
    output_ = zet::fileCreate(kOutputBufferBytes, temporaryName_, false);
    if (!output_) return fail(kTemporaryFileMessage);
    if (a_.rateNum != 0 && a_.rateDiv != 0) {
      input_.header[7] = a_.rateNum;
      input_.header[8] = a_.rateDiv;
    }
    if (!planTracks()) return fail(kOutOfMemoryMessage);
    index_ = input_.index;
    writeStart(false);
    const bool stopped = copyFrames() != Copy::kDone;
    zet::fileClose(input_.file);
    input_.file = nullptr;
    writeStart(true);
    const std::uint64_t size = zet::fileSize(output_);
    const bool complete = zet::fileCloseChecked(output_);
    output_ = nullptr;
    if (stopped || !complete) {
      zet::fileErase(temporaryName_);
      if (!complete) reportError(a_.status, nullptr, kShortWriteMessage);
      return 0;
    }
    if (zet::fileRename(a_.output, temporaryName_) != zet::FileNameResult::Done) {
      char message[600];
      std::snprintf(message, sizeof message, kOverwriteFormat, a_.output, temporaryName_);
      reportError(a_.status, nullptr, message);
    }
    return static_cast<std::uint32_t>(size);
  }

 private:
  std::uint32_t fail(const char* message) {
    reportError(a_.status, nullptr, message);
    return 0;
  }

  std::uint32_t rateNum() const { return input_.header[7]; }
  std::uint32_t rateDiv() const { return input_.header[8]; }

  bool addCodedTrack(const MovraMakeTrack& descriptor) {
    SoundTrack track = makeSoundTrack(descriptor, input_.frames(), rateNum(), rateDiv());
    if (a_.delay > 0) {
      track.leadingSilence = mulDiv(std::uint64_t{track.bytesPerSecond} * static_cast<std::uint32_t>(a_.delay - 1),
                                    rateDiv(), rateNum()) & ~std::uint64_t{3};
    } else if (a_.delay < 0) {
      track.leadingSilence = (std::uint64_t{track.bytesPerSecond} * (0u - static_cast<std::uint32_t>(a_.delay)) / 1000) &
                             ~std::uint64_t{3};
    }
    track.encoder = createSoundEncoder(track.sampleRate, track.channels, (track.formatWord & kDctTrackFormat) != 0);
    if (!track.encoder) return false;
    coded_.push_back(track);
    return true;
  }

  // Input tracks in order (kept, replaced or removed), then the new ones.
  bool planTracks() {
    for (std::uint32_t t = 0; t < input_.tracks(); ++t) {
      MovraMakeTrack* match = nullptr;
      for (std::uint32_t d = 0; d < a_.trackCount && !match; ++d) {
        if (a_.tracks[d].sample_rate != 0 && a_.tracks[d].track_id == input_.ids[t]) match = &a_.tracks[d];
      }
      if (!match) {
        plan_.push_back({t, 0});
        continue;
      }
      const MovraMakeTrack descriptor = *match;
      match->sample_rate = 0;  // tells the caller this descriptor found its track
      if (!descriptor.callback) continue;
      if (!addCodedTrack(descriptor)) return false;
      plan_.push_back({~0u, coded_.size() - 1});
    }
    for (std::uint32_t d = 0; d < a_.trackCount; ++d) {
      if (a_.tracks[d].sample_rate == 0 || !a_.tracks[d].callback) continue;
      if (!addCodedTrack(a_.tracks[d])) return false;
      plan_.push_back({~0u, coded_.size() - 1});
    }
    return true;
  }

  // The header, track tables and index: provisional (no magic, so that an
  // unfinished output is never taken for a movie) or final.
  void writeStart(bool final) {
    zet::fileSetPos(output_, 0);
    std::uint32_t header[11];
    std::memcpy(header, input_.header, sizeof header);
    if (final) {
      header[1] = static_cast<std::uint32_t>(zet::fileSize(output_) - 8);
    } else {
      header[0] = 0;
    }
    header[3] = final ? largestPacket_ : 0;
    header[10] = static_cast<std::uint32_t>(plan_.size());
    for (const std::uint32_t field : header) zet::filePut32(output_, field);
    for (unsigned table = 0; table < 3; ++table) {
      for (const OutputTrack& track : plan_) zet::filePut32(output_, tableEntry(track, table));
    }
    for (const std::uint32_t entry : index_) zet::filePut32(output_, entry);
  }

  std::uint32_t tableEntry(const OutputTrack& track, unsigned table) const {
    if (!track.isCoded()) {
      const std::vector<std::uint32_t>* tables[3] = {&input_.bufferSizes, &input_.formats, &input_.ids};
      return (*tables[table])[track.input];
    }
    const SoundTrack& coded = coded_[track.coded];
    return table == 0 ? coded.largestPacket : table == 1 ? coded.formatWord : coded.trackId;
  }

  enum class Copy { kDone, kStopped, kFailed };

  // Copies every frame with its sound rebuilt.
  Copy copyFrames() {
    MovraMixProgress progress{};
    progress.input_size = static_cast<std::uint32_t>(zet::fileSize(input_.file));
    progress.width = input_.header[5];
    progress.height = input_.header[6];
    progress.coded_tracks = coded_.empty() ? nullptr : coded_.data();
    progress.frames = input_.frames();
    progress.rate_dividend = rateNum();
    progress.rate_divider = rateDiv();
    std::vector<std::uint8_t> packet;
    for (std::uint32_t f = 0; f < input_.frames(); ++f) {
      const std::uint64_t start = zet::fileGetPos(output_);
      progress.frame = f;
      progress.output_bytes = static_cast<std::uint32_t>(start);
      const bool stop = a_.status && a_.status(1, &progress, "") != 0;
      if (!readPacket(input_, f, packet)) {
        reportError(a_.status, nullptr, kDamagedMessage);
        return Copy::kFailed;
      }
      index_[f] = static_cast<std::uint32_t>(start) | (input_.index[f] & 1);
      std::vector<std::size_t> partStart(input_.tracks() + 1);
      for (std::uint32_t t = 0; t < input_.tracks(); ++t) {
        std::uint32_t size = 0;
        std::memcpy(&size, &packet[partStart[t]], 4);
        partStart[t + 1] = partStart[t] + 4 + size;
      }
      const SoundPacketContext context{f, rateNum(), rateDiv(), &progress};
      for (const OutputTrack& track : plan_) {
        if (track.isCoded()) {
          writeSoundPacket(output_, coded_[track.coded], context);
        } else {
          const std::size_t from = partStart[track.input], to = partStart[track.input + 1];
          zet::filePutWholeBytes(output_, &packet[from], static_cast<std::uint32_t>(to - from));
        }
      }
      const std::size_t video = partStart[input_.tracks()];
      zet::filePutWholeBytes(output_, &packet[video], static_cast<std::uint32_t>(packet.size() - video));
      const std::uint64_t end = zet::fileGetPos(output_);
      if (end > kMaxFileOffset) {
        reportError(a_.status, nullptr, kFileLimitMessage);
        return Copy::kFailed;
      }
      index_[f + 1] = static_cast<std::uint32_t>(end) | (input_.index[f + 1] & 1);
      largestPacket_ = std::max(largestPacket_, static_cast<std::uint32_t>(end - start));
      if (stop) return Copy::kStopped;
    }
    return Copy::kDone;
  }

  const MixArguments& a_;
  MixInput input_;
  ZetFileRecord* output_ = nullptr;
  char temporaryName_[256] = {};
  std::vector<OutputTrack> plan_;
  std::vector<SoundTrack> coded_;
  std::vector<std::uint32_t> index_;
  std::uint32_t largestPacket_ = 0;
};

}  // namespace

std::uint32_t mixMovie(const MixArguments& arguments) {
  if (arguments.trackCount == 0) return 0;
  return Mix(arguments).run();
}

}  // namespace movra
