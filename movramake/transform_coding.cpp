#include "transform_coding.h"

#include <cmath>
#include <cstring>
#include <numbers>

#include "plane_kernels.h"
#include "quantiser_tables.h"

namespace movra {
namespace {

using Row = std::array<std::int64_t, 8>;

std::int64_t scaled(std::int64_t value, std::int64_t constant) { return (value * constant) >> 11; }

Row transformRow(const Row& x) {
  const std::int64_t t0 = x[0] + x[7], t7 = x[0] - x[7], t1 = x[1] + x[6], t6 = x[1] - x[6];
  const std::int64_t t2 = x[2] + x[5], t5 = x[2] - x[5], t3 = x[3] + x[4], t4 = x[3] - x[4];
  const std::int64_t a = t0 + t3, b = t1 + t2, c = t0 - t3, d = t1 - t2;
  const std::int64_t e = scaled(c + d, 1448);
  const std::int64_t f = t4 + t5, g = t5 + t6, h = t6 + t7;
  const std::int64_t m = scaled(f - h, 784);
  const std::int64_t n = scaled(f, 1108) + m, p = scaled(h, 2676) + m, r = scaled(g, 1448);
  Row y;
  y[0] = a + b;
  y[4] = a - b;
  y[2] = c + e;
  y[6] = c - e;
  y[5] = (t7 - r) + n;
  y[3] = (t7 - r) - n;
  y[1] = (t7 + r) + p;
  y[7] = (t7 + r) - p;
  return y;
}

// The decoder's multipliers come from per-position weights, a per-quantiser
// step and the transform's basis scales. The encoder needs the product
// before its rounding, so it takes the weights and steps back from the
// decoder's own tables (each is a whole number, or a whole number of
// sixths for the steps) and forms the product the same way.
double basisScale(unsigned k) {
  if (k == 0 || k == 4) return 1.0;
  return std::numbers::sqrt2 * std::cos(k * std::numbers::pi / 16.0);
}

const zet::QuantiserSet& decoderSet(QuantiserKind kind) {
  return kind == QuantiserKind::kIntra ? zet::intraQuantisers() : zet::interQuantisers();
}

double unroundedProduct(QuantiserKind kind, unsigned q, unsigned p) {
  const zet::QuantiserSet& set = decoderSet(kind);
  const double basis = basisScale(p / 8) * basisScale(p % 8);
  const double weight = std::round(set[0][p] / (basis * 65536.0 / 16.0));
  const double step = std::round(set[q][0] * 6.0 / 65536.0) / 6.0;
  // The same order of operations as the decoder's tables, so that the
  // product rounds the same way.
  return weight / 16.0 * basisScale(p / 8) * basisScale(p % 8) * step * 65536.0;
}

using EncoderSet = std::array<std::array<std::uint32_t, 64>, zet::kQuantisers>;

EncoderSet buildEncoderSet(QuantiserKind kind) {
  EncoderSet set{};
  for (unsigned q = 0; q < zet::kQuantisers; ++q) {
    for (unsigned p = 0; p < 64; ++p) {
      const auto y = static_cast<float>(34359738368.0 / unroundedProduct(kind, q, p));
      set[q][p] = static_cast<std::uint32_t>(std::floor(static_cast<double>(y) + 0.5));
    }
  }
  return set;
}

const EncoderSet& encoderSet(QuantiserKind kind) {
  static const EncoderSet intra = buildEncoderSet(QuantiserKind::kIntra);
  static const EncoderSet inter = buildEncoderSet(QuantiserKind::kInter);
  return kind == QuantiserKind::kIntra ? intra : inter;
}

}  // namespace

Coefficients forwardTransform(const std::array<std::int32_t, 64>& samples) {
  std::array<Row, 8> rows{};
  for (unsigned r = 0; r < 8; ++r) {
    Row x;
    for (unsigned c = 0; c < 8; ++c) x[c] = std::int64_t{samples[r * 8 + c]} * 256;
    rows[r] = transformRow(x);
  }
  Coefficients out{};
  for (unsigned c = 0; c < 8; ++c) {
    Row x;
    for (unsigned r = 0; r < 8; ++r) x[r] = rows[r][c];
    const Row y = transformRow(x);
    for (unsigned r = 0; r < 8; ++r) out[r * 8 + c] = static_cast<std::int32_t>(y[r]);
  }
  return out;
}

std::uint32_t encoderQuantiser(QuantiserKind kind, unsigned q, unsigned p) { return encoderSet(kind)[q][p]; }

Coefficients quantise(const Coefficients& coefficients, QuantiserKind kind, unsigned q) {
  const auto& table = encoderSet(kind)[q];
  Coefficients out{};
  for (unsigned p = 0; p < 64; ++p) {
    const std::int64_t product = std::int64_t{coefficients[p]} * table[p] + 0x1FFFFFFF;
    out[p] = static_cast<std::int16_t>(static_cast<std::uint16_t>(product >> 30));
  }
  return out;
}

bool onlyDc(const Coefficients& quantised) {
  for (unsigned p = 1; p < 64; ++p) {
    if (quantised[p] != 0) return false;
  }
  return true;
}

BlockSamples reconstructIntra(const Coefficients& quantised, unsigned q) {
  BlockSamples block{};
  zet::planeKernels().inverseTransform(quantised.data(), zet::intraQuantisers()[q].data(), block.data());
  return block;
}

BlockSamples reconstructInter(const Coefficients& quantised, unsigned q, const BlockSamples& prediction) {
  BlockSamples delta{};
  zet::planeKernels().inverseTransform(quantised.data(), zet::interQuantisers()[q].data(), delta.data());
  BlockSamples block = prediction;
  zet::planeKernels().addBlock(block.data(), 8, delta.data());
  return block;
}

}  // namespace movra
