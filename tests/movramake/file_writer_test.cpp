#include "file_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "sound_packet_writer.h"
#include "temp_dir.h"

namespace movra {
namespace {

std::uint32_t wordAt(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  std::memcpy(&value, bytes.data() + offset, 4);
  return value;
}

// The sound encoder codes 22050 Hz mono in blocks of 2048 bytes that keep
// 128 bytes of overlap, so each block yields 1920 decoded bytes.
constexpr std::uint32_t kBlockYield = 1920;

struct CallbackScript {
  int calls = 0;
  std::uint32_t answerExtra = 0;  // added to the count asked for
  bool silent = false;            // returns 0
};
CallbackScript script;

std::uint32_t ZET_CALL scriptedSound(void*, std::uint32_t, void* buffer, std::uint32_t bytes) {
  ++script.calls;
  if (script.silent) return 0;
  std::memset(buffer, 1, bytes);
  return bytes + script.answerExtra;
}

class FileWriterTest : public ::testing::Test {
 protected:
  void open(std::uint32_t trackCount, bool grey, bool alpha) {
    script = CallbackScript{};
    name_ = dir_.file("movie.mvr.tmp");
    encoder_ = std::make_unique<Encoder>();
    EncoderSettings& s = encoder_->settings;
    s.width = 20;
    s.height = 10;
    s.frameCount = kFrames;
    s.rateNum = 15;
    s.rateDiv = 1;
    s.grey = grey;
    s.alpha = alpha;
    s.trackCount = trackCount;
    s.planes = planeGeometry(s.width, s.height);
    encoder_->head.frame_count = kFrames;
    offsets_.assign(kFrames + 1, 0);
    encoder_->frameOffsets = offsets_.data();
    const MovraMakeTrack descriptor{7, 22050, 16, 1, 50, 0, scriptedSound};
    tracks_.assign(trackCount, makeSoundTrack(descriptor, kFrames, 15, 1));
    for (SoundTrack& track : tracks_) {
      track.encoder = createSoundEncoder(track.sampleRate, track.channels, true);
      ASSERT_NE(track.encoder, nullptr);
    }
    encoder_->tracks = tracks_.data();
    for (unsigned p = 0; p < kPlaneCount; ++p) {
      planeData_[p].assign(64, static_cast<std::uint8_t>(0xA0 + p));
      encoder_->encodedPlanes[p] = planeData_[p].data();
    }
    encoder_->file = zet::fileCreate(0x20000, name_.c_str(), true);
    ASSERT_NE(encoder_->file, nullptr);
    writeFileStart(*encoder_);
  }

  std::uint32_t writeFrame(bool key, EncodedFrame frame) {
    WriterGuard guard(encoder_->lock);
    recordFrameStart(*encoder_, key);
    return writeFramePacket(*encoder_, frame);
  }

  void TearDown() override {
    for (SoundTrack& track : tracks_) releaseSoundEncoder(track.encoder);
    if (encoder_->file) zet::fileClose(encoder_->file);
  }

  std::string closeAndRead() {
    EXPECT_TRUE(zet::fileCloseChecked(encoder_->file));
    encoder_->file = nullptr;
    return zet::testing::readFile(name_);
  }

  static constexpr std::uint32_t kFrames = 30;
  zet::testing::TempDir dir_;
  std::string name_;
  std::unique_ptr<Encoder> encoder_;
  std::vector<std::uint32_t> offsets_;
  std::vector<SoundTrack> tracks_;
  std::vector<std::uint8_t> planeData_[kPlaneCount];
};

TEST_F(FileWriterTest, StartsWithTheHeaderTrackTablesAndAnEmptyIndex) {
  open(1, false, true);
  const std::string file = closeAndRead();
  ASSERT_EQ(file.size(), 44u + 12 + 4 * (kFrames + 1));
  EXPECT_EQ(file.substr(0, 4), "MVRi");
  EXPECT_EQ(wordAt(file, 8), 0u);        // frames
  EXPECT_EQ(wordAt(file, 16), kFrames);  // index_frames
  EXPECT_EQ(wordAt(file, 20), 20u);
  EXPECT_EQ(wordAt(file, 24), 10u);
  EXPECT_EQ(wordAt(file, 28), 15u);
  EXPECT_EQ(wordAt(file, 32), 1u);
  EXPECT_EQ(wordAt(file, 36), 0x00100000u);
  EXPECT_EQ(wordAt(file, 40), 1u);
  EXPECT_EQ(wordAt(file, 44), 0u);                                   // track_buffer_size
  EXPECT_EQ(wordAt(file, 48), 22050u | 0x40000000u | 0x10000000u);  // track_format
  EXPECT_EQ(wordAt(file, 52), 7u);                                   // track_id
  for (std::uint32_t i = 0; i <= kFrames; ++i) EXPECT_EQ(wordAt(file, 56 + 4 * i), 0u);
}

TEST_F(FileWriterTest, APacketHoldsAlphaAndLumaWithPrefixesThenBothChromaPlanes) {
  open(0, false, true);
  EncodedFrame frame;
  frame.planeBytes = {16, 8, 4, 12};
  const std::uint32_t size = writeFrame(true, frame);
  EXPECT_EQ(size, 4 + 12 + 4 + 16 + 8 + 4u);
  const std::uint32_t start = 44 + 4 * (kFrames + 1);
  EXPECT_EQ(offsets_[0], start | 1);
  EXPECT_EQ(offsets_[1], start + size);
  EXPECT_EQ(encoder_->head.frames_written, 1u);
  EXPECT_EQ(encoder_->largestFrameSize, size);
  EXPECT_EQ(encoder_->head.bytes_written, start + size);

  const std::string file = closeAndRead();
  EXPECT_EQ(wordAt(file, start), 16u);  // alpha length + 4
  EXPECT_EQ(static_cast<std::uint8_t>(file[start + 4]), 0xA3);
  EXPECT_EQ(wordAt(file, start + 16), 20u);  // luma length + 4
  EXPECT_EQ(static_cast<std::uint8_t>(file[start + 20]), 0xA0);
  EXPECT_EQ(static_cast<std::uint8_t>(file[start + 36]), 0xA1);
  EXPECT_EQ(static_cast<std::uint8_t>(file[start + 44]), 0xA2);
}

TEST_F(FileWriterTest, GreyVideoWithoutTracksCarriesOnlyTheLumaPart) {
  open(0, true, false);
  EncodedFrame frame;
  frame.planeBytes = {8, 0, 0, 0};
  EXPECT_EQ(writeFrame(false, frame), 12u);
  EXPECT_EQ(offsets_[0] & 1, 0u);
}

TEST_F(FileWriterTest, SoundLeadsByThreeQuartersOfASecondAndKeepsUpWithTheFrames) {
  open(1, true, false);
  EXPECT_EQ(tracks_[0].bytesPerSecond, 44100u);
  EXPECT_EQ(tracks_[0].leadBytes, 33075u);
  EXPECT_EQ(tracks_[0].remaining, (44100u * kFrames / 15 + 3) & ~3ull);
  EncodedFrame frame;
  frame.planeBytes = {4, 0, 0, 0};
  writeFrame(true, frame);
  const std::uint64_t afterFirst = tracks_[0].delivered;
  EXPECT_GE(afterFirst, 33075u);
  EXPECT_LT(afterFirst, 33075u + kBlockYield);
  writeFrame(false, frame);
  EXPECT_GE(tracks_[0].delivered, 33075u + 2940);
  EXPECT_EQ(tracks_[0].largestPacket, afterFirst);

  const std::string file = closeAndRead();
  const std::uint32_t start = offsets_[0] & ~1u;
  const std::uint32_t soundBytes = wordAt(file, start);
  EXPECT_EQ(wordAt(file, start + 4), afterFirst);
  EXPECT_EQ(wordAt(file, start + 4 + soundBytes), 8u) << "the luma part follows the sound part";
}

TEST_F(FileWriterTest, ASilentCallbackGetsOneZeroFilledBlockAndIsNotAskedAgain) {
  open(1, true, false);
  script.silent = true;
  EncodedFrame frame;
  frame.planeBytes = {4, 0, 0, 0};
  writeFrame(true, frame);
  writeFrame(false, frame);
  EXPECT_EQ(script.calls, 1);
  EXPECT_EQ(tracks_[0].delivered, kBlockYield);
  EXPECT_EQ(tracks_[0].remaining, 0u);
  const std::string file = closeAndRead();
  EXPECT_EQ(wordAt(file, (offsets_[0] & ~1u) + 4), kBlockYield);
  EXPECT_EQ(wordAt(file, offsets_[1]), 0u) << "later packets carry no sound for the track";
}

TEST_F(FileWriterTest, ACallbackThatClaimsMoreThanAskedCountsOnlyWhatWasAsked) {
  open(1, true, false);
  script.answerExtra = 5000;
  EncodedFrame frame;
  frame.planeBytes = {4, 0, 0, 0};
  writeFrame(true, frame);
  // The first block asks for 2048 bytes and yields 1920; the 128 left over
  // stay in the encoder's overlap.
  EXPECT_EQ(tracks_[0].sourceBytesSeen, 45 + tracks_[0].delivered + 128);
}

TEST_F(FileWriterTest, AHeaderRewriteMakesTheGrowingFilePlayableUpToThatPoint) {
  open(0, true, false);
  EncodedFrame frame;
  frame.planeBytes = {8, 0, 0, 0};
  writeFrame(true, frame);
  writeFrame(false, frame);
  ASSERT_TRUE(rewriteHeader(*encoder_));
  zet::fileFlush(encoder_->file, false);
  const std::string copy = zet::testing::readFile(name_);
  EXPECT_EQ(wordAt(copy, 4), copy.size() - 8);
  EXPECT_EQ(wordAt(copy, 8), 2u);
  EXPECT_EQ(wordAt(copy, 12), 12u);
  EXPECT_EQ(wordAt(copy, 44), offsets_[0]);
  EXPECT_EQ(wordAt(copy, 48), offsets_[1]);
  EXPECT_EQ(wordAt(copy, 52), copy.size());
  EXPECT_EQ(wordAt(copy, 56), 0u);
  writeFrame(false, frame);
  closeAndRead();
}

}  // namespace
}  // namespace movra
