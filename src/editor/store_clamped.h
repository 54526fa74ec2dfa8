#pragma once
// Storing a double into a float field within the field's bounds.

// The comparisons are made in double so a value beyond the float range is
// clamped instead of converted; NaN becomes `low`.
inline float StoreClamped(double value, float low, float high) {
  if (!(value >= low)) return low;
  if (value > high) return high;
  return static_cast<float>(value);
}
