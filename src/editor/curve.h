#pragma once
// The curve being edited: one sample per whole vertical degree 0..180, each
// the square root of the intensity in candela at that degree. Whoever shows
// or writes an intensity squares its sample; a reader stores square roots.

#include <array>

inline constexpr int kCurveSampleCount = 181;

using Curve = std::array<float, kCurveSampleCount>;
