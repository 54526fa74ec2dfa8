#pragma once
// Rounding a double to single precision where a value is "held in single
// precision". A value beyond the float range becomes an infinity (a plain
// conversion would be undefined behaviour); NaN stays NaN.

#include <limits>

inline float HoldSingle(double v) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (v > kMax) return std::numeric_limits<float>::infinity();
  if (v < -kMax) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(v);
}
