// The seed of a randomised test: fresh for every run and printed, or taken
// from ZET_TEST_SEED to repeat a failure.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>

namespace zet::testing {

inline std::uint32_t testSeed() {
  std::uint32_t seed;
  if (const char* fixed = std::getenv("ZET_TEST_SEED")) {
    seed = static_cast<std::uint32_t>(std::stoul(fixed));
  } else {
    seed = std::random_device{}();
  }
  std::cout << "[ seed     ] ZET_TEST_SEED=" << seed << "\n";
  ::testing::Test::RecordProperty("seed", std::to_string(seed));
  return seed;
}

}  // namespace zet::testing
