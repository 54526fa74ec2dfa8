// Extremes: every field and sample stays finite, the scales and the distance
// positive, whatever the user does.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "editor/distribution_editor.h"

namespace {

void ExpectSane(const DistributionEditor& e) {
  EXPECT_TRUE(std::isfinite(e.centerX));
  EXPECT_TRUE(std::isfinite(e.centerY));
  for (float v : {e.polarScale, e.wallScale, e.wallDistance}) {
    EXPECT_TRUE(std::isfinite(v));
    EXPECT_GT(v, 0.0f);
  }
  for (float sample : e.curve) {
    EXPECT_TRUE(std::isfinite(sample));
    EXPECT_GE(sample, 0.0f);
  }
  EXPECT_GE(e.clientWidth, 1);
  EXPECT_GE(e.clientHeight, 1);
}

// Notches one at a time; returns whether the last one still changed `field`.
bool Notches(DistributionEditor& e, int count, int amount, bool control, const float& field) {
  float before = field;
  for (int i = 0; i < count; ++i) {
    before = field;
    e.OnWheel(amount, control);
  }
  return field != before;
}

struct Pointer {
  int x, y;
  bool control;
};

class WheelBounds : public testing::TestWithParam<Pointer> {
 protected:
  static const float& Field(const DistributionEditor& e, const Pointer& p) {
    if (p.x < 400) return e.polarScale;
    return p.control ? e.wallDistance : e.wallScale;
  }
};

TEST_P(WheelBounds, OneHundredFiftyNotchesStillChangeTheValue) {
  const Pointer p = GetParam();
  for (int amount : {120, -120}) {
    DistributionEditor e;
    e.OnPointerMove(p.x, p.y);
    EXPECT_TRUE(Notches(e, 150, amount, p.control, Field(e, p))) << amount;
    ExpectSane(e);
  }
}

TEST_P(WheelBounds, AThousandNotchesEachWayStopAtABoundAndComeBack) {
  const Pointer p = GetParam();
  for (int amount : {120, -120}) {
    DistributionEditor e;
    e.OnPointerMove(p.x, p.y);
    EXPECT_FALSE(Notches(e, 1000, amount, p.control, Field(e, p))) << "a notch at the bound";
    ExpectSane(e);
    EXPECT_TRUE(Notches(e, 1, -amount, p.control, Field(e, p))) << "back from the bound";
    Notches(e, 1000, -amount, p.control, Field(e, p));
    ExpectSane(e);
  }
}

TEST_P(WheelBounds, ExtremeAmountsInOneEvent) {
  const Pointer p = GetParam();
  for (int amount : {INT_MAX, INT_MIN, 32767, -32768}) {
    DistributionEditor e;
    e.OnPointerMove(p.x, p.y);
    e.OnWheel(amount, p.control);
    ExpectSane(e);
  }
}

INSTANTIATE_TEST_SUITE_P(Halves, WheelBounds,
                         testing::Values(Pointer{300, 250, false}, Pointer{600, 200, false},
                                         Pointer{600, 200, true}));

TEST(Extremes, StrokeFarFromTheOriginAtTheSmallestScaleStoresAFiniteSample) {
  DistributionEditor e;
  e.OnPointerMove(-32768, -32768);
  for (int i = 0; i < 1000; ++i) e.OnWheel(-120, false);  // zoom out to the bound
  EXPECT_EQ(e.polarScale, DistributionEditor::kMinScale);
  e.OnLeftButton(true);
  const int corners[][2] = {{32767, -32768}, {-32768, 32767}, {INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}};
  for (const auto& p : corners) e.OnPointerMove(p[0], p[1]);
  ExpectSane(e);
  EXPECT_GT(e.curve[180] + e.curve[90] + e.curve[135], 0.0f);
}

TEST(Extremes, PansCarryTheOriginMillionsOfPixelsAwayAndBack) {
  DistributionEditor e;
  e.OnPointerMove(0, 0);
  for (int i = 0; i < 100; ++i) {  // drag right, then come back without panning
    e.panning = 1;
    e.OnPointerMove(32767, -32768);
    e.panning = 0;
    e.OnPointerMove(0, 0);
  }
  e.panning = 1;
  EXPECT_GT(e.centerX, 3e6f);
  e.OnLeftButton(true);
  e.OnPointerMove(-32768, 32767);
  ExpectSane(e);
  for (int i = 0; i < 100000; ++i) {
    e.OnPointerMove(i % 2 ? INT_MAX : INT_MIN, i % 2 ? INT_MIN : INT_MAX);
  }
  ExpectSane(e);
  EXPECT_LE(std::fabs(e.centerX), DistributionEditor::kMaxOriginOffset);
}

TEST(Extremes, ZoomFarFromThePointerKeepsTheOriginFinite) {
  DistributionEditor e;
  e.OnPointerMove(-32768, 32767);
  for (int i = 0; i < 2000; ++i) e.OnWheel(120, false);
  ExpectSane(e);
  e.OnPointerMove(32767, -32768);
  for (int i = 0; i < 4000; ++i) e.OnWheel(-120, false);
  ExpectSane(e);
}

TEST(Extremes, ResizesFromNothingToTheLargestWindow) {
  DistributionEditor e;
  for (int i = 0; i < 200; ++i) {
    e.OnResize(0, 0);
    e.OnResize(32767, 32767);
    e.OnResize(INT_MAX, INT_MIN);
  }
  ExpectSane(e);
  EXPECT_LE(e.clientWidth, DistributionEditor::kMaxClientSide);
  e.OnResize(1 << 30, 1 << 30);
  EXPECT_EQ(e.clientWidth, DistributionEditor::kMaxClientSide);
  ExpectSane(e);
}

TEST(Extremes, PressBeforeAnyMoveActsAtTheTopLeftCorner) {
  DistributionEditor e;
  e.OnLeftButton(true);
  EXPECT_NEAR(e.curve[135], std::sqrt(2.0) * 2.0, 1e-5);
}

}  // namespace
