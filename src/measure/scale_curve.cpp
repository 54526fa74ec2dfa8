#include "measure/scale_curve.h"

#include <cfloat>
#include <cmath>

#include "measure/curve_numbers.h"

namespace {

// Each intensity times target / now.
std::optional<Curve> ScaledBy(const Curve& curve, double now, double target) {
  if (!(now > 0.0) || !std::isfinite(now)) return std::nullopt;
  return ScaledByFactor(curve, target / now);
}

}  // namespace

std::optional<Curve> ScaledByFactor(const Curve& curve, double factor) {
  if (!(factor > 0.0) || !std::isfinite(factor)) return std::nullopt;
  const double rootFactor = std::sqrt(factor);
  Curve scaled{};
  for (size_t i = 0; i < curve.size(); ++i) {
    const double sample = static_cast<double>(curve[i]) * rootFactor;
    if (!(sample <= static_cast<double>(FLT_MAX))) return std::nullopt;
    scaled[i] = static_cast<float>(sample);
  }
  return scaled;
}

std::optional<Curve> ScaledToFlux(const Curve& curve, double lumens) {
  return ScaledBy(curve, MeasureCurve(curve).fluxLm, lumens);
}

std::optional<Curve> ScaledToPeak(const Curve& curve, double candela) {
  return ScaledBy(curve, MeasureCurve(curve).peakCd, candela);
}

