#include <sched.h>
#include <unistd.h>

#include "platform/cpu.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace platform {

unsigned processorCount() {
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) {
    const int count = CPU_COUNT(&allowed);
    if (count > 0) return static_cast<unsigned>(count);
  }
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  return online > 0 ? static_cast<unsigned>(online) : 1u;
}

namespace {

#if defined(__x86_64__) || defined(__i386__)
// XGETBV without the -mxsave target flag.
unsigned readXcr0() {
  unsigned low = 0, high = 0;
  __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return low;
}
#endif

CpuFeatures detectFeatures() {
  CpuFeatures features;
#if defined(__x86_64__) || defined(__i386__)
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx)) {
    features.timeStampCounter = (edx & (1u << 4)) != 0;
    features.mmx = (edx & bit_MMX) != 0;
    features.sse2 = (edx & bit_SSE2) != 0;
    features.ssse3 = (ecx & bit_SSSE3) != 0;
    features.sse41 = (ecx & bit_SSE4_1) != 0;
    // AVX2 also needs AVX and the operating system saving the YMM registers.
    const bool avxUsable = (ecx & bit_AVX) != 0 && (ecx & bit_OSXSAVE) != 0 && (readXcr0() & 0x6) == 0x6;
    if (avxUsable && __get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) {
      features.avx2 = (ebx & bit_AVX2) != 0;
    }
  }
#endif
  return features;
}

}  // namespace

const CpuFeatures& cpuFeatures() {
  static const CpuFeatures features = detectFeatures();
  return features;
}

}  // namespace platform
