#include "expected_plane.h"

#include <cstdlib>
#include <stdexcept>

#include "quantiser_tables.h"
#include "scan_orders.h"

namespace zet::testing {

namespace {

std::int64_t wrap(std::int64_t v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); }
std::int64_t mulShift(std::int64_t c, std::int64_t x) { return wrap(c * x) >> 11; }

void transform8(std::int64_t* s) {
  const std::int64_t a0 = wrap(s[0] + s[4]), a1 = wrap(s[0] - s[4]), a2 = wrap(s[2] + s[6]);
  const std::int64_t a3 = mulShift(2896, wrap(s[2] - s[6]));
  const std::int64_t a4 = wrap(s[5] + s[3]), a5 = wrap(s[5] - s[3]);
  const std::int64_t a6 = wrap(s[1] + s[7]), a7 = wrap(s[1] - s[7]);
  const std::int64_t b0 = wrap(a4 + a6);
  const std::int64_t b1 = mulShift(3784, wrap(a5 + a7));
  const std::int64_t b2 = wrap(mulShift(-5352, a5) - b0 + b1);
  const std::int64_t b3 = wrap(mulShift(2896, wrap(a6 - a4)) - b2);
  const std::int64_t b4 = wrap(mulShift(2217, a7) + b3 - b1);
  s[0] = wrap(a0 + a2 + b0);
  s[1] = wrap(a1 + a3 - a2 + b2);
  s[2] = wrap(a1 - a3 + a2 + b3);
  s[3] = wrap(a0 - a2 - b4);
  s[4] = wrap(a0 - a2 + b4);
  s[5] = wrap(a1 - a3 + a2 - b3);
  s[6] = wrap(a1 + a3 - a2 - b2);
  s[7] = wrap(a0 + a2 - b0);
}

struct Block8 {
  std::uint8_t v[64];
};

Block8 transformOf(const CodedBlock& block, const QuantiserSet& set) {
  std::vector<std::int64_t> coefficients(64, 0);
  coefficients[0] = block.dc;
  for (unsigned k = 1; k < 64; ++k) coefficients[coefficientOrder[k]] = block.values[k];
  const std::vector<std::uint8_t> out = referenceInverseTransform(coefficients, set[block.quantiser].data());
  Block8 result{};
  for (unsigned i = 0; i < 64; ++i) result.v[i] = out[i];
  return result;
}

// The 8x8 content of the types that need no previous picture; false for
// the others.
bool standaloneContent(const CodedBlock& block, unsigned type, Block8& out) {
  switch (type) {
    case 6:  // FILL
      for (auto& v : out.v) v = block.colors[0];
      return true;
    case 8:  // PATTERN
      for (unsigned row = 0; row < 8; ++row) {
        for (unsigned column = 0; column < 8; ++column) {
          out.v[row * 8 + column] = block.colors[(block.patternRows[row] >> column) & 1];
        }
      }
      return true;
    case 9:  // RAW
      for (unsigned i = 0; i < 64; ++i) out.v[i] = block.colors[i];
      return true;
    case 3:  // RUN: colours given in scan order
      for (unsigned i = 0; i < 64; ++i) out.v[runScanOrders[block.scan][i]] = block.colors[i];
      return true;
    case 5:  // INTRA
      out = transformOf(block, intraQuantisers());
      return true;
    default:
      return false;
  }
}

}  // namespace

std::vector<std::uint8_t> referenceInverseTransform(const std::vector<std::int64_t>& coefficients,
                                                    const std::int32_t* quantiser) {
  std::int64_t m[64];
  for (unsigned p = 0; p < 64; ++p) m[p] = mulShift(quantiser[p], coefficients[p]);
  for (unsigned column = 0; column < 8; ++column) {
    std::int64_t s[8];
    for (unsigned row = 0; row < 8; ++row) s[row] = m[row * 8 + column];
    transform8(s);
    for (unsigned row = 0; row < 8; ++row) m[row * 8 + column] = s[row];
  }
  std::vector<std::uint8_t> out(64);
  for (unsigned row = 0; row < 8; ++row) {
    transform8(m + row * 8);
    for (unsigned column = 0; column < 8; ++column) {
      out[row * 8 + column] = static_cast<std::uint8_t>(wrap(m[row * 8 + column] + 127) >> 8);
    }
  }
  return out;
}

void applyBlocks(PictureFrame& picture, const PictureFrame& previous,
                 const std::vector<CodedBlock>& blocks) {
  std::size_t x = 0;
  std::size_t y = 0;
  for (const CodedBlock& block : blocks) {
    if (y >= picture.height) throw std::logic_error("more blocks than the plane holds");
    const auto put = [&](const Block8& content) {
      for (unsigned i = 0; i < 64; ++i) picture.at(x + i % 8, y + i / 8) = content.v[i];
    };
    const auto predicted = [&] {
      Block8 p{};
      for (unsigned i = 0; i < 64; ++i) {
        p.v[i] = previous.at(static_cast<std::size_t>(static_cast<long>(x + i % 8) + block.dx),
                             static_cast<std::size_t>(static_cast<long>(y + i / 8) + block.dy));
      }
      return p;
    };
    std::size_t covered = 8;
    Block8 content{};
    switch (block.type) {
      case 0:
        put(predicted());  // offsets are 0
        break;
      case 2:
        put(predicted());
        break;
      case 4: {
        Block8 p = predicted();
        for (unsigned k = 0; k < 64; ++k) {
          const unsigned position = coefficientOrder[k];
          p.v[position] = static_cast<std::uint8_t>(p.v[position] + block.values[k]);
        }
        put(p);
        break;
      }
      case 7: {
        Block8 p = predicted();
        const Block8 t = transformOf(block, interQuantisers());
        for (unsigned i = 0; i < 64; ++i) p.v[i] = static_cast<std::uint8_t>(p.v[i] + t.v[i]);
        put(p);
        break;
      }
      case 1:
        covered = 16;
        if ((y / 8) % 2 == 0 && standaloneContent(block, block.subtype, content)) {
          for (unsigned i = 0; i < 256; ++i) {
            const unsigned column = i % 16;
            const unsigned row = i / 16;
            picture.at(x + column, y + row) = content.v[(row / 2) * 8 + column / 2];
          }
        }
        break;
      default:
        if (standaloneContent(block, block.type, content)) put(content);
        break;
    }
    x += covered;
    if (x >= picture.width) {
      x = 0;
      y += 8;
    }
  }
}

}  // namespace zet::testing
