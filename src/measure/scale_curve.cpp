#include "measure/scale_curve.h"

#include <cfloat>
#include <cmath>

#include "measure/curve_numbers.h"
#include "measure/lamp_numbers.h"

namespace {

// Each intensity times target / now.
std::optional<Curve> ScaledBy(const Curve& curve, double now, double target) {
  if (!(now > 0.0) || !std::isfinite(now) || !(target > 0.0) || !std::isfinite(target)) {
    return std::nullopt;
  }
  const double rootFactor = std::sqrt(target / now);
  Curve scaled{};
  for (size_t i = 0; i < curve.size(); ++i) {
    const double sample = static_cast<double>(curve[i]) * rootFactor;
    if (!(sample <= static_cast<double>(FLT_MAX))) return std::nullopt;
    scaled[i] = static_cast<float>(sample);
  }
  return scaled;
}

}  // namespace

std::optional<Curve> ScaledToFlux(const Curve& curve, double lumens) {
  return ScaledBy(curve, MeasureCurve(curve).fluxLm, lumens);
}

std::optional<Curve> ScaledToPeak(const Curve& curve, double candela) {
  return ScaledBy(curve, MeasureCurve(curve).peakCd, candela);
}

namespace {

// Every plane's intensities times target / now.
std::optional<Lamp> LampScaledBy(const Lamp& lamp, double now, double target) {
  Lamp scaled = lamp;
  for (Curve& plane : scaled.planes) {
    const std::optional<Curve> curve = ScaledBy(plane, now, target);
    if (!curve) return std::nullopt;
    plane = *curve;
  }
  return scaled;
}

}  // namespace

std::optional<Lamp> ScaledToFlux(const Lamp& lamp, double lumens) {
  return LampScaledBy(lamp, MeasureLamp(lamp).fluxLm, lumens);
}

std::optional<Lamp> ScaledToPeak(const Lamp& lamp, double candela) {
  return LampScaledBy(lamp, MeasureLamp(lamp).peakCd, candela);
}
