// Lamps made and reshaped by their numbers, measured as `info` measures the
// file Save writes: the beam within 0.1 degree, the flux within 0.1 %.
#include "measure/lamp_shaping.h"

#include <gtest/gtest.h>

#include <functional>

#include "files/ies_format.h"
#include "measure/lamp_numbers.h"

namespace {

// A spot of five listed angles, read as Open reads it: peak 7400 cd.
Lamp Spot() {
  return Lamp::OfCurve(ReadIesText(
      "TILT=NONE\n1 -1 1 5 1 1 1 0 0 0\n1 1 0\n0 10 15 20 90\n0\n7400 5000 3700 1000 0\n").curve);
}

struct ShapeRow {
  const char* name;
  std::function<LampResult()> make;
  double beam, lumens, peak;  // as measured on the written file; 0: not checked
};

class LampShapingTest : public testing::TestWithParam<ShapeRow> {};

TEST_P(LampShapingTest, WrittenFileMeasuresAsAsked) {
  const LampResult made = GetParam().make();
  ASSERT_TRUE(made.lamp) << made.error;
  const LampMeasurement m = MeasureLamp(ReadIesText(WriteIesText(made.lamp->planes[0].data())).photometry);
  ASSERT_TRUE(m.numbers && m.numbers->beamAngle);
  EXPECT_NEAR(*m.numbers->beamAngle, GetParam().beam, kBeamTolerance);
  const ShapeRow& r = GetParam();
  if (r.lumens > 0) {
    EXPECT_NEAR(m.numbers->fluxLm, r.lumens, 1e-3 * r.lumens);
  }
  if (r.peak > 0) {
    EXPECT_NEAR(m.numbers->peakCd, r.peak, 2e-3 * r.peak);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lamps, LampShapingTest,
    testing::Values(
        // New spots from the narrowest to the widest beam.
        ShapeRow{"New2", [] { return NewSpotLamp(2, 1000); }, 2, 1000, 0},
        ShapeRow{"New10", [] { return NewSpotLamp(10, 1000); }, 10, 1000, 0},
        ShapeRow{"New30", [] { return NewSpotLamp(30, 250); }, 30, 250, 0},
        ShapeRow{"New60", [] { return NewSpotLamp(60, 1000); }, 60, 1000, 0},
        ShapeRow{"New100", [] { return NewSpotLamp(100, 12000); }, 100, 12000, 0},
        ShapeRow{"New170", [] { return NewSpotLamp(170, 1000); }, 170, 1000, 0},
        // Stretched and squeezed, the peak kept; then scaled.
        ShapeRow{"Squeezed", [] { return WithBeamAngle(Spot(), 10); }, 10, 0, 7400},
        ShapeRow{"Stretched", [] { return WithBeamAngle(Spot(), 90); }, 90, 0, 7400},
        ShapeRow{"StretchedThenScaled", [] { return ShapedLamp(Spot(), {40, 2000, {}}); }, 40, 2000, 0}),
    [](const testing::TestParamInfo<ShapeRow>& row) { return std::string(row.param.name); });

// Every plane of a quadrant lamp by one factor: the planes keep their ratio.
TEST(LampScaling, MultiPlaneLampScalesEveryPlaneAlike) {
  Lamp lamp{Symmetry::kQuadrant, {0, 45, 90}, {Curve{}, Curve{}, Curve{}}};
  for (size_t k = 0; k < 3; ++k) lamp.planes[k].fill(static_cast<float>(k + 1));
  const LampResult flux = LampScaledToFlux(lamp, 5000);
  ASSERT_TRUE(flux.lamp) << flux.error;
  EXPECT_NEAR(MeasureLamp(*flux.lamp).fluxLm, 5000, 1e-3);
  EXPECT_FLOAT_EQ(flux.lamp->planes[2][90] / flux.lamp->planes[0][90], 3.0f);
  const LampResult peak = LampScaledToPeak(lamp, 100);
  ASSERT_TRUE(peak.lamp) << peak.error;
  EXPECT_FLOAT_EQ(MeasureLamp(*peak.lamp).peakCd, 100);
  // Refused: a peak that prints as 0, one beyond the float range, a lamp without light.
  EXPECT_EQ(LampScaledToPeak(lamp, 4e-7).error, "That would make the peak intensity 4e-07 cd, which a lamp file writes as 0.");
  EXPECT_FALSE(LampScaledToFlux(lamp, 1e40).lamp);
  EXPECT_EQ(LampScaledToFlux(Lamp{}, 1000).error, "The lamp gives no light, so it cannot be scaled.");
  // As bright everywhere as straight down: no beam to stretch.
  EXPECT_EQ(WithBeamAngle(lamp, 30).error,
            "This lamp has no beam angle: its intensity never falls to half of the intensity straight down.");
}

}  // namespace
