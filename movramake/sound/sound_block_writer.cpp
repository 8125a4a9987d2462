#include "sound_block_writer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>

#include "coefficient_rounding.h"
#include "sound_float.h"
#include "sound_tables.h"

namespace movra {

namespace {

constexpr std::uint32_t kGroupLength = 8;
constexpr std::uint32_t kFirstGrouped = 2;
// Groups of the longest transform (4096 coefficients).
constexpr std::uint32_t kMostGroups = 512;

// Bits of the largest magnitude in each group of 8 from coefficient 2 on.
std::uint8_t groupWidth(const std::int32_t* quantised, std::uint32_t group, std::uint32_t length) {
  const std::uint32_t first = kFirstGrouped + group * kGroupLength;
  const std::uint32_t end = std::min(length, first + kGroupLength);
  std::uint32_t largest = 0;
  for (std::uint32_t i = first; i < end; ++i) {
    largest = std::max(largest, static_cast<std::uint32_t>(std::abs(quantised[i])));
  }
  return static_cast<std::uint8_t>(std::bit_width(largest));
}

// The run code for groups of which the first `sameWidthGroups` share one
// width, `remainingGroups` being left in the block: the table is walked in
// order while every group a length takes in (cut at the end of the block)
// has that width; -1 when no length qualifies.
int runCode(std::uint32_t sameWidthGroups, std::uint32_t remainingGroups) {
  int code = -1;
  for (unsigned c = 0; c < zet::kSoundRunCodes; ++c) {
    if (std::min(zet::kSoundRunGroups[c], remainingGroups) > sameWidthGroups) break;
    code = static_cast<int>(c);
  }
  return code;
}

}  // namespace

void writeCodedChannel(zet::SoundBitWriter& writer, const zet::SoundStreamLayout& layout,
                       const float* coefficients, const std::uint8_t* quantisers,
                       const float* audibleFloor, std::int32_t* quantised) {
  writer.write(zet::encodeSoundFloat(coefficients[0]), zet::kSoundFloatBits);
  writer.write(zet::encodeSoundFloat(coefficients[1]), zet::kSoundFloatBits);
  for (std::uint32_t k = 0; k < layout.bandCount; ++k) writer.write(quantisers[k], 8);

  const std::uint32_t length = layout.transformLength;
  const std::array<float, zet::kSoundQuantiserIndices>& reciprocals =
      zet::soundQuantiserReciprocals();
  for (std::uint32_t k = 0; k < layout.bandCount; ++k) {
    const float reciprocal = reciprocals[quantisers[k]];
    for (std::uint32_t i = layout.bandStarts[k]; i < layout.bandStarts[k + 1]; ++i) {
      const float c = coefficients[i];
      quantised[i] = c * c < audibleFloor[i] ? 0 : roundCoefficient(c * reciprocal);
    }
  }

  std::array<std::uint8_t, kMostGroups> widths{};
  const std::uint32_t groups = (length - kFirstGrouped + kGroupLength - 1) / kGroupLength;
  for (std::uint32_t g = 0; g < groups; ++g) widths[g] = groupWidth(quantised, g, length);

  for (std::uint32_t group = 0; group < groups;) {
    const unsigned width = widths[group];
    std::uint32_t sameEnd = group + 1;
    while (sameEnd < groups && widths[sameEnd] == width) ++sameEnd;
    const std::uint32_t remaining = groups - group;
    const int code = runCode(sameEnd - group, remaining);
    std::uint32_t covered = 1;
    if (code < 0) {
      writer.write(0, 1);
    } else {
      writer.write(1u | static_cast<std::uint32_t>(code) << 1, 5);
      covered = std::min(zet::kSoundRunGroups[static_cast<unsigned>(code)], remaining);
    }
    writer.write(width, 4);
    if (width > 0) {
      const std::uint32_t first = kFirstGrouped + group * kGroupLength;
      const std::uint32_t end = std::min(length, first + covered * kGroupLength);
      for (std::uint32_t i = first; i < end; ++i) {
        const std::int32_t q = quantised[i];
        const auto magnitude = static_cast<std::uint32_t>(std::abs(q));
        const std::uint32_t sign = q < 0 ? 1u : 0u;
        writer.write(magnitude | sign << width, width + (magnitude != 0 ? 1u : 0u));
      }
    }
    group += covered;
  }
}

}  // namespace movra
