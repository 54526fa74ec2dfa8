#include "measure/lamp_shaping.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <utility>
#include <numbers>

#include "measure/curve_numbers.h"
#include "measure/lamp_numbers.h"
#include "measure/scale_curve.h"

namespace {

// A number for a message: four significant digits, a full stop as the
// decimal point whatever the locale.
std::string NumberText(double value) {
  char text[32];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 4);
  return error == std::errc() ? std::string(text, end) : std::string("?");
}

LampResult Refused(std::string why) { return {std::nullopt, std::move(why)}; }

std::string BeamRangeError(double beamAngle) {
  return "The beam angle must be from " + NumberText(kMinBeamAngle) + " to " +
         NumberText(kMaxBeamAngle) + " degrees, not " + NumberText(beamAngle) + ".";
}

bool BeamInRange(double beamAngle) {
  return beamAngle >= kMinBeamAngle && beamAngle <= kMaxBeamAngle;
}

// The largest intensity of any plane, in double precision.
double PeakIntensity(const Lamp& lamp) {
  double peak = 0.0;
  for (const Curve& plane : lamp.planes) {
    for (const float root : plane) peak = std::max(peak, static_cast<double>(root) * root);
  }
  return peak;
}

// Every plane's intensities times `factor`, refused where the new peak could
// not be written: beyond the float range, or printed as 0.
LampResult ScaledBy(const Lamp& lamp, double factor) {
  const double peak = PeakIntensity(lamp) * factor;
  if (!(factor > 0.0) || !std::isfinite(factor)) {
    return Refused("The lamp cannot be scaled by that number.");
  }
  if (!(peak <= static_cast<double>(FLT_MAX))) {
    return Refused("That would make the peak intensity " + NumberText(peak) +
                   " cd, more than a lamp file can hold.");
  }
  if (peak < kMinPrintablePeakCd) {
    return Refused("That would make the peak intensity " + NumberText(peak) +
                   " cd, which a lamp file writes as 0.");
  }
  Lamp scaled = lamp;
  for (Curve& plane : scaled.planes) {
    const std::optional<Curve> planeScaled = ScaledByFactor(plane, factor);
    if (!planeScaled) return Refused("The lamp cannot be scaled by that number.");
    plane = *planeScaled;
  }
  return {std::move(scaled), {}};
}

// The lamp scaled so that `now` (its flux or peak) becomes `target`.
LampResult ScaledTo(const Lamp& lamp, double now, double target) {
  if (!(now > 0.0) || !std::isfinite(now)) return Refused("The lamp gives no light, so it cannot be scaled.");
  if (!(target > 0.0) || !std::isfinite(target)) return Refused("The lamp can only be scaled to a number above 0.");
  return ScaledBy(lamp, target / now);
}

// The measured beam, or infinity when the intensity never falls to half of
// the one straight down (a beam too wide to measure).
double BeamOrInfinity(const Curve& curve) {
  return MeasureCurve(curve).beamAngle.value_or(std::numeric_limits<double>::infinity());
}

// The parameter p in [low, high] whose curve's measured beam comes closest to
// `beamAngle`, by bisection: `beamOf` is a beam rising with p. The search runs
// on the logarithm of p, which spans several orders of magnitude.
double ParameterForBeam(double low, double high, double beamAngle,
                        const std::function<double(double)>& beamOf) {
  double logLow = std::log(low), logHigh = std::log(high);
  double best = low, bestMiss = std::numeric_limits<double>::infinity();
  for (int step = 0; step < 100 && bestMiss > 1e-9; ++step) {
    const double p = std::exp((logLow + logHigh) / 2.0);
    const double beam = beamOf(p);
    if (std::abs(beam - beamAngle) < bestMiss) {
      bestMiss = std::abs(beam - beamAngle);
      best = p;
    }
    (beam < beamAngle ? logLow : logHigh) = std::log(p);
  }
  return best;
}

// cos(gamma)^n below the horizon, none above: the samples are its roots.
Curve SpotCurve(double n) {
  Curve curve{};
  for (size_t d = 0; d < 90; ++d) {
    const double c = std::cos(static_cast<double>(d) * std::numbers::pi / 180.0);
    curve[d] = static_cast<float>(std::pow(c, n / 2.0));
  }
  return curve;
}

// Each whole degree d takes the intensity at d / k, linear between whole
// degrees, the one at 180 beyond it.
Curve StretchedCurve(const Curve& curve, double k) {
  Curve stretched{};
  for (size_t d = 0; d < stretched.size(); ++d) {
    const double from = static_cast<double>(d) / k;
    double intensity = static_cast<double>(curve.back()) * curve.back();
    if (from < 180.0) {
      const auto lower = static_cast<size_t>(from);
      const double t = from - static_cast<double>(lower);
      const double a = curve[lower], b = curve[std::min(lower + 1, curve.size() - 1)];
      intensity = (1.0 - t) * a * a + t * b * b;
    }
    stretched[d] = static_cast<float>(std::sqrt(intensity));
  }
  return stretched;
}

// Whether the lamp's measured beam is `beamAngle` within the tolerance.
bool HasBeam(const Lamp& lamp, double beamAngle) {
  const std::optional<double> beam = MeasureLamp(lamp).beamAngle;
  return beam && std::abs(*beam - beamAngle) <= kBeamTolerance;
}

std::string NoBeamError(const CurveNumbers& numbers) {
  if (numbers.peakCd <= 0.0) return "This lamp gives no light, so it has no beam angle to change.";
  if (numbers.peakAngle != 0) {
    return "This lamp has no beam angle: it is brightest away from straight down, so its beam "
           "cannot be stretched or squeezed.";
  }
  return "This lamp has no beam angle: its intensity never falls to half of the intensity "
         "straight down.";
}

}  // namespace

LampResult NewSpotLamp(double beamAngle, double lumens) {
  if (!BeamInRange(beamAngle)) return Refused(BeamRangeError(beamAngle));
  // A larger exponent narrows the beam: the beam rises with 1 / n.
  const double inverseN = ParameterForBeam(1e-5, 1e3, beamAngle, [](double p) {
    return BeamOrInfinity(SpotCurve(1.0 / p));
  });
  LampResult spot = LampScaledToFlux(Lamp::OfCurve(SpotCurve(1.0 / inverseN)), lumens);
  if (spot.lamp && !HasBeam(*spot.lamp, beamAngle)) {
    return Refused("A spot of " + NumberText(beamAngle) + " degrees could not be made.");
  }
  return spot;
}

LampResult LampScaledToFlux(const Lamp& lamp, double lumens) {
  return ScaledTo(lamp, MeasureLamp(lamp).fluxLm, lumens);
}

LampResult LampScaledToPeak(const Lamp& lamp, double candela) {
  return ScaledTo(lamp, PeakIntensity(lamp), candela);
}

std::optional<std::string> NoBeamAngleReason(const Lamp& lamp) {
  const CurveNumbers numbers = MeasureCurve(AverageCurve(lamp));
  if (numbers.beamAngle) return std::nullopt;
  return NoBeamError(numbers);
}

LampResult WithBeamAngle(const Lamp& lamp, double beamAngle) {
  if (std::optional<std::string> why = NoBeamAngleReason(lamp)) return Refused(std::move(*why));
  const Curve average = AverageCurve(lamp);
  if (!BeamInRange(beamAngle)) return Refused(BeamRangeError(beamAngle));
  // The average of stretched planes is the stretched average (the stretch is
  // linear in intensity), so the search needs only the average.
  const double k = ParameterForBeam(1e-3, 1e3, beamAngle, [&average](double p) {
    return BeamOrInfinity(StretchedCurve(average, p));
  });
  Lamp stretched = lamp;
  for (Curve& plane : stretched.planes) plane = StretchedCurve(plane, k);
  LampResult result = LampScaledToPeak(stretched, PeakIntensity(lamp));
  if (result.lamp && !HasBeam(*result.lamp, beamAngle)) {
    const std::optional<double> closest = MeasureLamp(*result.lamp).beamAngle;
    return Refused("This lamp's beam cannot be made " + NumberText(beamAngle) +
                   " degrees: the light of its shape" +
                   (closest ? " comes no closer than " + NumberText(*closest) + " degrees." : " has no beam there."));
  }
  return result;
}

Lamp FluxKept(const Lamp& before, const Lamp& after) {
  const double flux = MeasureLamp(before).fluxLm;
  if (!(flux > 0.0)) return after;
  LampResult kept = LampScaledToFlux(after, flux);
  return kept.lamp ? std::move(*kept.lamp) : after;
}

LampResult ShapedLamp(const Lamp& lamp, const LampShaping& shaping) {
  LampResult result{lamp, {}};
  if (shaping.beamAngle) result = WithBeamAngle(lamp, *shaping.beamAngle);
  if (!result.lamp) return result;
  if (shaping.lumens) return LampScaledToFlux(*result.lamp, *shaping.lumens);
  if (shaping.peakCd) return LampScaledToPeak(*result.lamp, *shaping.peakCd);
  return result;
}
