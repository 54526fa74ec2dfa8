// Wheel zoom of the diagram and of the wall, and the light's distance.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "editor/distribution_editor.h"

namespace {

// The value to as many significant digits as `expected` is written with:
// seven or eight, enough to tell neighbouring single-precision values apart.
std::string Printed(float value, const char* expected) {
  int digits = 0;
  bool leading = true;
  for (const char* c = expected; *c; ++c) {
    if (*c >= '1' && *c <= '9') leading = false;
    if (*c >= '0' && *c <= '9' && !leading) ++digits;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
  return text;
}

TEST(DiagramZoom, KeepsThePointUnderThePointer) {
  DistributionEditor in;
  in.OnPointerMove(300, 200);
  in.OnWheel(120, false);
  EXPECT_EQ(Printed(in.centerX, "172.87508"), "172.87508");
  EXPECT_EQ(in.centerY, 200.0f);
  EXPECT_EQ(Printed(in.polarScale, "127.12492"), "127.12492");

  DistributionEditor out;
  out.OnPointerMove(300, 200);
  out.OnWheel(-120, false);
  EXPECT_EQ(Printed(out.centerX, "221.33722"), "221.33722");
  EXPECT_EQ(Printed(out.polarScale, "78.66279"), "78.66279");
}

TEST(DiagramZoom, InAndOutGivesBackTheExactView) {
  DistributionEditor e;
  e.OnPointerMove(300, 200);
  e.OnWheel(120, false);
  e.OnWheel(-120, false);
  EXPECT_EQ(e.centerX, 200.0f);
  EXPECT_EQ(e.centerY, 200.0f);
  EXPECT_EQ(e.polarScale, 100.0f);
}

TEST(DiagramZoom, AboutTheOriginLeavesItInPlace) {
  DistributionEditor e;
  e.OnPointerMove(200, 200);
  e.OnWheel(120, false);
  EXPECT_EQ(e.centerX, 200.0f);
  EXPECT_EQ(e.centerY, 200.0f);
  EXPECT_EQ(Printed(e.polarScale, "127.12492"), "127.12492");
}

TEST(DiagramZoom, ControlKeyDoesNotMatterOverTheDiagram) {
  DistributionEditor e;
  e.OnPointerMove(300, 200);
  e.OnWheel(120, true);
  EXPECT_EQ(Printed(e.centerX, "172.87508"), "172.87508");
  EXPECT_EQ(Printed(e.polarScale, "127.12492"), "127.12492");
  EXPECT_EQ(e.wallDistance, 0.1f);
  EXPECT_EQ(e.wallScale, 100.0f);
}

TEST(WallZoom, ChangesOnlyTheWallScale) {
  DistributionEditor in;
  in.OnPointerMove(600, 200);
  in.OnWheel(120, false);
  EXPECT_EQ(Printed(in.wallScale, "127.12492"), "127.12492");
  EXPECT_EQ(in.polarScale, 100.0f);
  EXPECT_EQ(in.centerX, 200.0f);
  EXPECT_EQ(in.wallDistance, 0.1f);

  DistributionEditor out;
  out.OnPointerMove(600, 200);
  out.OnWheel(-120, false);
  EXPECT_EQ(Printed(out.wallScale, "78.66279"), "78.66279");
}

TEST(LightMove, LeftControlMovesTheLightAndNotTheZoom) {
  DistributionEditor closer;
  closer.OnPointerMove(600, 200);
  closer.OnWheel(120, true);
  EXPECT_EQ(Printed(closer.wallDistance, "0.07866278"), "0.07866278");
  EXPECT_EQ(closer.wallScale, 100.0f);

  DistributionEditor farther;
  farther.OnPointerMove(600, 200);
  farther.OnWheel(-120, true);
  EXPECT_EQ(Printed(farther.wallDistance, "0.12712492"), "0.12712492");
}

TEST(Wheel, ZeroAmountChangesNothing) {
  for (int x : {300, 600}) {
    for (bool control : {false, true}) {
      DistributionEditor e;
      e.OnPointerMove(x, 150);
      e.OnWheel(0, control);
      EXPECT_EQ(e.centerX, 200.0f);
      EXPECT_EQ(e.centerY, 200.0f);
      EXPECT_EQ(e.polarScale, 100.0f);
      EXPECT_EQ(e.wallScale, 100.0f);
      EXPECT_EQ(e.wallDistance, 0.1f);
    }
  }
}

}  // namespace
