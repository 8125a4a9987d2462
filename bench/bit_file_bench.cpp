// Throughput of the buffered bit file through a 64 KiB buffer: bit fields of
// mixed widths and aligned 32-bit words, written to and read from a file in
// the temporary folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "bit_file.h"

namespace {

constexpr std::int32_t kBufferSize = 64 * 1024;
constexpr std::size_t kFieldCount = 1 << 20;

std::string benchFileName() { return "/tmp/zet-bit-file-bench-" + std::to_string(getpid()) + ".bin"; }

struct Field {
  std::uint32_t value;
  std::uint32_t width;
};

const std::vector<Field>& mixedFields() {
  static const std::vector<Field> fields = [] {
    std::mt19937 random(7);
    std::vector<Field> made(kFieldCount);
    for (Field& field : made) field = {static_cast<std::uint32_t>(random()), static_cast<std::uint32_t>(1 + random() % 32)};
    return made;
  }();
  return fields;
}

std::uint64_t bitsOf(const std::vector<Field>& fields) {
  std::uint64_t bits = 0;
  for (const Field& field : fields) bits += field.width;
  return bits;
}

void writeMixedFields(const std::string& name) {
  ZetFileRecord* file = zet::fileCreate(kBufferSize, name.c_str(), false);
  for (const Field& field : mixedFields()) zet::filePutBits(file, field.value, field.width);
  zet::fileClose(file);
}

void BM_PutBitsMixedWidths(benchmark::State& state) {
  const std::string name = benchFileName();
  for (auto _ : state) writeMixedFields(name);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bitsOf(mixedFields()) / 8));
  unlink(name.c_str());
}
BENCHMARK(BM_PutBitsMixedWidths)->Unit(benchmark::kMillisecond);

void BM_GetBitsMixedWidths(benchmark::State& state) {
  const std::string name = benchFileName();
  writeMixedFields(name);
  for (auto _ : state) {
    ZetFileRecord* file = zet::fileOpen(kBufferSize, name.c_str(), zet::kFileOpenRead);
    std::uint32_t sum = 0;
    for (const Field& field : mixedFields()) sum += zet::fileGetBits(file, field.width);
    benchmark::DoNotOptimize(sum);
    zet::fileClose(file);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bitsOf(mixedFields()) / 8));
  unlink(name.c_str());
}
BENCHMARK(BM_GetBitsMixedWidths)->Unit(benchmark::kMillisecond);

void writeWords(const std::string& name) {
  ZetFileRecord* file = zet::fileCreate(kBufferSize, name.c_str(), false);
  for (std::uint32_t i = 0; i < kFieldCount; ++i) zet::filePut32(file, i * 2654435761u);
  zet::fileClose(file);
}

void BM_Put32(benchmark::State& state) {
  const std::string name = benchFileName();
  for (auto _ : state) writeWords(name);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFieldCount * 4));
  unlink(name.c_str());
}
BENCHMARK(BM_Put32)->Unit(benchmark::kMillisecond);

void BM_Get32(benchmark::State& state) {
  const std::string name = benchFileName();
  writeWords(name);
  for (auto _ : state) {
    ZetFileRecord* file = zet::fileOpen(kBufferSize, name.c_str(), zet::kFileOpenRead);
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < kFieldCount; ++i) sum += zet::fileGet32(file);
    benchmark::DoNotOptimize(sum);
    zet::fileClose(file);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFieldCount * 4));
  unlink(name.c_str());
}
BENCHMARK(BM_Get32)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
