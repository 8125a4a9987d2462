// Processor count and the instruction-set features that select routine variants.
#pragma once

namespace platform {

// Processors this process may run on; at least 1.
unsigned processorCount();

struct CpuFeatures {
  bool mmx = false;
  bool timeStampCounter = false;
  bool sse2 = false;
  bool ssse3 = false;
  bool sse41 = false;
  bool avx2 = false;
};

const CpuFeatures& cpuFeatures();

}  // namespace platform
