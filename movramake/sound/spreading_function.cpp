#include "spreading_function.h"

namespace movra {

namespace {

constexpr std::array<float, kSpreadingHighestDistance - kSpreadingLowestDistance + 1> kSpreading = {
    0.0000038f, 0.0010497f, 0.13477f,   1.0f,       0.07875f,   0.0146941f,
    0.0052495f, 0.0005273f, 0.0000507f, 0.0000048f, 0.0000004f,
};

}  // namespace

float spreading(int distance) {
  if (distance < kSpreadingLowestDistance || distance > kSpreadingHighestDistance) return 0.0f;
  return kSpreading[static_cast<unsigned>(distance - kSpreadingLowestDistance)];
}

}  // namespace movra
