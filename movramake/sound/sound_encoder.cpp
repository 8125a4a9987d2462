#include "sound_encoder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <new>
#include <optional>
#include <type_traits>

#include "aligned_pieces.h"
#include "block_allocator.h"
#include "hearing_threshold.h"
#include "masking_model.h"
#include "quantiser_choice.h"
#include "sound_bit_writer.h"
#include "sound_block_writer.h"
#include "sound_quality.h"
#include "sound_stream_layout.h"
#include "sound_transform.h"

namespace movra {

struct MovraSoundEncoder {
  zet::SoundStreamLayout layout;
  bool dct = false;
  bool first = true;
  float scale = 0.0f;              // 1 / sqrt(transform length)
  std::uint64_t inputBytes = 0;    // new bytes delivered so far
  std::uint64_t decodedBytes = 0;  // bytes the blocks coded so far yield
  std::uint8_t* input = nullptr;   // one block of PCM
  std::uint8_t* output = nullptr;  // one coded block
  std::uint32_t outputCapacity = 0;
  float* samples = nullptr;       // one coded channel of the block
  float* work = nullptr;          // its analysis spectrum, then its coding transform
  float* hearingDb = nullptr;     // threshold of hearing per coefficient
  float* audibleFloor = nullptr;  // power per coefficient below which it is sent as 0
  float floorLevel = -1.0f;       // the quality level audibleFloor was computed for
  std::int32_t* quantised = nullptr;
  std::array<SpectrumHistory, 2> history{};  // per coded channel
  BandValues bandHearingMinimum{};
  BandValues normalisation{};
  zet::SoundTransform transform;
};

static_assert(std::is_trivially_destructible_v<MovraSoundEncoder>,
              "releasing an encoder only frees its block");

namespace {

struct EncoderPieces {
  std::size_t record, input, output, samples, work, hearingDb, audibleFloor, quantised, history,
      transform, total;
};

// The largest block has 16 bits for each coefficient (15 of magnitude and a
// sign) and 5 header bits for each group of 8, plus 2 floats and 25
// quantisers per channel: under 1.05 x the PCM it codes, so one and a half
// blocks of PCM always hold it.
std::uint32_t outputCapacity(const zet::SoundStreamLayout& layout) {
  return layout.blockBytes() / 2 * 3;
}

EncoderPieces planPieces(const zet::SoundStreamLayout& layout) {
  const std::size_t n = layout.transformLength;
  zet::AlignedPieces plan;
  EncoderPieces pieces{};
  pieces.record = plan.reserve(sizeof(MovraSoundEncoder));
  pieces.input = plan.reserve(layout.blockBytes());
  pieces.output = plan.reserve(outputCapacity(layout));
  pieces.samples = plan.reserve(n * sizeof(float));
  pieces.work = plan.reserve(n * sizeof(float));
  pieces.hearingDb = plan.reserve(n * sizeof(float));
  pieces.audibleFloor = plan.reserve(n * sizeof(float));
  pieces.quantised = plan.reserve(n * sizeof(std::int32_t));
  pieces.history = plan.reserve(layout.codedChannels * 4 * (n / 2) * sizeof(float));
  pieces.transform = plan.reserve(zet::SoundTransform::memoryBytes(layout.transformLength));
  pieces.total = plan.size();
  return pieces;
}

BandValues bandHearingMinimum(const zet::SoundStreamLayout& layout, const float* hearingDb) {
  BandValues minimum{};
  for (std::uint32_t k = 0; k < layout.bandCount; ++k) {
    minimum[k] = 1000.0f;
    for (std::uint32_t i = 2 * layout.bandLimits[k]; i < 2 * layout.bandLimits[k + 1]; ++i) {
      minimum[k] = std::min(minimum[k], hearingDb[i]);
    }
  }
  return minimum;
}

void refreshAudibleFloor(MovraSoundEncoder& encoder, float level) {
  for (std::uint32_t k = 0; k < encoder.layout.transformLength; ++k) {
    encoder.audibleFloor[k] = std::pow(10.0f, (encoder.hearingDb[k] + level) / 10.0f);
  }
  encoder.floorLevel = level;
}

// One coded channel of the block's first `bytes` bytes as floats, padded
// with zeros to the transform length.
void loadChannel(const MovraSoundEncoder& encoder, std::uint32_t channel, std::uint32_t bytes) {
  const std::uint32_t stride = encoder.layout.codedChannels;
  const std::uint32_t count = bytes / 2 / stride;
  const std::uint8_t* p = encoder.input + 2 * channel;
  for (std::uint32_t i = 0; i < count; ++i, p += 2 * stride) {
    encoder.samples[i] = static_cast<float>(static_cast<std::int16_t>(p[0] | p[1] << 8));
  }
  std::fill(encoder.samples + count, encoder.samples + encoder.layout.transformLength, 0.0f);
}

// The analysis copy fades in over its first 1/32 and out over its last, so
// that the block's edges do not smear the spectrum the masking model sees.
void fadeEdges(float* x, std::uint32_t length) {
  const std::uint32_t fade = length / 32;
  const auto smoothstep = [](float t) { return 3.0f * t * t - 2.0f * t * t * t; };
  const auto faded = [](float value, float weight) {
    const float y = value * weight;
    return std::fabs(y) < 0.001f ? 0.0f : y;
  };
  const float span = static_cast<float>(fade);
  for (std::uint32_t i = 0; i < fade; ++i) {
    x[i] = faded(x[i], smoothstep(static_cast<float>(i) / span));
    float* tail = x + length - fade;
    tail[i] = faded(tail[i], smoothstep(static_cast<float>(fade - i) / span));
  }
}

void scale(float* x, std::uint32_t length, float factor) {
  for (std::uint32_t i = 0; i < length; ++i) x[i] *= factor;
}

// Each band's quantiser from the analysis spectrum of the samples loaded.
std::array<std::uint8_t, zet::kSoundBandTableSize> chooseQuantisers(MovraSoundEncoder& encoder,
                                                                    std::uint32_t channel,
                                                                    float level) {
  const zet::SoundStreamLayout& layout = encoder.layout;
  const std::uint32_t n = layout.transformLength;
  std::copy_n(encoder.samples, n, encoder.work);
  fadeEdges(encoder.work, n);
  encoder.transform.forwardRealDft(encoder.work);
  scale(encoder.work, n, encoder.scale);

  const BandValues allowed =
      allowedNoise(layout, encoder.work, encoder.history[channel], level, encoder.normalisation);
  std::array<std::uint8_t, zet::kSoundBandTableSize> quantisers{};
  for (std::uint32_t k = 0; k < layout.bandCount; ++k) {
    const std::uint32_t first = 2 * layout.bandLimits[k];
    const std::uint32_t count = 2 * layout.bandLimits[k + 1] - first;
    const std::uint8_t searched = searchQuantiser(encoder.work + first, count, allowed[k]);
    quantisers[k] = applyHearingFloor(searched, level, encoder.bandHearingMinimum[k]);
  }
  return quantisers;
}

void codingTransform(MovraSoundEncoder& encoder) {
  const std::uint32_t n = encoder.layout.transformLength;
  std::copy_n(encoder.samples, n, encoder.work);
  if (encoder.dct) {
    encoder.transform.forwardDct(encoder.work);
    encoder.work[0] *= 0.5f;
  } else {
    encoder.transform.forwardRealDft(encoder.work);
  }
  scale(encoder.work, n, encoder.scale);
}

}  // namespace

MovraSoundEncoder* createSoundEncoder(std::uint32_t sampleRate, std::uint32_t channels,
                                      bool dctCoding) {
  const std::optional<zet::SoundStreamLayout> layout = zet::soundStreamLayout(
      sampleRate, channels, dctCoding ? zet::SoundVariant::Dct : zet::SoundVariant::Fft);
  if (!layout) return nullptr;
  const EncoderPieces pieces = planPieces(*layout);
  auto* memory =
      static_cast<unsigned char*>(zet::allocateBlock(static_cast<std::uint32_t>(pieces.total)));
  if (memory == nullptr) return nullptr;

  const std::uint32_t n = layout->transformLength;
  auto* encoder = new (memory + pieces.record) MovraSoundEncoder{
      .layout = *layout,
      .dct = dctCoding,
      .scale = 1.0f / std::sqrt(static_cast<float>(n)),
      .input = memory + pieces.input,
      .output = memory + pieces.output,
      .outputCapacity = outputCapacity(*layout),
      .samples = reinterpret_cast<float*>(memory + pieces.samples),
      .work = reinterpret_cast<float*>(memory + pieces.work),
      .hearingDb = reinterpret_cast<float*>(memory + pieces.hearingDb),
      .audibleFloor = reinterpret_cast<float*>(memory + pieces.audibleFloor),
      .quantised = reinterpret_cast<std::int32_t*>(memory + pieces.quantised),
      .transform = zet::SoundTransform(n, memory + pieces.transform),
  };
  std::memset(encoder->input, 0, layout->blockBytes());
  auto* history = reinterpret_cast<float*>(memory + pieces.history);
  std::fill_n(history, layout->codedChannels * 4 * (n / 2), 0.0f);
  for (std::uint32_t c = 0; c < layout->codedChannels; ++c, history += 4 * (n / 2)) {
    encoder->history[c] = {history, history + n / 2, history + n, history + 3 * (n / 2)};
  }
  fillHearingThresholds(n, layout->halfRate, encoder->hearingDb);
  encoder->bandHearingMinimum = bandHearingMinimum(*layout, encoder->hearingDb);
  encoder->normalisation = spreadingNormalisation(*layout);
  return encoder;
}

SoundInputWindow soundEncoderInputWindow(MovraSoundEncoder* encoder) {
  const zet::SoundStreamLayout& layout = encoder->layout;
  if (encoder->first) return {encoder->input, layout.blockBytes()};
  return {encoder->input + layout.overlapBytes(), layout.blockBytes() - layout.overlapBytes()};
}

SoundCodedBlock encodeSoundBlock(MovraSoundEncoder* encoder, std::uint32_t delivered,
                                 std::uint32_t quality) {
  const zet::SoundStreamLayout& layout = encoder->layout;
  const SoundInputWindow window = soundEncoderInputWindow(encoder);
  delivered = std::min(delivered, window.bytes);
  // Whatever the caller left unwritten is silence, also in the overlap that
  // the next block takes over.
  std::memset(window.buffer + delivered, 0, window.bytes - delivered);
  const std::uint32_t bytes = delivered + (encoder->first ? 0 : layout.overlapBytes());

  const float level = soundQualityLevel(quality);
  if (level != encoder->floorLevel) refreshAudibleFloor(*encoder, level);

  zet::SoundBitWriter writer(encoder->output, encoder->outputCapacity);
  if (encoder->dct) writer.write(0, 2);
  for (std::uint32_t c = 0; c < layout.codedChannels; ++c) {
    loadChannel(*encoder, c, bytes);
    const std::array<std::uint8_t, zet::kSoundBandTableSize> quantisers =
        chooseQuantisers(*encoder, c, level);
    codingTransform(*encoder);
    writeCodedChannel(writer, layout, encoder->work, quantisers.data(), encoder->audibleFloor,
                      encoder->quantised);
  }
  writer.padToWord();

  std::memmove(encoder->input, encoder->input + layout.blockBytes() - layout.overlapBytes(),
               layout.overlapBytes());
  encoder->first = false;
  encoder->inputBytes += delivered;
  const auto yield = static_cast<std::uint32_t>(std::min<std::uint64_t>(
      layout.blockBytes() - layout.overlapBytes(), encoder->inputBytes - encoder->decodedBytes));
  encoder->decodedBytes += yield;
  return {encoder->output, static_cast<std::uint32_t>(writer.bytesWritten()), yield};
}

void releaseSoundEncoder(MovraSoundEncoder* encoder) { zet::releaseBlock(encoder); }

}  // namespace movra
