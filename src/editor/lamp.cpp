#include "editor/lamp.h"

#include <algorithm>
#include <charconv>
#include <cmath>

Lamp Lamp::OfCurve(const Curve& curve) {
  Lamp lamp;
  lamp.planes.front() = curve;
  return lamp;
}

bool Lamp::AllPlanesEqual() const {
  return std::all_of(planes.begin(), planes.end(),
                     [&](const Curve& plane) { return plane == planes.front(); });
}

Lamp Lamp::Simplified() const {
  if (planes.empty() || !AllPlanesEqual()) return *this;
  return OfCurve(planes.front());
}

bool Lamp::SameShape(const Lamp& other) const {
  return symmetry == other.symmetry && planeAngles == other.planeAngles;
}

namespace {

// C wrapped into [0, 360).
double Wrapped(double c) {
  if (!std::isfinite(c)) return 0.0;
  double wrapped = std::fmod(c, 360.0);
  if (wrapped < 0.0) wrapped += 360.0;
  return wrapped >= 360.0 ? 0.0 : wrapped;
}

std::string AngleText(float angle) {
  char buffer[32];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, angle);
  return error == std::errc() ? std::string(buffer, end) : std::string("?");
}

}  // namespace

double FoldedAngle(const Lamp& lamp, double c) {
  double f = Wrapped(c);
  switch (lamp.symmetry) {
    case Symmetry::kRotational:
      return lamp.planeAngles.empty() ? 0.0 : lamp.planeAngles.front();
    case Symmetry::kQuadrant:
      if (f > 180.0) f = 360.0 - f;
      return f > 90.0 ? 180.0 - f : f;
    case Symmetry::kBilateral0To180:
      return f > 180.0 ? 360.0 - f : f;
    case Symmetry::kBilateral90To270:
      if (f < 90.0) return 180.0 - f;
      return f > 270.0 ? 540.0 - f : f;
    case Symmetry::kNone:
      return f;
  }
  return f;
}

PlaneBracket BracketOf(const Lamp& lamp, double c) {
  const std::vector<float>& a = lamp.planeAngles;
  if (a.size() < 2 || lamp.planes.size() != a.size()) return {};
  const double f = FoldedAngle(lamp, c);
  const size_t last = a.size() - 1;
  // The first listed angle at or above f.
  const size_t above = static_cast<size_t>(std::lower_bound(a.begin(), a.end(), f) - a.begin());
  if (above < a.size() && a[above] == f) return {above, above, 0.0};
  if (above == 0 || above > last) {
    // Outside the listed span: an asymmetric lamp closes from its last plane
    // round to its first at 360; a symmetric one takes its nearest end.
    if (lamp.symmetry != Symmetry::kNone) return above == 0 ? PlaneBracket{0, 0, 0.0}
                                                             : PlaneBracket{last, last, 0.0};
    const double from = a[last];
    const double span = 360.0 + a[0] - from;
    const double along = f >= from ? f - from : f + 360.0 - from;
    return span > 0.0 ? PlaneBracket{last, 0, along / span} : PlaneBracket{0, 0, 0.0};
  }
  const double lower = a[above - 1], upper = a[above];
  return {above - 1, above, (f - lower) / (upper - lower)};
}

std::vector<size_t> PlanesAt(const Lamp& lamp, double c) {
  if (lamp.planes.size() != lamp.planeAngles.size()) return {};
  if (lamp.planes.size() == 1) return {0};
  const PlaneBracket bracket = BracketOf(lamp, c);
  if (bracket.t != 0.0 || bracket.lower != bracket.upper) return {};
  std::vector<size_t> planes{bracket.lower};
  // An asymmetric lamp that lists both 0 and 360 holds C 0 twice.
  const size_t last = lamp.planeAngles.size() - 1;
  if (lamp.symmetry == Symmetry::kNone && lamp.planeAngles.front() == 0.0f &&
      lamp.planeAngles[last] == 360.0f && (bracket.lower == 0 || bracket.lower == last)) {
    planes = {0, last};
  }
  return planes;
}

Curve CurveAt(const Lamp& lamp, double c) {
  if (lamp.planes.empty()) return Curve{};
  const PlaneBracket bracket = BracketOf(lamp, c);
  const Curve& lower = lamp.planes[bracket.lower];
  if (bracket.t == 0.0) return lower;
  const Curve& upper = lamp.planes[bracket.upper];
  Curve curve{};
  for (size_t d = 0; d < curve.size(); ++d) {
    const double a = lower[d], b = upper[d];
    const double intensity = (1.0 - bracket.t) * a * a + bracket.t * b * b;
    curve[d] = static_cast<float>(std::sqrt(std::max(intensity, 0.0)));
  }
  return curve;
}

std::optional<Symmetry> SymmetryOf(const std::vector<float>& a, std::string& error) {
  if (a.empty()) {
    error = "it has no horizontal angles.";
    return std::nullopt;
  }
  if (a.size() == 1) return Symmetry::kRotational;
  for (size_t k = 0; k + 1 < a.size(); ++k) {
    if (!(a[k] < a[k + 1])) {
      error = "its horizontal angles do not ascend (" + AngleText(a[k]) + " before " +
              AngleText(a[k + 1]) + ").";
      return std::nullopt;
    }
  }
  const float first = a.front(), last = a.back();
  if (first == 0.0f && last == 90.0f) return Symmetry::kQuadrant;
  if (first == 0.0f && last == 180.0f) return Symmetry::kBilateral0To180;
  if (first == 90.0f && last == 270.0f) return Symmetry::kBilateral90To270;
  if (first == 0.0f && last > 180.0f && last <= 360.0f) return Symmetry::kNone;
  error = "its horizontal angles run from " + AngleText(first) + " to " + AngleText(last) +
          " degrees, which is none of 0 to 90, 0 to 180, 90 to 270 and 0 to 360.";
  return std::nullopt;
}
