// The steps of the 8x8 inverse transform shared by its plain and vector
// variants: the same formulas on a scalar or on a vector of lanes.
#pragma once

#include <cstdint>

namespace zet {

// Constants of the transform's rotations, scaled by 2048.
inline constexpr std::int32_t kTransformSqrtHalf = 2896;
inline constexpr std::int32_t kTransformC1 = 3784;
inline constexpr std::int32_t kTransformC2 = -5352;
inline constexpr std::int32_t kTransformC3 = 2217;

// Every variant must rely on the rounding of the second pass's outputs.
inline constexpr std::int32_t kTransformRounding = 127;
inline constexpr int kTransformOutputShift = 8;
inline constexpr int kTransformProductShift = 11;

// One 8-point pass over values s[0..7], given the arithmetic of the lane
// type: Ops::add, Ops::sub, and Ops::scale(constant, x) = (constant x x) >> 11,
// all wrapping at 32 bits.
template <typename Ops, typename Lane>
void inverseTransformPass(Lane (&s)[8]) {
  const Lane a0 = Ops::add(s[0], s[4]);
  const Lane a1 = Ops::sub(s[0], s[4]);
  const Lane a2 = Ops::add(s[2], s[6]);
  const Lane a3 = Ops::scale(kTransformSqrtHalf, Ops::sub(s[2], s[6]));
  const Lane a4 = Ops::add(s[5], s[3]);
  const Lane a5 = Ops::sub(s[5], s[3]);
  const Lane a6 = Ops::add(s[1], s[7]);
  const Lane a7 = Ops::sub(s[1], s[7]);
  const Lane b0 = Ops::add(a4, a6);
  const Lane b1 = Ops::scale(kTransformC1, Ops::add(a5, a7));
  const Lane b2 = Ops::add(Ops::sub(Ops::scale(kTransformC2, a5), b0), b1);
  const Lane b3 = Ops::sub(Ops::scale(kTransformSqrtHalf, Ops::sub(a6, a4)), b2);
  const Lane b4 = Ops::sub(Ops::add(Ops::scale(kTransformC3, a7), b3), b1);
  const Lane a0PlusA2 = Ops::add(a0, a2);
  const Lane a0MinusA2 = Ops::sub(a0, a2);
  const Lane a1PlusA3MinusA2 = Ops::sub(Ops::add(a1, a3), a2);
  const Lane a1MinusA3PlusA2 = Ops::add(Ops::sub(a1, a3), a2);
  s[0] = Ops::add(a0PlusA2, b0);
  s[1] = Ops::add(a1PlusA3MinusA2, b2);
  s[2] = Ops::add(a1MinusA3PlusA2, b3);
  s[3] = Ops::sub(a0MinusA2, b4);
  s[4] = Ops::add(a0MinusA2, b4);
  s[5] = Ops::sub(a1MinusA3PlusA2, b3);
  s[6] = Ops::sub(a1PlusA3MinusA2, b2);
  s[7] = Ops::sub(a0PlusA2, b0);
}

}  // namespace zet
