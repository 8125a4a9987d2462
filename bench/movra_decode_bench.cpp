// Decoding house video pictures on one thread: the three planes of each
// frame decoded over the previous picture and converted to 32-bit pixels,
// for content that mixes every block type the way coded video does (a key
// frame, then frames mostly copied from the one before).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "plane_decoder.h"
#include "plane_stream_writer.h"
#include "random_blocks.h"
#include "zetutil.h"

namespace {

using zet::testing::BlockMix;

constexpr int kFramesPerSequence = 30;

struct CodedFrame {
  std::vector<std::uint8_t> luma;
  std::vector<std::uint8_t> cr;
  std::vector<std::uint8_t> cb;
};

std::uint32_t roundUpTo8(std::uint32_t v) { return (v + 7) / 8 * 8; }

std::vector<std::uint8_t> codePlane(std::uint32_t width, std::uint32_t height, const BlockMix& mix,
                                    zet::testing::BlockDetail detail, std::mt19937& random) {
  zet::testing::PlaneStreamWriter writer(width, height);
  for (const auto& block : zet::testing::randomPlaneBlocks(width, height, mix, random, detail)) writer.add(block);
  return writer.finish();
}

// A picture's geometry as the reader sets it up: chroma sizes rounded to
// 8, luma twice those.
struct Geometry {
  explicit Geometry(std::uint32_t width, std::uint32_t height)
      : chromaPitch(roundUpTo8((width + 1) / 2)),
        chromaRows(roundUpTo8((height + 1) / 2)),
        lumaPitch(2 * chromaPitch),
        lumaRows(2 * chromaRows),
        lumaWidth(roundUpTo8(width)),
        lumaHeight(roundUpTo8(height)) {}
  std::size_t frameSetBytes() const {
    return std::size_t{lumaPitch} * lumaRows + 2 * std::size_t{chromaPitch} * chromaRows;
  }
  std::uint32_t chromaPitch, chromaRows, lumaPitch, lumaRows, lumaWidth, lumaHeight;
};

class Player {
 public:
  Player(std::uint32_t width, std::uint32_t height, zet::testing::BlockDetail detail)
      : width_(width), height_(height), geometry_(width, height),
        sets_{std::vector<std::uint8_t>(geometry_.frameSetBytes()), std::vector<std::uint8_t>(geometry_.frameSetBytes())},
        valueBuffers_((zet::planeValueBuffersBytes(geometry_.lumaPitch) + 3) / 4),
        bitmap_(std::size_t{width} * height * 4) {
    std::mt19937 random(20261211);
    for (int i = 0; i < kFramesPerSequence; ++i) {
      const BlockMix mix = i == 0 ? zet::testing::keyFrameMix() : zet::testing::interFrameMix();
      frames_.push_back({codePlane(geometry_.lumaWidth, geometry_.lumaHeight, mix, detail, random),
                         codePlane(geometry_.chromaPitch, geometry_.chromaRows, mix, detail, random),
                         codePlane(geometry_.chromaPitch, geometry_.chromaRows, mix, detail, random)});
      codedBytes_ += frames_.back().luma.size() + frames_.back().cr.size() + frames_.back().cb.size();
    }
  }

  bool decodeNext() {
    const CodedFrame& frame = frames_[static_cast<std::size_t>(next_)];
    next_ = (next_ + 1) % kFramesPerSequence;
    std::uint8_t* destination = sets_[current_ ^ 1].data();
    const std::uint8_t* previous = sets_[current_].data();
    const zet::PlaneValueBuffers buffers{reinterpret_cast<std::uint8_t*>(valueBuffers_.data()), geometry_.lumaPitch};
    const std::size_t lumaBytes = std::size_t{geometry_.lumaPitch} * geometry_.lumaRows;
    const std::size_t chromaBytes = std::size_t{geometry_.chromaPitch} * geometry_.chromaRows;
    bool ok = decodePlane(destination, previous, geometry_.lumaWidth, geometry_.lumaHeight, geometry_.lumaPitch,
                          frame.luma, buffers);
    ok = ok && decodePlane(destination + lumaBytes, previous + lumaBytes, geometry_.chromaPitch,
                           geometry_.chromaRows, geometry_.chromaPitch, frame.cr, buffers);
    ok = ok && decodePlane(destination + lumaBytes + chromaBytes, previous + lumaBytes + chromaBytes,
                           geometry_.chromaPitch, geometry_.chromaRows, geometry_.chromaPitch, frame.cb, buffers);
    current_ ^= 1;
    return ok;
  }

  void convert() {
    YUV_blit_32bpp(bitmap_.data(), 0, 0, static_cast<std::int32_t>(width_ * 4), sets_[current_].data(), 0, 0,
                   static_cast<std::int32_t>(width_), static_cast<std::int32_t>(height_),
                   static_cast<std::int32_t>(geometry_.lumaPitch), static_cast<std::int32_t>(geometry_.lumaRows), 0);
    benchmark::DoNotOptimize(bitmap_.data());
  }

  double codedBytesPerFrame() const { return static_cast<double>(codedBytes_) / kFramesPerSequence; }

 private:
  static bool decodePlane(std::uint8_t* destination, const std::uint8_t* previous, std::uint32_t width,
                          std::uint32_t height, std::uint32_t pitch, const std::vector<std::uint8_t>& data,
                          const zet::PlaneValueBuffers& buffers) {
    return zet::MovraPlaneDecode(destination, previous, width, height, pitch, data.data(), data.data() + data.size(),
                                 buffers, 0)
        .ok;
  }

  std::uint32_t width_, height_;
  Geometry geometry_;
  std::vector<std::uint8_t> sets_[2];
  std::vector<std::uint32_t> valueBuffers_;
  std::vector<std::uint8_t> bitmap_;
  std::vector<CodedFrame> frames_;
  std::size_t codedBytes_ = 0;
  int next_ = 0;
  unsigned current_ = 0;
};

void run(benchmark::State& state, bool withConversion) {
  const auto detail = state.range(2) == 0 ? zet::testing::BlockDetail::kNatural : zet::testing::BlockDetail::kBusy;
  Player player(static_cast<std::uint32_t>(state.range(0)), static_cast<std::uint32_t>(state.range(1)), detail);
  state.SetLabel(detail == zet::testing::BlockDetail::kNatural ? "natural detail" : "busy detail");
  YUV_init(3);
  for (auto _ : state) {
    if (!player.decodeNext()) {
      state.SkipWithError("a frame failed to decode");
      break;
    }
    if (withConversion) player.convert();
  }
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["coded_kB_per_frame"] = player.codedBytesPerFrame() / 1024.0;
}

void BM_DecodeAndConvert(benchmark::State& state) { run(state, true); }
void BM_DecodeOnly(benchmark::State& state) { run(state, false); }

// Width, height and detail (0: natural, 1: busy, every value over its
// whole range).
void pictures(benchmark::internal::Benchmark* benchmark) {
  for (int detail : {0, 1}) {
    benchmark->Args({640, 480, detail})->Args({1280, 720, detail});
  }
  benchmark->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_DecodeAndConvert)->Apply(pictures);
BENCHMARK(BM_DecodeOnly)->Apply(pictures);

}  // namespace

BENCHMARK_MAIN();
