// The curve's numbers on curves whose answers are known in closed form.
#include "measure/curve_numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

// The curve of intensities I(theta), theta in whole degrees. Where a row
// expects exact answers its intensities are squares of small integers, whose
// roots the float samples hold exactly.
Curve FromIntensity(const std::function<double(int)>& intensity) {
  Curve curve{};
  for (int i = 0; i < kCurveSampleCount; ++i) {
    curve[static_cast<size_t>(i)] = static_cast<float>(std::sqrt(intensity(i)));
  }
  return curve;
}

struct NumbersCase {
  const char* name;
  std::function<double(int)> intensity;
  double peakCd;
  int peakAngle;
  double fluxLm;
  double fluxTolerance;  // relative
  std::optional<double> beam, field;
  double angleTolerance;  // degrees
};

class CurveNumbersTest : public testing::TestWithParam<NumbersCase> {};

TEST_P(CurveNumbersTest, MatchesClosedForm) {
  const NumbersCase& c = GetParam();
  const CurveNumbers n = MeasureCurve(FromIntensity(c.intensity));
  EXPECT_NEAR(n.peakCd, c.peakCd, 1e-6 * c.peakCd);
  EXPECT_EQ(n.peakAngle, c.peakAngle);
  EXPECT_NEAR(n.fluxLm, c.fluxLm, c.fluxTolerance * c.fluxLm);
  ASSERT_EQ(n.beamAngle.has_value(), c.beam.has_value());
  ASSERT_EQ(n.fieldAngle.has_value(), c.field.has_value());
  if (c.beam) {
    EXPECT_NEAR(*n.beamAngle, *c.beam, c.angleTolerance);
  }
  if (c.field) {
    EXPECT_NEAR(*n.fieldAngle, *c.field, c.angleTolerance);
  }
}

double CosDeg(int i) { return std::cos(i * kPi / 180.0); }

double LinearFallFlux() {
  const double k = 180 / kPi, t = 100 / k;
  return 2 * kPi * (100 * (1 - std::cos(t)) - k * (std::sin(t) - t * std::cos(t)));
}

INSTANTIATE_TEST_SUITE_P(
    Curves, CurveNumbersTest,
    testing::Values(
        // The zones add up to the whole sphere: 4 pi I. It never falls: no angles.
        NumbersCase{"Constant", [](int) { return 256.0; }, 256.0, 0, 4 * kPi * 256.0, 1e-12,
                    std::nullopt, std::nullopt, 0},
        // I0 cos(theta) on the lower half: pi I0. Half at 60 degrees (a whole
        // degree, so exact up to the samples' rounding); a tenth at
        // acos(0.1) = 84.26 degrees, where the chord between 84 and 85 lies
        // within 0.001 degrees of the cosine.
        NumbersCase{"CosineLobe", [](int i) { return i <= 90 ? 1000.0 * CosDeg(i) : 0.0; },
                    1000.0, 0, kPi * 1000.0, 1e-4, 120.0,
                    2 * std::acos(0.1) * 180 / kPi, 2e-3},
        // Linear in the angle, so the interpolation is exact: half at 50, a
        // tenth at 90 degrees. Flux: 2 pi times the integral of
        // (100 - k t) sin t up to T = 100 degrees, k = 180 / pi.
        NumbersCase{"LinearFall", [](int i) { return i <= 100 ? 100.0 - i : 0.0; }, 100.0, 0,
                    LinearFallFlux(), 1e-4, 100.0, 180.0, 1e-4},
        // A plateau from the axis, then dark: I0 is still the largest, so the
        // angles exist, found on the chord from 20 to 21 degrees.
        NumbersCase{"PlateauFromAxis", [](int i) { return i <= 20 ? 49.0 : 0.0; }, 49.0, 0,
                    49.0 * 2 * kPi * (1 - std::cos(20.5 * kPi / 180)), 1e-12, 41.0, 41.8,
                    1e-9},
        // The peak off the axis (twice, at 30 and 150 degrees: the first
        // counts): no beam, no field.
        NumbersCase{"PeakOffAxis",
                    [](int i) { return i == 30 || i == 150 ? 900.0 : 100.0; }, 900.0, 30,
                    4 * kPi * 100 + 800 * (ZoneWeight(30) + ZoneWeight(150)), 1e-12,
                    std::nullopt, std::nullopt, 0},
        // Dark on the axis: nothing to take a share of.
        NumbersCase{"DarkAxis", [](int i) { return i == 0 ? 0.0 : 1.0; }, 1.0, 1,
                    4 * kPi - ZoneWeight(0), 1e-12, std::nullopt, std::nullopt, 0}),
    [](const testing::TestParamInfo<NumbersCase>& row) { return row.param.name; });

TEST(CurveNumbers, AllZeroCurveHasNoFluxAndNoAngles) {
  const CurveNumbers n = MeasureCurve(Curve{});
  EXPECT_EQ(n.peakCd, 0.0);
  EXPECT_EQ(n.peakAngle, 0);
  EXPECT_EQ(n.fluxLm, 0.0);
  EXPECT_FALSE(n.beamAngle || n.fieldAngle);
}

}  // namespace
