#include "measure/lamp_numbers.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>

#include "ies/editor_curve.h"
#include "measure/curve_numbers.h"

namespace {

std::string AngleText(float angle) {
  char buffer[32];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, angle);
  return error == std::errc() ? std::string(buffer, end) : std::string("?");
}

// Trapezoid weights of the points a[0] < ... < a[n-1]: each interval's
// length goes half to either end, as a share of `whole` degrees.
std::vector<double> TrapezoidWeights(const std::vector<float>& a, double whole) {
  std::vector<double> weights(a.size(), 0.0);
  for (std::size_t k = 0; k + 1 < a.size(); ++k) {
    const double half = (static_cast<double>(a[k + 1]) - a[k]) / 2.0 / whole;
    weights[k] += half;
    weights[k + 1] += half;
  }
  return weights;
}

struct Peak {
  float cd;
  std::size_t plane, vertical;
};

Peak FindPeak(const Photometry& table) {
  const std::size_t count = table.verticalAngles.size();
  Peak peak{table.candela[0], 0, 0};
  for (std::size_t i = 1; i < table.candela.size(); ++i) {
    if (table.candela[i] > peak.cd) peak = {table.candela[i], i / count, i % count};
  }
  return peak;
}

// The average curve's intensities, stored at single precision; with one
// plane of weight 1 exactly the plane's.
DegreeIntensities AverageIntensities(const Photometry& table, const std::vector<double>& weights) {
  std::array<double, kCurveSampleCount> sum{};
  for (std::size_t h = 0; h < table.planeCount(); ++h) {
    const DegreeIntensities plane = ResamplePlane(table, h);
    for (std::size_t d = 0; d < sum.size(); ++d) sum[d] += weights[h] * plane[d];
  }
  DegreeIntensities average{};
  for (std::size_t d = 0; d < sum.size(); ++d) {
    average[d] = static_cast<float>(std::min(sum[d], static_cast<double>(FLT_MAX)));
  }
  return average;
}

}  // namespace

const char* SymmetryText(Symmetry symmetry) {
  switch (symmetry) {
    case Symmetry::kRotational: return "rotationally symmetric";
    case Symmetry::kQuadrant: return "symmetric in each quadrant";
    case Symmetry::kBilateral0To180: return "symmetric about the 0-180 plane";
    case Symmetry::kBilateral90To270: return "symmetric about the 90-270 plane";
    case Symmetry::kNone: return "no symmetry";
  }
  return "no symmetry";
}

std::optional<Symmetry> SymmetryOf(const std::vector<float>& a, std::string& error) {
  if (a.empty()) {
    error = "it has no horizontal angles.";
    return std::nullopt;
  }
  if (a.size() == 1) return Symmetry::kRotational;
  for (std::size_t k = 0; k + 1 < a.size(); ++k) {
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

std::vector<double> PlaneWeights(const std::vector<float>& a, Symmetry symmetry) {
  switch (symmetry) {
    case Symmetry::kRotational: return std::vector<double>(a.size(), 1.0);  // one plane
    // Mirrored, each quadrant or half of the circle repeats the listed span,
    // so the circle's weights are the span's.
    case Symmetry::kQuadrant: return TrapezoidWeights(a, 90.0);
    case Symmetry::kBilateral0To180:
    case Symmetry::kBilateral90To270: return TrapezoidWeights(a, 180.0);
    // The interval from the last angle round to 360 closes on the first
    // plane, at 0 (that is 360); it has no length when the last angle is 360.
    case Symmetry::kNone: {
      std::vector<double> weights = TrapezoidWeights(a, 360.0);
      const double closing = (360.0 - a.back()) / 2.0 / 360.0;
      weights.front() += closing;
      weights.back() += closing;
      return weights;
    }
  }
  return {};
}

LampMeasurement MeasureLamp(const Photometry& table) {
  LampMeasurement result;
  const std::size_t planes = table.planeCount();
  if (planes == 0 || table.verticalAngles.empty() ||
      table.candela.size() != planes * table.verticalAngles.size()) {
    result.error = "its candela values do not fill its planes.";
    return result;
  }
  const std::optional<Symmetry> symmetry = SymmetryOf(table.horizontalAngles, result.error);
  if (!symmetry) return result;

  LampNumbers numbers;
  numbers.planes = planes;
  numbers.symmetry = *symmetry;
  const Peak peak = FindPeak(table);
  numbers.peakCd = peak.cd;
  numbers.peakC = table.horizontalAngles[peak.plane];
  numbers.peakGamma = table.verticalAngles[peak.vertical];

  const std::vector<double> weights = PlaneWeights(table.horizontalAngles, *symmetry);
  const CurveNumbers average = MeasureCurve(CurveOfIntensities(AverageIntensities(table, weights)));
  numbers.fluxLm = average.fluxLm;
  numbers.beamAngle = average.beamAngle;
  numbers.fieldAngle = average.fieldAngle;

  if (table.lampCount >= 1 && table.lumensPerLamp > 0.0f) {
    numbers.ratedLumens = table.lampCount * static_cast<double>(table.lumensPerLamp);
    numbers.lightOutputRatio = numbers.fluxLm / *numbers.ratedLumens;
  }
  result.numbers = numbers;
  return result;
}
