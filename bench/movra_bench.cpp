// movra-bench: encodes a 640x480 and a 1280x720 sequence (a slow pan and
// zoom over a photograph, with noise) at a stated data rate and reports
// frames per second on one and on two threads, bytes and luma PSNR, next
// to a peer encoder on the same frames when one is installed.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "movra_reader.h"
#include "movramake.h"
#include "peer_encoder.h"
#include "sample_scene.h"

namespace {

struct Sequence {
  std::uint32_t width, height, frames, bytesPerSecond;
};

constexpr std::uint32_t kFps = 30;

int lumaOf(const std::uint8_t* p) { return 16 + (263 * p[2] + 516 * p[1] + 100 * p[0]) / 1024; }

double lumaPsnr(const std::string& movie, const std::vector<std::vector<std::uint8_t>>& frames, std::uint32_t width,
                std::uint32_t height) {
  zet::MovraReader* reader = zet::MovraReaderOpen(movie.c_str(), 0x08004000);
  if (!reader) return 0;
  double squares = 0;
  for (const auto& pixels : frames) {
    zet::MovraReaderDecode(reader);
    const std::uint8_t* luma = reader->planes[reader->current_set];
    for (std::uint32_t y = 0; y < height; ++y) {
      for (std::uint32_t x = 0; x < width; ++x) {
        const int d = lumaOf(&pixels[(std::size_t{y} * width + x) * 4]) - luma[std::size_t{y} * reader->luma_pitch + x];
        squares += d * d;
      }
    }
    zet::MovraReaderNext(reader);
  }
  zet::MovraReaderClose(reader);
  const double samples = static_cast<double>(frames.size()) * width * height;
  return squares == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 * samples / squares);
}

struct MovraResult {
  double framesPerSecond = 0;
  std::uint64_t bytes = 0;
};

MovraResult encode(const std::vector<std::vector<std::uint8_t>>& frames, const Sequence& s, std::uint32_t threads,
                   const std::string& name) {
  MovraMakeSetMaxCPUs(threads);
  const std::uint32_t target = s.bytesPerSecond / kFps;
  const auto start = std::chrono::steady_clock::now();
  MovraMakeHandle handle = MovraMake(name.c_str(), static_cast<int32_t>(s.width * 4), s.width, s.height,
                                     static_cast<uint32_t>(frames.size()), kFps * 10, 0, kFps, 1, 0, nullptr, 8,
                                     nullptr);
  if (!handle) return {};
  for (std::size_t f = 0; f < frames.size(); ++f) MovraMakePutVideo(handle, target, target * 3, f == 0, frames[f].data());
  MovraResult result;
  result.bytes = MovraMakeClose(handle, 0);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.framesPerSecond = static_cast<double>(frames.size()) / seconds;
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  std::uint32_t frames640 = 30, frames720 = 15;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--frames") == 0) frames640 = frames720 = static_cast<std::uint32_t>(std::atoi(argv[i + 1]));
  }
  const auto photo = movra::sample::loadPpm(movra::sample::mediaFolder() + "/hubble_deep_field.ppm");
  if (!photo) {
    std::fprintf(stderr, "movra-bench: the sample photograph is missing\n");
    return 1;
  }
  const std::string movie = "movra-bench.mvr";
  for (const Sequence& s : {Sequence{640, 480, frames640, 400000}, Sequence{1280, 720, frames720, 1000000}}) {
    std::vector<std::vector<std::uint8_t>> frames;
    for (std::uint32_t f = 0; f < s.frames; ++f) {
      frames.push_back(movra::sample::panAndZoomFrame(*photo, s.width, s.height, f, s.frames));
    }
    std::printf("%ux%u, %u frames at %u fps, %u bytes per second:\n", s.width, s.height, s.frames, kFps,
                s.bytesPerSecond);
    const MovraResult one = encode(frames, s, 1, movie);
    const MovraResult two = encode(frames, s, 2, movie);
    const double psnr = lumaPsnr(movie, frames, s.width, s.height);
    std::printf("  movramake   1 thread %7.2f fps, 2 threads %7.2f fps (x%.2f), %llu bytes, luma PSNR %.2f dB\n",
                one.framesPerSecond, two.framesPerSecond, two.framesPerSecond / one.framesPerSecond,
                static_cast<unsigned long long>(two.bytes), psnr);
    for (const char* preset : {"ultrafast", "veryfast"}) {
      const auto peer = movra::bench::runPeer({&frames, s.width, s.height, kFps, s.bytesPerSecond, 2}, preset);
      if (!peer) continue;
      // The library reports no PSNR without its own statistics output, and
      // there is no decoder of its format here: bytes and speed only.
      std::printf("  %s %-9s 2 threads %7.2f fps, %llu bytes; movramake runs at %.3fx its speed\n",
                  movra::bench::peerName().c_str(), preset, peer->framesPerSecond,
                  static_cast<unsigned long long>(peer->bytes), two.framesPerSecond / peer->framesPerSecond);
    }
  }
  std::remove(movie.c_str());
  return 0;
}
