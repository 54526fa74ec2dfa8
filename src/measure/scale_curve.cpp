#include "measure/scale_curve.h"

#include <cfloat>
#include <cmath>

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
