// movra-compress: compresses a YUV4MPEG2 file or raw 32-bit frames, with an
// optional WAV sound track, into a house video file.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "luma_psnr.h"
#include "movramake.h"
#include "options.h"
#include "picture_source.h"
#include "wav_source.h"

namespace movra::compress {
namespace {

constexpr int kBadArguments = 2;
constexpr int kEncodeFailed = 1;

std::atomic<bool> interrupted{false};
void onInterrupt(int) { interrupted = true; }

struct Progress {
  bool quiet = false;
  bool terminal = false;
  std::uint32_t frames = 0;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  std::string lastError;
};
Progress progress;

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void showProgress(std::int32_t frame) {
  if (progress.quiet) return;
  const double elapsed = secondsSince(progress.start);
  const double speed = elapsed > 0 ? frame / elapsed : 0;
  const double left = speed > 0 ? (progress.frames - static_cast<std::uint32_t>(frame)) / speed : 0;
  std::fprintf(stderr, "%sframe %d/%u (%.0f%%) %.1f fps, %.0f s left%s", progress.terminal ? "\r" : "", frame + 1,
               progress.frames, 100.0 * (frame + 1) / std::max<std::uint32_t>(progress.frames, 1), speed, left,
               progress.terminal ? "   " : "\n");
}

int32_t ZET_CALL onStatus(uint32_t kind, void* subject, const char* text) {
  if (kind == 2) {
    progress.lastError = text;
    return 0;
  }
  if (std::strcmp(text, "Compressing") == 0) showProgress(static_cast<MovraMakeHandle>(subject)->status_frame);
  return interrupted ? 1 : 0;
}

WavSource wav;
uint32_t ZET_CALL onSound(void*, uint32_t, void* buffer, uint32_t bytes) { return wav.read(buffer, bytes); }

int run(const Options& options) {
  std::string error;
  const RawFormat raw{options.width, options.height, options.rateNum, options.rateDiv};
  std::unique_ptr<PictureSource> pictures = openPictureSource(options.input, raw, error);
  if (!pictures) {
    std::fprintf(stderr, "movra-compress: %s\n", error.c_str());
    return kEncodeFailed;
  }
  if (pictures->frames == 0) {
    std::fprintf(stderr, "movra-compress: %s holds no frames\n", options.input.c_str());
    return kEncodeFailed;
  }
  std::vector<MovraMakeTrack> tracks;
  if (!options.wav.empty()) {
    if (!wav.open(options.wav, error)) {
      std::fprintf(stderr, "movra-compress: %s\n", error.c_str());
      return kEncodeFailed;
    }
    const std::uint32_t codec = options.soundQuality + (options.fftSound ? 100 : 0);
    tracks.push_back({0, wav.sampleRate(), 16, wav.channels(), codec, 0, onSound});
  }

  const double fps = static_cast<double>(pictures->rateNum) / pictures->rateDiv;
  const std::uint32_t key = options.keyInterval ? *options.keyInterval
                                                : static_cast<std::uint32_t>(std::max(1.0, std::round(10 * fps)));
  const std::uint32_t target = options.frameBytes ? options.frameBytes
                                                  : static_cast<std::uint32_t>(options.dataRate / fps);
  const auto maximum = static_cast<std::uint32_t>(std::min(4294967295.0, target * options.peak));
  const std::uint32_t code = (options.grey ? 100 : 0) + (options.alpha ? 1000 : 0);
  if (options.threads) MovraMakeSetMaxCPUs(options.threads);

  progress.quiet = options.quiet;
  progress.terminal = isatty(STDERR_FILENO) != 0;
  progress.frames = pictures->frames;
  std::signal(SIGINT, onInterrupt);
  MovraMakeHandle handle =
      MovraMake(options.output.c_str(), static_cast<int32_t>(pictures->width * 4), pictures->width, pictures->height,
                pictures->frames, key, code, pictures->rateNum, pictures->rateDiv,
                static_cast<uint32_t>(tracks.size()), tracks.empty() ? nullptr : tracks.data(), options.window,
                onStatus);
  if (!handle) {
    std::fprintf(stderr, "movra-compress: %s\n", progress.lastError.c_str());
    return kEncodeFailed;
  }
  std::vector<std::uint8_t> pixels;
  std::uint32_t given = 0;
  while (!interrupted && given < pictures->frames && pictures->next(pixels)) {
    MovraMakePutVideo(handle, target, maximum, given == 0, pixels.data());
    ++given;
  }
  const std::uint32_t written = handle->frames_written;
  const bool failed = handle->failed != 0;
  const std::uint64_t bytes = MovraMakeClose(handle, 0);
  const double seconds = secondsSince(progress.start);
  if (!options.quiet && progress.terminal) std::fputc('\n', stderr);
  if (failed || bytes == 0) {
    std::fprintf(stderr, "movra-compress: %s\n", progress.lastError.c_str());
    return kEncodeFailed;
  }

  const std::uint32_t frames = std::max(written, 1u);
  std::printf("frames: %u\nbytes: %llu\ndata rate: %.0f bytes/s\nspeed: %.1f fps\n", written,
              static_cast<unsigned long long>(bytes), static_cast<double>(bytes) * fps / frames,
              seconds > 0 ? written / seconds : 0.0);
  if (options.psnr) {
    std::unique_ptr<PictureSource> again = openPictureSource(options.input, raw, error);
    const std::optional<double> psnr = again ? lumaPsnr(options.output, *again) : std::nullopt;
    if (psnr) std::printf("luma PSNR: %.2f dB\n", *psnr);
  }
  return 0;
}

}  // namespace
}  // namespace movra::compress

int main(int argc, char** argv) {
  const std::optional<movra::compress::Options> options = movra::compress::parseOptions(argc, argv);
  if (!options) {
    std::fputs(movra::compress::kUsage, stderr);
    return movra::compress::kBadArguments;
  }
  return movra::compress::run(*options);
}
