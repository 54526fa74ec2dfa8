#pragma once
// The wall picture's geometry, shared by the picture (wall_view.cpp) and the
// status bar's readout of the point under the pointer.
//
// The wall has coordinates x (right) and y (up) in wall units; the lamp hangs
// at distance D in front of the point (0, 0), its 0 degrees pointing down
// (toward -y). Pixel (i, r) of the right half is column i of the half and
// scan line r counted from the bottom (screen row H - 1 - r); the view is
// centred on the point opposite the lamp, 0.2 / wallScale wall units a pixel.

#include <cmath>
#include <numbers>

#include "editor/curve.h"
#include "editor/lamp.h"
#include "render/hold_single.h"

inline constexpr float kWallRadToDeg = 57.295776f;
inline constexpr float kWallTenth = 0.1f;

// x of column i: (2 i - halfWidth) / wallScale * 0.1.
inline double WallX(int column, int halfWidth, double wallScale) {
  return (2.0 * column - halfWidth) / wallScale * double{kWallTenth};
}

// y of scan line r: (2 r - H) / wallScale * 0.1, held in single precision.
inline double WallY(int scanLine, int height, double wallScale) {
  return HoldSingle((2.0 * scanLine - height) / wallScale * double{kWallTenth});
}

// The vertical angle in degrees from the lamp to a wall point, given
// q = sqrt(x^2 + D^2) and -y: 0 straight down, 90 level, 180 straight up.
inline double WallAngle(double q, double minusY) {
  return std::atan2(q, minusY) * kWallRadToDeg;
}

// trunc(angle), kept within 0..180 (NaN gives 0).
inline int WallDegreeIndex(double angle) {
  if (!(angle >= 0)) return 0;
  if (angle >= 180) return 180;
  return static_cast<int>(angle);
}

// The root intensity at `angle`, linear between the samples of degree j
// (`here`) and j + 1 (`next`; at j = 180, the same sample again).
inline double WallInterpolate(double here, double next, double angle, int j) {
  return here + (next - here) * (angle - j);
}

// The root intensity of `curve` at `angle`, as WallInterpolate takes it.
inline double WallRootAt(const Curve& curve, double angle) {
  const int j = WallDegreeIndex(angle);
  const int next = j < kCurveSampleCount - 1 ? j + 1 : j;
  return WallInterpolate(curve[static_cast<size_t>(j)], curve[static_cast<size_t>(next)], angle, j);
}

// ---- the whole lamp ------------------------------------------------------------
//
// The plane at the section's C-angle faces the wall: it reaches the point
// opposite the lamp (x = 0). The C-angle toward a wall point depends on x
// only, and grows counterclockwise seen from above, as photometric files
// number their planes: toward the left of the picture, which shows the wall
// as seen from the lamp.
inline double WallPlaneAngle(double sectionC, double x, double distance) {
  return sectionC - std::atan2(x, distance) * (180.0 / std::numbers::pi);
}

// The planes toward C-angle c and the weight of the upper one (BracketOf),
// with t = 0 where the two planes are equal: between equal planes the light
// is that one plane's, to the last bit.
PlaneBracket WallBracket(const Lamp& lamp, double c);

// The intensity between two planes whose root intensities at the angle are
// `lower` and `upper`: linear in candela, (1 - t) lower^2 + t upper^2.
inline double WallBlend(double lower, double upper, double t) {
  return t == 0 ? lower * lower : (1 - t) * lower * lower + t * upper * upper;
}

// The illuminance in lux at wall point (x, y) of a lamp `distance` from the
// wall: E = v^2 D / R^3, v interpolated as the picture does, all in double
// precision (R too) and without the picture's cap.
double WallIlluminance(const Curve& curve, double x, double y, double distance);

// The same for a whole lamp seen at section `sectionC`: E = I D / R^3, I
// blended (WallBlend) between the planes of WallBracket. A lamp whose planes
// are all equal gives the number of its one curve.
double WallIlluminance(const Lamp& lamp, double sectionC, double x, double y, double distance);
