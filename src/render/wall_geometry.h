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

#include "editor/curve.h"
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

// The illuminance in lux at wall point (x, y) of a lamp `distance` from the
// wall: E = v^2 D / R^3, v interpolated as the picture does, all in double
// precision (R too) and without the picture's cap.
double WallIlluminance(const Curve& curve, double x, double y, double distance);
