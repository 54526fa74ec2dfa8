// A new editor, resizing, reset and the halves.
#include <gtest/gtest.h>

#include "editor/distribution_editor.h"

namespace {

TEST(EditorDefaults, NewEditorHoldsTheNominalGeometry) {
  DistributionEditor e;
  for (float sample : e.curve) EXPECT_EQ(sample, 0.0f);
  EXPECT_EQ(e.curve.size(), 181u);
  EXPECT_EQ(e.centerX, 200.0f);
  EXPECT_EQ(e.centerY, 200.0f);
  EXPECT_EQ(e.clientWidth, 800);
  EXPECT_EQ(e.clientHeight, 400);
  EXPECT_EQ(e.polarScale, 100.0f);
  EXPECT_EQ(e.wallScale, 100.0f);
  EXPECT_EQ(e.wallDistance, 0.1f);
  EXPECT_EQ(e.panning + e.overWall + e.drawing, 0);
  EXPECT_EQ(e.lastX, 0);
  EXPECT_EQ(e.lastY, 0);
}

struct ResizeCase {
  const char* name;
  int width, height;
  int storedW, storedH;
  float centerX, centerY, scale;
};

class Resize : public testing::TestWithParam<ResizeCase> {};

TEST_P(Resize, MapsOriginAndScalesFromTheNominalSize) {
  const ResizeCase& c = GetParam();
  DistributionEditor e;
  e.OnResize(c.width, c.height);
  EXPECT_EQ(e.clientWidth, c.storedW);
  EXPECT_EQ(e.clientHeight, c.storedH);
  EXPECT_EQ(e.centerX, c.centerX);
  EXPECT_EQ(e.centerY, c.centerY);
  EXPECT_EQ(e.polarScale, c.scale);
  EXPECT_EQ(e.wallScale, c.scale);
  EXPECT_EQ(e.wallDistance, 0.1f);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, Resize,
    testing::Values(
        ResizeCase{"Half", 400, 200, 400, 200, 100.0f, 100.0f, 50.0f},
        ResizeCase{"Double", 1600, 800, 1600, 800, 400.0f, 400.0f, 200.0f},
        // Two single-precision roundings per scale, not one multiplication.
        ResizeCase{"OddSize", 784, 342, 784, 342, 196.0f, 171.0f, 91.53687f},
        // Minimised: 0 x 0 is stored as 1 x 1.
        ResizeCase{"Minimised", 0, 0, 1, 1, 0.25f, 0.5f, 0.17677669f},
        ResizeCase{"NegativeWidth", -5, 300, 1, 300, 0.25f, 150.0f, 3.0618622f}),
    [](const testing::TestParamInfo<ResizeCase>& row) { return row.param.name; });

TEST(ResizeRoundTrip, MinimiseAndRestoreGivesBackTheExactGeometry) {
  DistributionEditor e;
  e.OnResize(0, 0);
  e.OnResize(800, 400);
  EXPECT_EQ(e.polarScale, 100.0f);
  EXPECT_EQ(e.wallScale, 100.0f);
  EXPECT_EQ(e.centerX, 200.0f);
  EXPECT_EQ(e.centerY, 200.0f);
}

TEST(ResizeRoundTrip, SameSizeKeepsOriginAndScalesUpToRounding) {
  DistributionEditor e;
  e.OnResize(784, 342);
  const float scale = e.polarScale;
  const float cx = e.centerX, cy = e.centerY;
  e.OnResize(784, 342);
  EXPECT_EQ(e.centerX, cx);
  EXPECT_EQ(e.centerY, cy);
  EXPECT_FLOAT_EQ(e.polarScale, scale);
}

TEST(Reset, ClearsTheCurveAndKeepsEverythingElse) {
  DistributionEditor e;
  e.OnPointerMove(300, 200);
  e.OnLeftButton(true);
  e.OnPointerMove(250, 300);
  e.OnLeftButton(false);
  e.OnWheel(120, false);
  const float cx = e.centerX, scale = e.polarScale, distance = e.wallDistance;
  e.ResetCurve();
  for (float sample : e.curve) EXPECT_EQ(sample, 0.0f);
  EXPECT_EQ(e.centerX, cx);
  EXPECT_EQ(e.polarScale, scale);
  EXPECT_EQ(e.wallDistance, distance);
  EXPECT_EQ(e.lastX, 250);
}

TEST(Halves, OddWidthLeavesTheLastColumnToNeither) {
  DistributionEditor e;
  e.OnResize(785, 400);
  EXPECT_EQ(e.halfWidth(), 392);
}

}  // namespace
