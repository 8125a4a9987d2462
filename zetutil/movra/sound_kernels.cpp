#include "sound_kernels.h"

#include <platform/cpu.h>

namespace zet {

namespace {

const SoundKernels& chooseKernels() {
  const platform::CpuFeatures& features = platform::cpuFeatures();
  if (features.avx2 && avx2SoundKernels() != nullptr) return *avx2SoundKernels();
  if (features.sse2 && sse2SoundKernels() != nullptr) return *sse2SoundKernels();
  return plainSoundKernels();
}

}  // namespace

const SoundKernels& soundKernels() {
  static const SoundKernels& chosen = chooseKernels();
  return chosen;
}

}  // namespace zet
