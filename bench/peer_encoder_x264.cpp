// libx264 through its C library, at the same average bit rate.
#include <stdint.h>  // x264.h needs the fixed-width types first

#include <x264.h>

#include <algorithm>
#include <chrono>

#include "peer_encoder.h"

namespace movra::bench {
namespace {

std::uint8_t clampByte(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

// BGRA to studio-range BT.601 4:2:0, the input x264 takes.
void toI420(const std::vector<std::uint8_t>& pixels, std::uint32_t width, std::uint32_t height, x264_picture_t& picture) {
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::uint8_t* p = &pixels[(std::size_t{y} * width + x) * 4];
      picture.img.plane[0][y * picture.img.i_stride[0] + x] =
          clampByte((66 * p[2] + 129 * p[1] + 25 * p[0] + 128) / 256 + 16);
    }
  }
  for (std::uint32_t y = 0; y < height / 2; ++y) {
    for (std::uint32_t x = 0; x < width / 2; ++x) {
      const std::uint8_t* p = &pixels[(std::size_t{y * 2} * width + x * 2) * 4];
      picture.img.plane[1][y * picture.img.i_stride[1] + x] =
          clampByte((-38 * p[2] - 74 * p[1] + 112 * p[0] + 128) / 256 + 128);
      picture.img.plane[2][y * picture.img.i_stride[2] + x] =
          clampByte((112 * p[2] - 94 * p[1] - 18 * p[0] + 128) / 256 + 128);
    }
  }
}

}  // namespace

std::string peerName() { return "libx264"; }

std::optional<PeerResult> runPeer(const PeerRun& run, const char* preset) {
  x264_param_t param;
  if (x264_param_default_preset(&param, preset, nullptr) < 0) return std::nullopt;
  param.i_width = static_cast<int>(run.width);
  param.i_height = static_cast<int>(run.height);
  param.i_csp = X264_CSP_I420;
  param.i_fps_num = run.fps;
  param.i_fps_den = 1;
  param.i_threads = static_cast<int>(run.threads);
  param.rc.i_rc_method = X264_RC_ABR;
  param.rc.i_bitrate = static_cast<int>(run.bytesPerSecond * 8 / 1000);
  param.i_log_level = X264_LOG_NONE;
  if (x264_param_apply_profile(&param, "high") < 0) return std::nullopt;

  x264_picture_t input, output;
  if (x264_picture_alloc(&input, param.i_csp, param.i_width, param.i_height) < 0) return std::nullopt;
  x264_t* encoder = x264_encoder_open(&param);
  if (!encoder) {
    x264_picture_clean(&input);
    return std::nullopt;
  }
  PeerResult result;
  const auto collect = [&](int bytes) {
    if (bytes > 0) result.bytes += static_cast<std::uint64_t>(bytes);
  };
  // Colour conversion is not part of the encoder's time, as for movramake's
  // pictures, which arrive ready.
  const auto start = std::chrono::steady_clock::now();
  double conversion = 0;
  x264_nal_t* nals = nullptr;
  int nalCount = 0;
  for (std::size_t f = 0; f < run.frames->size(); ++f) {
    const auto before = std::chrono::steady_clock::now();
    toI420((*run.frames)[f], run.width, run.height, input);
    conversion += std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
    input.i_pts = static_cast<std::int64_t>(f);
    collect(x264_encoder_encode(encoder, &nals, &nalCount, &input, &output));
  }
  while (x264_encoder_delayed_frames(encoder) > 0) collect(x264_encoder_encode(encoder, &nals, &nalCount, nullptr, &output));
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() - conversion;
  x264_encoder_close(encoder);
  x264_picture_clean(&input);
  result.framesPerSecond = seconds > 0 ? static_cast<double>(run.frames->size()) / seconds : 0;
  return result;
}

}  // namespace movra::bench
