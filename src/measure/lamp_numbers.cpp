#include "measure/lamp_numbers.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <numbers>

#include "files/editor_curve.h"
#include "measure/curve_numbers.h"

namespace {

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

double PlaneWeight(const std::vector<float>& a, Symmetry symmetry, std::size_t k) {
  if (symmetry == Symmetry::kRotational) return 1.0;  // one plane
  // Trapezoids: each interval's length goes half to either end, as a share
  // of the span the listed planes repeat round the circle (mirrored, each
  // quadrant or half of it repeats the listed span).
  const double whole = symmetry == Symmetry::kQuadrant ? 90.0 : symmetry == Symmetry::kNone ? 360.0 : 180.0;
  double weight = 0.0;
  if (k > 0) weight += (static_cast<double>(a[k]) - a[k - 1]) / 2.0 / whole;
  if (k + 1 < a.size()) weight += (static_cast<double>(a[k + 1]) - a[k]) / 2.0 / whole;
  // Without symmetry, the interval from the last angle round to 360 closes
  // on the first plane, at 0 (that is 360); it has no length when the last
  // angle is 360.
  if (symmetry == Symmetry::kNone && (k == 0 || k + 1 == a.size())) {
    weight += (360.0 - a.back()) / 2.0 / 360.0;
  }
  return weight;
}

Curve AverageCurve(const Lamp& lamp) {
  if (lamp.planes.size() == 1) return lamp.planes.front();
  std::array<double, kCurveSampleCount> sum{};
  for (std::size_t h = 0; h < lamp.planes.size(); ++h) {
    const double weight = PlaneWeight(lamp.planeAngles, lamp.symmetry, h);
    for (std::size_t d = 0; d < sum.size(); ++d) {
      const double root = lamp.planes[h][d];
      sum[d] += weight * root * root;
    }
  }
  DegreeIntensities average{};
  for (std::size_t d = 0; d < sum.size(); ++d) {
    average[d] = static_cast<float>(std::min(sum[d], static_cast<double>(FLT_MAX)));
  }
  return CurveOfIntensities(average);
}

LampNumbers MeasureLamp(const Lamp& lamp) {
  LampNumbers numbers;
  numbers.planes = lamp.planes.size();
  numbers.symmetry = lamp.symmetry;
  double peak = 0.0;
  for (std::size_t h = 0; h < lamp.planes.size(); ++h) {
    for (std::size_t d = 0; d < kCurveSampleCount; ++d) {
      const double root = lamp.planes[h][d];
      if (root * root > peak) {
        peak = root * root;
        numbers.peakC = lamp.planeAngles[h];
        numbers.peakGamma = static_cast<float>(d);
      }
    }
  }
  numbers.peakCd = static_cast<float>(std::min(peak, static_cast<double>(FLT_MAX)));
  const CurveNumbers average = MeasureCurve(AverageCurve(lamp));
  numbers.fluxLm = average.fluxLm;
  numbers.beamAngle = average.beamAngle;
  numbers.fieldAngle = average.fieldAngle;
  return numbers;
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

  LampNumbers numbers = MeasureLamp(LampOfTable(table));
  // The peak as the file lists it, also between whole degrees.
  const Peak peak = FindPeak(table);
  numbers.peakCd = peak.cd;
  numbers.peakC = table.horizontalAngles[peak.plane];
  numbers.peakGamma = table.verticalAngles[peak.vertical];

  if (table.lampCount >= 1 && table.lumensPerLamp > 0.0f) {
    numbers.ratedLumens = table.lampCount * static_cast<double>(table.lumensPerLamp);
    numbers.lightOutputRatio = numbers.fluxLm / *numbers.ratedLumens;
  }
  result.numbers = numbers;
  return result;
}

double DownwardFluxPercent(const Lamp& lamp) {
  const Curve average = AverageCurve(lamp);
  const double flux = MeasureCurve(average).fluxLm;
  if (!(flux > 0.0)) return 0.0;
  constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
  double downward = 0.0;
  for (int i = 0; i <= 90; ++i) {
    const double root = average[static_cast<std::size_t>(i)];
    const double from = std::fmax(0.0, i - 0.5) * kRadiansPerDegree;
    const double to = std::fmin(90.0, i + 0.5) * kRadiansPerDegree;
    downward += root * root * 2.0 * std::numbers::pi * (std::cos(from) - std::cos(to));
  }
  return std::fmin(100.0, 100.0 * downward / flux);
}
