#include <cstring>

#include "inverse_transform.h"
#include "plane_kernels.h"

namespace zet {

namespace {

// Two's complement arithmetic that wraps at 32 bits instead of overflowing.
struct ScalarOps {
  static std::uint32_t add(std::uint32_t a, std::uint32_t b) { return a + b; }
  static std::uint32_t sub(std::uint32_t a, std::uint32_t b) { return a - b; }
  static std::uint32_t shiftRight(std::uint32_t x, int bits) {
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(x) >> bits);
  }
  static std::uint32_t scale(std::int32_t constant, std::uint32_t x) {
    return shiftRight(static_cast<std::uint32_t>(constant) * x, kTransformProductShift);
  }
};

void inverseTransformPlain(const std::int32_t* coefficients, const std::int32_t* quantiser,
                           std::uint8_t* result) {
  std::uint32_t columnsDone[64];
  for (unsigned column = 0; column < 8; ++column) {
    std::uint32_t s[8];
    for (unsigned row = 0; row < 8; ++row) {
      const unsigned p = row * 8 + column;
      s[row] = ScalarOps::scale(quantiser[p], static_cast<std::uint32_t>(coefficients[p]));
    }
    inverseTransformPass<ScalarOps>(s);
    for (unsigned row = 0; row < 8; ++row) columnsDone[row * 8 + column] = s[row];
  }
  for (unsigned row = 0; row < 8; ++row) {
    std::uint32_t s[8];
    std::memcpy(s, columnsDone + row * 8, sizeof(s));
    inverseTransformPass<ScalarOps>(s);
    for (unsigned column = 0; column < 8; ++column) {
      const std::uint32_t rounded = ScalarOps::add(s[column], kTransformRounding);
      result[row * 8 + column] =
          static_cast<std::uint8_t>(ScalarOps::shiftRight(rounded, kTransformOutputShift));
    }
  }
}

void addBlockPlain(std::uint8_t* destination, std::size_t pitch, const std::uint8_t* delta) {
  for (unsigned row = 0; row < 8; ++row) {
    std::uint8_t* line = destination + row * pitch;
    for (unsigned column = 0; column < 8; ++column) {
      line[column] = static_cast<std::uint8_t>(line[column] + delta[row * 8 + column]);
    }
  }
}

void doubleBlockPlain(std::uint8_t* destination, std::size_t pitch, const std::uint8_t* block) {
  for (unsigned row = 0; row < 16; ++row) {
    std::uint8_t* line = destination + row * pitch;
    const std::uint8_t* source = block + (row / 2) * 8;
    for (unsigned column = 0; column < 16; ++column) line[column] = source[column / 2];
  }
}

constexpr PlaneKernels kPlainKernels = {inverseTransformPlain, addBlockPlain, doubleBlockPlain};

}  // namespace

const PlaneKernels& plainPlaneKernels() { return kPlainKernels; }

}  // namespace zet
