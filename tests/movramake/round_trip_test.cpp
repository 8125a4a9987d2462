// Every file the encoder writes decodes, with the house video reader, to
// exactly the pictures the encoder itself rebuilt as its references.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "encoder_handle.h"
#include "movra_format.h"
#include "movra_reader.h"
#include "movra_track.h"
#include "movramake.h"
#include "temp_dir.h"
#include "test_movie.h"

namespace movra {
namespace {

struct Reconstruction {
  std::array<std::vector<std::uint8_t>, kPlaneCount> planes;
};

struct Capture {
  std::vector<Reconstruction> frames;
};
Capture* capture = nullptr;

void keep(const Encoder& encoder) {
  Reconstruction frame;
  const PlaneGeometry& g = encoder.settings.planes;
  const FramePlanes& planes = encoder.reconstructed[encoder.reference];
  for (unsigned p = 0; p < kPlaneCount; ++p) {
    if (!planes.plane[p]) continue;
    const std::size_t bytes = p == kCr || p == kCb ? g.chromaBytes() : g.lumaBytes();
    frame.planes[p].assign(planes.plane[p], planes.plane[p] + bytes);
  }
  capture->frames.push_back(std::move(frame));
}

int32_t ZET_CALL keepReferences(uint32_t kind, void* subject, const char* text) {
  if (kind != 1 || std::strcmp(text, "Compressing") != 0) return 0;
  const Encoder& encoder = *encoderOf(static_cast<MovraMakeHandle>(subject));
  if (encoder.head.frames_written > 0) keep(encoder);
  return 0;
}

struct MovieCase {
  const char* what;
  std::uint32_t width, height, frames, pictureCode, window, keyInterval;
};

class RoundTrip : public ::testing::TestWithParam<MovieCase> {};

std::vector<std::uint8_t> decodedPlane(const zet::MovraReader& reader, unsigned plane, std::uint32_t width,
                                       std::uint32_t height) {
  const std::uint8_t* set = plane == kAlpha ? reader.alpha_planes[reader.current_set] : reader.planes[reader.current_set];
  std::size_t offset = 0, pitch = reader.luma_pitch;
  if (plane == kCr || plane == kCb) {
    pitch = reader.chroma_pitch;
    offset = std::size_t{reader.luma_pitch} * reader.luma_rows +
             (plane == kCb ? std::size_t{reader.chroma_pitch} * reader.chroma_rows : 0);
  }
  std::vector<std::uint8_t> out(std::size_t{width} * height);
  for (std::uint32_t y = 0; y < height; ++y) std::memcpy(&out[y * width], set + offset + y * pitch, width);
  return out;
}

TEST_P(RoundTrip, DecodesToTheEncodersOwnReconstruction) {
  const MovieCase& movie = GetParam();
  zet::testing::TempDir dir;
  const std::string name = dir.file("movie.mvr");
  Capture captured;
  capture = &captured;
  MovraMakeHandle handle = MovraMake(name.c_str(), static_cast<int32_t>(movie.width * 4), movie.width, movie.height,
                                     movie.frames, movie.keyInterval, movie.pictureCode, 15, 1, 0, nullptr,
                                     movie.window, keepReferences);
  ASSERT_NE(handle, nullptr);
  const Encoder& encoder = *encoderOf(handle);
  const PlaneGeometry g = encoder.settings.planes;
  const std::uint32_t frameBytes = movie.width * movie.height / 3 + 200;
  for (std::uint32_t f = 0; f < movie.frames; ++f) {
    const std::vector<std::uint8_t> picture = testing::scenePicture(movie.width, movie.height, f);
    MovraMakePutVideo(handle, frameBytes, frameBytes * 3, 0, picture.data());
  }
  keep(encoder);
  ASSERT_EQ(captured.frames.size(), movie.frames);
  ASSERT_GT(MovraMakeClose(handle, 0), 0u);

  zet::MovraReader* reader = zet::MovraReaderOpen(name.c_str(), 0x08104000);
  ASSERT_NE(reader, nullptr);
  ASSERT_EQ(reader->frames, movie.frames);
  for (std::uint32_t f = 0; f < movie.frames; ++f) {
    ASSERT_EQ(zet::MovraReaderDecode(reader), 0u) << "frame " << f;
    for (unsigned p = 0; p < kPlaneCount; ++p) {
      const std::vector<std::uint8_t>& expected = captured.frames[f].planes[p];
      if (expected.empty()) continue;
      const bool chroma = p == kCr || p == kCb;
      const std::vector<std::uint8_t> decoded =
          decodedPlane(*reader, p, chroma ? g.chromaWidth : g.lumaWidth, chroma ? g.chromaHeight : g.lumaHeight);
      ASSERT_EQ(decoded, expected) << "frame " << f << " plane " << p;
    }
    zet::MovraReaderNext(reader);
  }
  zet::MovraReaderClose(reader);
}

INSTANTIATE_TEST_SUITE_P(
    Movies, RoundTrip,
    ::testing::Values(MovieCase{"colour", 64, 48, 6, 0, 3, 0}, MovieCase{"grey", 48, 32, 4, 100, 2, 0},
                      MovieCase{"alpha", 40, 24, 4, 1000, 2, 3}, MovieCase{"greyAlpha", 32, 32, 3, 1100, 8, 0},
                      MovieCase{"oddSize", 33, 17, 5, 0, 4, 2}, MovieCase{"scaleMode4", 50, 30, 3, 4, 2, 0}),
    [](const ::testing::TestParamInfo<MovieCase>& movieInfo) { return std::string(movieInfo.param.what); });

}  // namespace
}  // namespace movra

namespace movra {
namespace {

std::uint32_t ZET_CALL toneSound(void*, uint32_t, void* buffer, uint32_t bytes) {
  static std::uint32_t sample = 0;
  auto* out = static_cast<std::int16_t*>(buffer);
  for (uint32_t i = 0; i < bytes / 2; ++i, ++sample) {
    out[i] = static_cast<std::int16_t>(8000 * std::sin(sample * 0.05));
  }
  return bytes;
}

TEST(RoundTripSound, PacketsCarryTheWholeTrackAndTheVideoStillDecodes) {
  zet::testing::TempDir dir;
  const std::string name = dir.file("sound.mvr");
  constexpr std::uint32_t kFrames = 20, kWidth = 32, kHeight = 16;
  MovraMakeTrack track{42, 22050, 16, 1, 30, 0, toneSound};
  MovraMakeHandle handle = MovraMake(name.c_str(), kWidth * 4, kWidth, kHeight, kFrames, 0, 100, 15, 1, 1, &track, 4,
                                     nullptr);
  ASSERT_NE(handle, nullptr);
  for (std::uint32_t f = 0; f < kFrames; ++f) {
    const std::vector<std::uint8_t> picture = testing::scenePicture(kWidth, kHeight, f);
    MovraMakePutVideo(handle, 300, 900, 0, picture.data());
  }
  ASSERT_GT(MovraMakeClose(handle, 0), 0u);

  zet::MovraReader* reader = zet::MovraReaderOpen(name.c_str(), 0x08104000);
  ASSERT_NE(reader, nullptr);
  ASSERT_EQ(reader->tracks, 1u);
  zet::MovraTrack* sound = zet::MovraTrackOpen(reader, 0);
  ASSERT_NE(sound, nullptr);
  std::vector<std::uint8_t> pcm(sound->output_bytes);
  std::vector<std::int16_t> heard;
  EXPECT_EQ(reader->track_id[0], 42u);
  EXPECT_EQ(reader->track_format[0], 22050u | 0x40000000u | 0x10000000u);
  std::uint64_t decoded = 0;
  std::uint32_t largest = 0;
  for (std::uint32_t f = 0; f < kFrames; ++f) {
    std::uint32_t size = 0, bytes = 0;
    std::memcpy(&size, reader->frame_buffer, 4);
    if (size != 0) std::memcpy(&bytes, reader->frame_buffer + 4, 4);
    decoded += bytes;
    largest = std::max(largest, bytes);
    const std::uint32_t got = zet::MovraTrackDecode(sound, pcm.data());
    EXPECT_EQ(got, bytes) << "frame " << f;
    const auto* samples = reinterpret_cast<const std::int16_t*>(pcm.data());
    heard.insert(heard.end(), samples, samples + got / 2);
    ASSERT_EQ(zet::MovraReaderDecode(reader), 0u) << "frame " << f;
    zet::MovraReaderNext(reader);
  }
  // 44100 bytes a second for 20 frames at 15 frames a second.
  EXPECT_EQ(decoded, (44100u * kFrames / 15 + 3) & ~3u);
  EXPECT_EQ(reader->track_buffer_size[0], largest);
  // The tone comes back: its loudness survives the coding.
  double energy = 0;
  for (const std::int16_t sample : heard) energy += static_cast<double>(sample) * sample;
  const double rms = std::sqrt(energy / static_cast<double>(heard.size()));
  EXPECT_GT(rms, 8000 / std::sqrt(2.0) * 0.8);
  EXPECT_LT(rms, 8000 / std::sqrt(2.0) * 1.2);
  zet::MovraTrackClose(sound);
  zet::MovraReaderClose(reader);
}

}  // namespace
}  // namespace movra
