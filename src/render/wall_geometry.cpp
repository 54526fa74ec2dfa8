#include "render/wall_geometry.h"

#include <algorithm>

double WallIlluminance(const Curve& curve, double x, double y, double distance) {
  const double dSquared = distance * distance;
  const double angle = WallAngle(std::sqrt(x * x + dSquared), -y);
  const int j = WallDegreeIndex(angle);
  const int next = std::min(j + 1, kCurveSampleCount - 1);
  const double v =
      WallInterpolate(curve[static_cast<size_t>(j)], curve[static_cast<size_t>(next)], angle, j);
  const double r = std::sqrt(x * x + y * y + dSquared);
  return v * v * distance / (r * r * r);
}
