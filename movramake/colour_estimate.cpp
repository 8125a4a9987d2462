#include "colour_estimate.h"

#include <algorithm>
#include <cstdlib>

#include "byte_entropy.h"

namespace movra {
namespace {

constexpr std::uint32_t kCheapestColour = 640;
constexpr std::uint32_t kDearestColour = 2048;

}  // namespace

void estimateColourCost(const std::uint8_t* plane, const std::uint8_t* reference, std::size_t bytes,
                        ColourEstimate& colour) {
  ByteHistogram counts{};
  std::uint64_t counted = 0;
  for (std::size_t i = 0; i < bytes; ++i) {
    const bool changes = i == 0 || plane[i] != plane[i - 1];
    const bool isNew = !reference || std::abs(plane[i] - reference[i]) > 1;
    if (changes && isNew) {
      ++counts[plane[i]];
      ++counted;
    }
  }
  colour.entropyCost =
      counted == 0 ? kCheapestColour : static_cast<std::uint32_t>(entropyBytes(counts) * 2048 / counted);
  const std::int64_t corrected = std::int64_t{colour.entropyCost} + colour.correction;
  colour.cost = static_cast<std::uint32_t>(std::clamp<std::int64_t>(corrected, kCheapestColour, kDearestColour));
  colour.sample = colour.cost / 256;
  colour.weight = 1;
}

void correctColourCost(ColourEstimate& colour) {
  colour.correction = static_cast<std::int64_t>(std::uint64_t{colour.sample} * 256 / colour.weight) - colour.entropyCost;
}

}  // namespace movra
