// How much of one band's energy masks its neighbours: the spreading weight
// for a band distance d = receiving band - sending band.
#pragma once

#include <array>

namespace movra {

inline constexpr int kSpreadingLowestDistance = -3;
inline constexpr int kSpreadingHighestDistance = 7;

// 0 outside kSpreadingLowestDistance .. kSpreadingHighestDistance.
float spreading(int distance);

}  // namespace movra
