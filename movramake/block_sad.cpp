#include "block_sad.h"

#include <cstdlib>

#include "platform/cpu.h"

namespace movra {
namespace {

std::uint32_t sad64Plain(const std::uint8_t* a, const std::uint8_t* b) {
  std::uint32_t sum = 0;
  for (unsigned i = 0; i < 64; ++i) sum += static_cast<std::uint32_t>(std::abs(a[i] - b[i]));
  return sum;
}

std::uint32_t sadBoundedPlain(const std::uint8_t* block, std::size_t pitch, const std::uint8_t* samples,
                              std::uint32_t limit) {
  std::uint32_t sum = 0;
  for (unsigned row = 0; row < 8; ++row) {
    const std::uint8_t* line = block + row * pitch;
    const std::uint8_t* wanted = samples + row * 8;
    for (unsigned column = 0; column < 8; ++column) {
      sum += static_cast<std::uint32_t>(std::abs(line[column] - wanted[column]));
    }
    if (sum > limit) return sum;
  }
  return sum;
}

constexpr SadKernels kPlain = {sad64Plain, sadBoundedPlain};

const SadKernels& chooseKernels() {
  return platform::cpuFeatures().sse2 ? sse2SadKernels() : plainSadKernels();
}

}  // namespace

const SadKernels& plainSadKernels() { return kPlain; }

const SadKernels& sadKernels() {
  static const SadKernels& chosen = chooseKernels();
  return chosen;
}

}  // namespace movra
