#include "sound_decoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <new>
#include <type_traits>

#include "aligned_pieces.h"
#include "block_allocator.h"
#include "sound_bit_reader.h"
#include "sound_float.h"
#include "sound_kernels.h"
#include "sound_stream_layout.h"
#include "sound_transform.h"

namespace zet {

struct MovraAudioDecoder {
  SoundStreamLayout layout;
  bool dct = false;
  bool first = true;  // the first block has no tail to blend with
  float outputScale = 0.0f;
  unsigned overlapShift = 0;             // the overlap is a power of two: 2^overlapShift samples
  std::int16_t* output = nullptr;        // one block of samples
  std::int16_t* tail = nullptr;          // the previous block's last overlap samples
  std::array<float*, 2> coefficients{};  // per coded channel
  SoundTransform transform;
};

static_assert(std::is_trivially_destructible_v<MovraAudioDecoder>,
              "closing a decoder only frees its block");

namespace {

struct DecoderPieces {
  std::size_t record, output, tail, coefficients, transform, total;
};

DecoderPieces planPieces(const SoundStreamLayout& layout) {
  AlignedPieces plan;
  DecoderPieces pieces{};
  pieces.record = plan.reserve(sizeof(MovraAudioDecoder));
  pieces.output = plan.reserve(layout.blockSamples * sizeof(std::int16_t));
  pieces.tail = plan.reserve(layout.overlapSamples * sizeof(std::int16_t));
  pieces.coefficients =
      plan.reserve(std::size_t{layout.codedChannels} * layout.transformLength * sizeof(float));
  pieces.transform = plan.reserve(SoundTransform::memoryBytes(layout.transformLength));
  pieces.total = plan.size();
  return pieces;
}

// Magnitudes of `width` bits, each followed by a sign bit when it is not 0.
void readMagnitudes(SoundBitReader& reader, unsigned width, float* out, std::uint32_t count) {
  const std::uint32_t mask = (1u << width) - 1;
  for (std::uint32_t c = 0; c < count; ++c) {
    if (reader.available() < 16) reader.refill();
    const std::uint32_t bits = reader.peek(width + 1);
    const std::uint32_t magnitude = bits & mask;
    const std::uint32_t hasSign = magnitude != 0 ? 1u : 0u;
    const std::uint32_t negative = (bits >> width) & hasSign;
    reader.skip(width + hasSign);
    out[c] = std::bit_cast<float>(std::bit_cast<std::uint32_t>(static_cast<float>(magnitude)) |
                                  negative << 31);
  }
}

// One coded channel: the two floats, the band quantisers and the grouped
// coefficients, the latter multiplied by their band's step.
void readChannel(SoundBitReader& reader, const SoundStreamLayout& layout, float* a) {
  a[0] = decodeSoundFloat(reader.read(kSoundFloatBits));
  a[1] = decodeSoundFloat(reader.read(kSoundFloatBits));
  std::array<std::uint8_t, kSoundBandTableSize> quantisers{};
  for (std::uint32_t k = 0; k < layout.bandCount; ++k) {
    quantisers[k] = static_cast<std::uint8_t>(reader.read(8));
  }

  const std::uint32_t n = layout.transformLength;
  for (std::uint32_t i = 2; i < n;) {
    reader.refill();  // a group header takes at most 9 bits
    std::uint32_t groups = 1;
    const bool run = reader.peek(1) != 0;
    reader.skip(1);
    if (run) {
      groups = kSoundRunGroups[reader.peek(4)];
      reader.skip(4);
    }
    const std::uint32_t j = std::min(n, i + groups * 8);
    const unsigned width = reader.peek(4);
    reader.skip(4);
    if (width == 0) {
      std::fill(a + i, a + j, 0.0f);
    } else {
      readMagnitudes(reader, width, a + i, j - i);
    }
    i = j;
  }

  // Each coefficient takes the step of the last band edge at or below it:
  // bands are walked by their starts, so edges that fall together leave
  // their empty bands behind at once.
  const std::array<float, kSoundQuantiserIndices>& steps = soundQuantiserSteps();
  for (std::uint32_t k = 0; k < layout.bandCount; ++k) {
    const float step = steps[quantisers[k]];
    for (std::uint32_t t = layout.bandStarts[k]; t < layout.bandStarts[k + 1]; ++t) a[t] *= step;
  }
}

}  // namespace

MovraAudioDecoder* MovraAudioOpen(std::uint32_t sampleRate, std::uint32_t channels, bool dct) {
  const std::optional<SoundStreamLayout> layout =
      soundStreamLayout(sampleRate, channels, dct ? SoundVariant::Dct : SoundVariant::Fft);
  if (!layout) return nullptr;
  const DecoderPieces pieces = planPieces(*layout);
  auto* memory =
      static_cast<unsigned char*>(allocateBlock(static_cast<std::uint32_t>(pieces.total)));
  if (memory == nullptr) return nullptr;

  auto* decoder = new (memory + pieces.record) MovraAudioDecoder{
      *layout,
      dct,
      true,
      2.0f / std::sqrt(static_cast<float>(layout->transformLength)),
      static_cast<unsigned>(std::countr_zero(layout->overlapSamples)),
      reinterpret_cast<std::int16_t*>(memory + pieces.output),
      reinterpret_cast<std::int16_t*>(memory + pieces.tail),
      {},
      SoundTransform(layout->transformLength, memory + pieces.transform),
  };
  auto* coefficients = reinterpret_cast<float*>(memory + pieces.coefficients);
  for (std::uint32_t c = 0; c < layout->codedChannels; ++c) {
    decoder->coefficients[c] = coefficients + std::size_t{c} * layout->transformLength;
  }
  return decoder;
}

MovraAudioBlock MovraAudioDecodeBlock(MovraAudioDecoder* decoder, const std::uint8_t* data,
                                      const std::uint8_t* end) {
  const SoundStreamLayout& layout = decoder->layout;
  SoundBitReader reader(data, end);
  if (decoder->dct) reader.read(2);
  for (std::uint32_t c = 0; c < layout.codedChannels; ++c) {
    readChannel(reader, layout, decoder->coefficients[c]);
  }
  if (reader.overran()) return {};

  for (std::uint32_t c = 0; c < layout.codedChannels; ++c) {
    if (decoder->dct) {
      decoder->transform.inverseDct(decoder->coefficients[c]);
    } else {
      decoder->transform.inverseRealDft(decoder->coefficients[c]);
    }
  }
  const bool interleave = layout.codedChannels == 2;
  soundKernels().toPcm16(decoder->coefficients[0], interleave ? decoder->coefficients[1] : nullptr,
                         decoder->outputScale, decoder->output, layout.transformLength);

  // The overlap fades from the previous block's tail into this block; the
  // division by the overlap length rounds toward minus infinity.
  std::int16_t* out = decoder->output;
  const std::int32_t overlap = static_cast<std::int32_t>(layout.overlapSamples);
  if (!decoder->first) {
    for (std::int32_t i = 0; i < overlap; ++i) {
      const std::int32_t sum = decoder->tail[i] * (overlap - i) + out[i] * i;
      out[i] = static_cast<std::int16_t>(sum >> decoder->overlapShift);
    }
  }
  decoder->first = false;
  std::memcpy(decoder->tail, out + layout.yieldSamples(), layout.overlapBytes());
  return {true, out, layout.yieldSamples() * 2, reader.nextWord()};
}

std::uint32_t MovraAudioBlockBytes(const MovraAudioDecoder* decoder) {
  return decoder->layout.yieldSamples() * 2;
}

void MovraAudioClose(MovraAudioDecoder* decoder) { releaseBlock(decoder); }

}  // namespace zet
