// The per-block routines that decoding (and the encoder's reconstruction)
// spends its time in, with plain, SSE2 and AVX2 variants that give the same
// bytes. One table is chosen per process from the processor's features.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zet {

struct PlaneKernels {
  // The 8x8 integer inverse transform: `coefficients` and `quantiser` in
  // natural block order; the low 8 bits of each output go to `result`, row
  // by row. Arithmetic wraps at 32 bits, so damaged coefficients give
  // defined (if meaningless) pixels.
  void (*inverseTransform)(const std::int32_t* coefficients, const std::int32_t* quantiser,
                           std::uint8_t* result);
  // destination += delta for an 8x8 block, each byte modulo 256.
  void (*addBlock)(std::uint8_t* destination, std::size_t pitch, const std::uint8_t* delta);
  // Writes every byte of an 8x8 block as a 2x2 square of a 16x16 area.
  void (*doubleBlock)(std::uint8_t* destination, std::size_t pitch, const std::uint8_t* block);
};

// The variants each instruction set provides, for tests and benchmarks.
const PlaneKernels& plainPlaneKernels();
const PlaneKernels& sse2PlaneKernels();
const PlaneKernels& avx2PlaneKernels();

// The fastest variant this processor runs.
const PlaneKernels& planeKernels();

}  // namespace zet
