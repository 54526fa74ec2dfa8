#include "measure/curve_numbers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int kCount = kCurveSampleCount;

// GCC evaluates std::cos at compile time correctly rounded, so the Linux and
// the Windows program weigh the zones with the same bits; their run-time cos
// differ in the last place for a few of these angles, and with them the
// flux's last digits. Other compilers compute the table once at start-up.
#if defined(__GNUC__) && !defined(__clang__)
#define LUMISTRA_GCC_CONSTEXPR constexpr
#else
#define LUMISTRA_GCC_CONSTEXPR
#endif

LUMISTRA_GCC_CONSTEXPR double CosDegrees(double degrees) {
  return std::cos(degrees * std::numbers::pi / 180.0);
}

LUMISTRA_GCC_CONSTEXPR std::array<double, kCount> MakeZoneWeights() {
  std::array<double, kCount> weights{};
  for (int i = 0; i < kCount; ++i) {
    const double from = std::max(0.0, i - 0.5);
    const double to = std::min(180.0, i + 0.5);
    weights[static_cast<size_t>(i)] = 2.0 * std::numbers::pi * (CosDegrees(from) - CosDegrees(to));
  }
  return weights;
}

LUMISTRA_GCC_CONSTEXPR const std::array<double, kCount> kZoneWeights = MakeZoneWeights();

// The full angle at which the intensity falls to `share` of I_0, or nothing.
// I_0 is above 0 and no intensity is above it.
std::optional<double> FallAngle(const std::array<double, kCount>& intensity, double share) {
  const double t = share * intensity[0];
  for (int j = 0; j + 1 < kCount; ++j) {
    const double here = intensity[static_cast<size_t>(j)];
    const double next = intensity[static_cast<size_t>(j + 1)];
    if (here > t && t >= next) return 2.0 * (j + (here - t) / (here - next));
  }
  return std::nullopt;
}

}  // namespace

double ZoneWeight(int i) { return kZoneWeights.at(static_cast<size_t>(i)); }

CurveNumbers MeasureCurve(const Curve& curve) {
  std::array<double, kCount> intensity{};
  CurveNumbers numbers;
  for (int i = 0; i < kCount; ++i) {
    const double root = curve[static_cast<size_t>(i)];
    const double value = root * root;
    intensity[static_cast<size_t>(i)] = value;
    numbers.fluxLm += value * kZoneWeights[static_cast<size_t>(i)];
    if (value > numbers.peakCd) {
      numbers.peakCd = value;
      numbers.peakAngle = i;
    }
  }
  // I_0 is the largest exactly when no later intensity beats it.
  if (intensity[0] > 0.0 && numbers.peakCd == intensity[0]) {
    numbers.beamAngle = FallAngle(intensity, 0.5);
    numbers.fieldAngle = FallAngle(intensity, 0.1);
  }
  return numbers;
}
