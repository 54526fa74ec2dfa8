#pragma once
// The numbers a lighting designer asks of a curve: its peak, its luminous
// flux, and its beam and field angles. The curve is the editor's: entry i is
// the square root of the intensity in candela at i degrees from straight
// down (i = 0..180), and every intensity below is I_i = curve[i]^2 taken in
// double precision, as the writer squares it.

#include <array>
#include <optional>

#include "editor/curve.h"

struct CurveNumbers {
  double peakCd = 0.0;  // the largest I_i
  int peakAngle = 0;    // the smallest degree i where it occurs
  double fluxLm = 0.0;  // zonal flux in lumens, see MeasureCurve
  // Full angles in degrees (twice the half angle from the axis); absent when
  // I_0 is 0, when I_0 is not the largest intensity, or when the intensity
  // never falls to its share of I_0.
  std::optional<double> beamAngle;   // 50% of I_0
  std::optional<double> fieldAngle;  // 10% of I_0
};

// Flux by the zonal method on one-degree zones centred on the samples:
//   sum over i of I_i * 2 pi * (cos(max(0, i - 0.5) deg) - cos(min(180, i + 0.5) deg)).
// Beam and field: with I linear in the angle between whole degrees, the first
// angle theta at which I falls to the share t of I_0, that is
// theta = j + (I_j - t) / (I_j - I_{j+1}) for the first j with I_j > t >= I_{j+1}.
CurveNumbers MeasureCurve(const Curve& curve);

// The solid-angle weight 2 pi (cos a - cos b) of zone i, for the benchmark's
// and the tests' comparisons.
double ZoneWeight(int i);
