// Strokes, the sweep between pointer positions, hover and panning, with the
// origin at (200, 200) and polarScale 100 unless a test says otherwise.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "editor/distribution_editor.h"

namespace {

constexpr double kFourDecimals = 0.00005;

// Starts a stroke at (x0, y0) and moves to (x1, y1); returns the curve after
// the move with the press sample cleared, so only the move's writes remain.
std::array<float, 181> StrokeSegment(int x0, int y0, int x1, int y1) {
  DistributionEditor e;
  e.OnPointerMove(x0, y0);
  e.OnLeftButton(true);
  e.ResetCurve();
  e.OnPointerMove(x1, y1);
  return e.curve;
}

void ExpectOnlyChanged(const std::array<float, 181>& curve, const std::vector<int>& indices) {
  for (int i = 0; i < 181; ++i) {
    const bool expected = std::find(indices.begin(), indices.end(), i) != indices.end();
    if (!expected) {
      EXPECT_EQ(curve[i], 0.0f) << "sample " << i;
    }
  }
}

TEST(LeftPress, SetsTheSampleUnderThePointerAndStartsAStroke) {
  DistributionEditor e;
  e.OnPointerMove(200, 250);
  e.OnLeftButton(true);
  EXPECT_EQ(e.drawing, 1);
  EXPECT_FLOAT_EQ(e.curve[0], 0.5f);
}

struct PressCase {
  int x, y, index;
  float value;
};

TEST(LeftPress, AngleIndexAndRadiusOfThePressPoint) {
  const PressCase cases[] = {
      {300, 200, 90, 1.0f},   // right of the origin
      {100, 200, 90, 1.0f},   // its mirror
      {200, 100, 180, 1.0f},  // straight up
      {200, 200, 0, 0.0f},    // the origin itself
  };
  for (const PressCase& c : cases) {
    DistributionEditor e;
    e.curve.fill(-1.0f);
    e.OnPointerMove(c.x, c.y);
    e.OnLeftButton(true);
    EXPECT_EQ(e.curve[c.index], c.value) << c.x << "," << c.y;
  }
}

TEST(LeftPress, AngleIndexRoundsHalfUp) {
  // Points far out on the left-hand side at the given angle from straight down.
  const struct {
    double degrees;
    int index;
  } cases[] = {{44.49, 44}, {44.51, 45}, {0.49, 0}, {179.51, 180}};
  for (const auto& c : cases) {
    const double a = c.degrees * M_PI / 180.0;
    DistributionEditor e;
    e.curve.fill(-1.0f);
    e.OnPointerMove(200 - static_cast<int>(std::lround(100000 * std::sin(a))),
                    200 + static_cast<int>(std::lround(100000 * std::cos(a))));
    e.OnLeftButton(true);
    EXPECT_GE(e.curve[c.index], 0.0f) << c.degrees;
  }
}

TEST(Sweep, HorizontalStrokeBelowTheOrigin) {
  const auto curve = StrokeSegment(190, 300, 210, 300);
  EXPECT_NEAR(curve[6], 1.0050, kFourDecimals);  // the end point's own sample
  const double swept[] = {1.0000, 1.0002, 1.0006, 1.0014, 1.0024, 1.0038};
  for (int i = 0; i <= 5; ++i) EXPECT_NEAR(curve[i], swept[i], kFourDecimals) << i;
  ExpectOnlyChanged(curve, {0, 1, 2, 3, 4, 5, 6});
}

TEST(Sweep, HorizontalStrokeAboveTheOriginIgnoresRaysBehindIt) {
  const auto curve = StrokeSegment(190, 100, 210, 100);
  EXPECT_NEAR(curve[174], 1.0050, kFourDecimals);
  const double swept[] = {1.0038, 1.0024, 1.0014, 1.0006, 1.0002, 1.0000};
  for (int i = 175; i <= 180; ++i) EXPECT_NEAR(curve[i], swept[i - 175], kFourDecimals) << i;
  ExpectOnlyChanged(curve, {174, 175, 176, 177, 178, 179, 180});
}

TEST(Sweep, LeftHandRayWinsAcrossTheAxisInBothDirections) {
  for (const auto& curve :
       {StrokeSegment(180, 280, 220, 320), StrokeSegment(220, 320, 180, 280)}) {
    EXPECT_NEAR(curve[5], 0.9231, kFourDecimals);
    EXPECT_NEAR(curve[9], 0.8740, kFourDecimals);
    EXPECT_NEAR(curve[10], 0.8632, kFourDecimals);
    EXPECT_NEAR(curve[14], 0.8249, kFourDecimals);
    for (int i = 0; i <= 14; ++i) EXPECT_GT(curve[i], 0.0f) << i;
  }
}

TEST(Sweep, FastMoveFillsEveryDegreeAndKeepsTheUnreachedEndPoint) {
  DistributionEditor e;
  e.OnPointerMove(217, 298);
  e.OnLeftButton(true);
  e.OnPointerMove(353, 329);
  EXPECT_NEAR(e.curve[10], 0.9958, kFourDecimals);
  EXPECT_NEAR(e.curve[49], 1.9446, kFourDecimals);
  EXPECT_NEAR(e.curve[50], 2.0012, kFourDecimals);
  for (int i = 11; i < 49; ++i) {
    EXPECT_GT(e.curve[i], e.curve[i - 1]) << i;  // rising along the segment
  }
}

TEST(Sweep, MoveAlongARayWritesOnlyTheEndPoint) {
  const auto curve = StrokeSegment(200, 250, 200, 260);
  EXPECT_FLOAT_EQ(curve[0], 0.6f);
  ExpectOnlyChanged(curve, {0});
}

TEST(Sweep, RepeatedPositionChangesNothing) {
  DistributionEditor e;
  e.OnPointerMove(300, 250);
  e.OnLeftButton(true);
  const auto before = e.curve;
  e.OnPointerMove(300, 250);
  EXPECT_EQ(e.curve, before);
}

TEST(Hover, FollowsThePointerAtTheHalfBoundary) {
  for (int width : {800, 801}) {
    DistributionEditor e;
    e.OnResize(width, 400);
    e.OnPointerMove(400, 10);
    EXPECT_EQ(e.overWall, 1) << width;
    e.OnPointerMove(399, 10);
    EXPECT_EQ(e.overWall, 0) << width;
  }
}

TEST(Hover, PressOverTheWallDrawsNothing) {
  DistributionEditor e;
  e.OnPointerMove(600, 200);
  e.OnLeftButton(true);
  EXPECT_EQ(e.drawing, 0);
  e.OnPointerMove(300, 200);
  e.OnPointerMove(250, 250);
  for (float sample : e.curve) EXPECT_EQ(sample, 0.0f);
}

TEST(Hover, FrozenDuringAStrokeAndRefreshedAfterTheRelease) {
  DistributionEditor e;
  e.OnPointerMove(300, 200);
  e.OnLeftButton(true);
  EXPECT_FLOAT_EQ(e.curve[90], 1.0f);
  e.OnPointerMove(500, 200);  // into the right half: still drawing
  EXPECT_FLOAT_EQ(e.curve[90], 3.0f);
  EXPECT_EQ(e.overWall, 0);
  e.OnLeftButton(false);
  EXPECT_EQ(e.drawing, 0);
  EXPECT_EQ(e.overWall, 0);
  e.OnPointerMove(501, 200);
  EXPECT_EQ(e.overWall, 1);
}

TEST(Pan, ShiftsTheOriginByThePointersDisplacement) {
  DistributionEditor e;
  e.OnPointerMove(100, 100);
  e.panning = 1;
  e.OnPointerMove(110, 95);
  EXPECT_EQ(e.centerX, 210.0f);
  EXPECT_EQ(e.centerY, 195.0f);
}

TEST(Pan, GoesOnOverTheWallAndUpdatesHover) {
  DistributionEditor e;
  e.OnPointerMove(390, 200);
  e.panning = 1;
  e.OnPointerMove(420, 200);
  EXPECT_EQ(e.overWall, 1);
  EXPECT_EQ(e.centerX, 230.0f);
}

TEST(Pan, StrokeSegmentIsMeasuredBeforeTheShift) {
  DistributionEditor e;
  e.OnPointerMove(300, 200);
  e.OnLeftButton(true);
  e.panning = 1;
  e.OnPointerMove(300, 300);  // end point (100, 100) from the unshifted origin
  EXPECT_NEAR(e.curve[45], std::sqrt(2.0), kFourDecimals);
  EXPECT_EQ(e.centerY, 300.0f);
}

}  // namespace
