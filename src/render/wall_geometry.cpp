#include "render/wall_geometry.h"

namespace {

double IlluminanceOf(double intensity, double x, double y, double distance) {
  const double r = std::sqrt(x * x + y * y + distance * distance);
  return intensity * distance / (r * r * r);
}

double AngleToward(double x, double y, double distance) {
  return WallAngle(std::sqrt(x * x + distance * distance), -y);
}

}  // namespace

double WallIlluminance(const Curve& curve, double x, double y, double distance) {
  const double v = WallRootAt(curve, AngleToward(x, y, distance));
  return IlluminanceOf(v * v, x, y, distance);
}

PlaneBracket WallBracket(const Lamp& lamp, double c) {
  if (lamp.planes.empty()) return {};
  const PlaneBracket bracket = BracketOf(lamp, c);
  if (bracket.t == 0 || lamp.planes[bracket.lower] == lamp.planes[bracket.upper]) {
    return {bracket.lower, bracket.lower, 0.0};
  }
  return bracket;
}

double WallIlluminance(const Lamp& lamp, double sectionC, double x, double y, double distance) {
  if (lamp.planes.empty()) return 0.0;
  const PlaneBracket bracket = WallBracket(lamp, WallPlaneAngle(sectionC, x, distance));
  const Curve& lower = lamp.planes[bracket.lower];
  if (bracket.t == 0) return WallIlluminance(lower, x, y, distance);
  const double angle = AngleToward(x, y, distance);
  const Curve& upper = lamp.planes[bracket.upper];
  const double intensity = WallBlend(WallRootAt(lower, angle), WallRootAt(upper, angle), bracket.t);
  return IlluminanceOf(intensity, x, y, distance);
}
