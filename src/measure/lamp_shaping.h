#pragma once
// A lamp made or reshaped by its numbers: a new spot of a given beam and
// flux, a lamp scaled to a flux or a peak, a lamp whose gamma angles are
// stretched to a given beam, and the flux kept over a stroke. Every plane is
// changed alike; the beam and the flux are the ones MeasureLamp gives (the
// beam of the average curve of the whole-degree samples, as `info` measures
// it on a written file). Results are values: a lamp, or a sentence saying why
// there is none.

#include <optional>
#include <string>

#include "editor/lamp.h"

// The beam angles a new lamp or a stretch can be given, in degrees.
inline constexpr double kMinBeamAngle = 2.0;
inline constexpr double kMaxBeamAngle = 170.0;

// How close the measured beam comes to the one asked, in degrees.
inline constexpr double kBeamTolerance = 0.1;

// The smallest peak a lamp may be scaled to: a smaller one prints as 0 in an
// LM-63 file, whose candela values have six decimals.
inline constexpr double kMinPrintablePeakCd = 0.0000005;

struct LampResult {
  std::optional<Lamp> lamp;
  std::string error;  // without a lamp: a whole sentence for a message box
};

// A rotational spot: every intensity cos(gamma)^n below the horizon, none
// above, n found so that the measured beam is `beamAngle` (kMinBeamAngle to
// kMaxBeamAngle) within kBeamTolerance, scaled to `lumens`.
LampResult NewSpotLamp(double beamAngle, double lumens);

// The lamp with every intensity times one factor, so that its flux is
// `lumens`, or its peak (the largest sample squared) `candela`. Refused for a
// lamp without light, a number that is not positive and finite, and a result
// whose peak leaves the float range or is below kMinPrintablePeakCd.
LampResult LampScaledToFlux(const Lamp& lamp, double lumens);
LampResult LampScaledToPeak(const Lamp& lamp, double candela);

// Why the lamp has no beam angle (a sentence for a message box), or nothing
// when it has one: it gives no light, it is brightest away from straight
// down, or its intensity never falls to half of the one straight down.
std::optional<std::string> NoBeamAngleReason(const Lamp& lamp);

// The lamp with the gamma angles of every plane stretched (or squeezed) by
// one factor k, the intensity at gamma becoming the one at gamma / k (linear
// in intensity between whole degrees, the one straight up beyond 180), k
// found so that the measured beam is `beamAngle` within kBeamTolerance, then
// scaled back to the peak it had. Refused for a lamp without a beam angle.
LampResult WithBeamAngle(const Lamp& lamp, double beamAngle);

// The lamp `after` a stroke scaled back to the flux of the lamp `before` it;
// `after` itself when either has no flux or the scaling is refused.
Lamp FluxKept(const Lamp& before, const Lamp& after);

// What the command line and the window may ask of a lamp at once: a beam
// first, then a flux or a peak (at most one of the two).
struct LampShaping {
  std::optional<double> beamAngle;
  std::optional<double> lumens;
  std::optional<double> peakCd;
};

LampResult ShapedLamp(const Lamp& lamp, const LampShaping& shaping);
