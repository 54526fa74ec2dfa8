#include "files/editor_curve.h"

#include <cfloat>
#include <cmath>
#include <optional>
#include <string>

// A bracket index k, carried from one degree to the next, moves forward while
// the degree lies beyond angle[k + 1]; the value is the straight line through
// (angle[k], value[k]) and (angle[k + 1], value[k + 1]) at the degree, in
// double precision from the stored floats, then stored as a float.
//
// Kept for compatibility: the list is searched as if a closing entry with
// angle 0 and value 0 followed the last vertical angle, as the first reader
// read the horizontal angle 0 there. Every degree beyond the last listed
// angle therefore gets 0, and so does degree 0 in a list of only negative
// angles. Below the first angle the value is 0 too: an uplight listed from
// 90 degrees gives no light downward.
//
// Two equal neighbouring angles give value[k] rather than a division by zero.
// A negative value (negative candela) stores 0, a value beyond the float
// range the largest float, so every value is finite and not negative.
DegreeIntensities ResamplePlane(const Photometry& table, std::size_t h) {
  DegreeIntensities intensity{};
  const std::size_t count = table.verticalAngles.size();
  if (h >= table.planeCount() || table.candela.size() / (h + 1) < count) return intensity;
  const float* values = table.plane(h);
  const std::size_t n = count + 1;  // with the closing entry
  const auto angle = [&](std::size_t i) { return i < count ? table.verticalAngles[i] : 0.0f; };
  const auto value = [&](std::size_t i) { return i < count ? values[i] : 0.0f; };

  std::size_t k = 0;
  for (int d = 0; d < kCurveSampleCount; ++d) {
    const float degree = static_cast<float>(d);
    while (k + 1 < n && degree > angle(k + 1)) ++k;
    double resampled = 0.0;
    if (k + 1 < n && !(degree < angle(0))) {
      const double a0 = angle(k), a1 = angle(k + 1);
      const double v0 = value(k), v1 = value(k + 1);
      // At a listed angle the listed value itself: the line through two very
      // different values would miss the upper one by more than its rounding.
      if (a1 == a0 || d == a0) {
        resampled = v0;
      } else if (d == a1) {
        resampled = v1;
      } else {
        resampled = v0 + (v1 - v0) * (d - a0) / (a1 - a0);
      }
    }
    if (!(resampled > 0.0)) resampled = 0.0;
    if (resampled > static_cast<double>(FLT_MAX)) resampled = static_cast<double>(FLT_MAX);
    intensity[static_cast<std::size_t>(d)] = static_cast<float>(resampled);
  }
  return intensity;
}

Curve CurveOfIntensities(const DegreeIntensities& intensity) {
  Curve curve{};
  for (std::size_t d = 0; d < curve.size(); ++d) {
    curve[d] = static_cast<float>(std::sqrt(static_cast<double>(intensity[d])));
  }
  return curve;
}

Curve EditorCurve(const Photometry& table) {
  if (table.planeCount() == 0) return Curve{};
  return CurveOfIntensities(ResamplePlane(table, 0));
}

Lamp LampOfTable(const Photometry& table) {
  std::string error;
  const std::optional<Symmetry> symmetry = SymmetryOf(table.horizontalAngles, error);
  const std::size_t planes = table.planeCount();
  if (!symmetry || planes < 2 || table.candela.size() != planes * table.verticalAngles.size()) {
    return Lamp::OfCurve(EditorCurve(table));
  }
  Lamp lamp;
  lamp.symmetry = *symmetry;
  lamp.planeAngles = table.horizontalAngles;
  lamp.planes.resize(planes);
  for (std::size_t h = 0; h < planes; ++h) {
    lamp.planes[h] = CurveOfIntensities(ResamplePlane(table, h));
  }
  return lamp;
}
