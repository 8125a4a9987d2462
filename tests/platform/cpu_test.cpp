#include "platform/cpu.h"

#include <gtest/gtest.h>

#include <thread>

namespace platform {
namespace {

TEST(Cpu, CountsAtLeastOneProcessorAndNoMoreThanTheMachineHas) {
  EXPECT_GE(processorCount(), 1u);
  const unsigned machine = std::thread::hardware_concurrency();
  if (machine > 0) {
    EXPECT_LE(processorCount(), machine);
  }
}

TEST(Cpu, FeaturesAreConsistent) {
  const CpuFeatures& features = cpuFeatures();
#if defined(__x86_64__)
  // Every x86-64 processor has SSE2.
  EXPECT_TRUE(features.sse2);
  EXPECT_TRUE(features.mmx);
#endif
  // Each later extension implies the ones before it.
  EXPECT_TRUE(!features.avx2 || features.sse41);
  EXPECT_TRUE(!features.sse41 || features.ssse3);
  EXPECT_TRUE(!features.ssse3 || features.sse2);
  EXPECT_EQ(&cpuFeatures(), &features);
}

}  // namespace
}  // namespace platform
