#include "plane_kernels.h"

#include <platform/cpu.h>

namespace zet {

namespace {

const PlaneKernels& chooseKernels() {
  const platform::CpuFeatures& features = platform::cpuFeatures();
  if (features.avx2) return avx2PlaneKernels();
  if (features.sse2) return sse2PlaneKernels();
  return plainPlaneKernels();
}

}  // namespace

const PlaneKernels& planeKernels() {
  static const PlaneKernels& chosen = chooseKernels();
  return chosen;
}

}  // namespace zet
