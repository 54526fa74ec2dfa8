#pragma once
// The numbers of a whole lamp, from every plane of its photometric table
// rather than from the one curve the editor edits.
//
// Symmetry, from the horizontal angles as LM-63 defines it: one plane,
// rotational; 0 to 90, the same in each quadrant; 0 to 180, bilateral about
// the 0-180 plane; 90 to 270, bilateral about the 90-270 plane; 0 to more
// than 180 (360 in most files), none. The planes, mirrored by that symmetry,
// cover the whole circle (360 being 0 again); trapezoid weights w_k over the
// circle, summing to 1, give the average curve I(d) = sum of w_k I_k(d),
// where I_k is plane k resampled onto the whole degrees as the editor's
// curve is. Its flux, beam and field angles are MeasureCurve's. A file with
// one plane gives exactly the numbers of the editor's curve.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "editor/lamp.h"
#include "files/photometry.h"

// How a symmetry reads in a sentence: "symmetric in each quadrant".
const char* SymmetryText(Symmetry symmetry);

struct LampNumbers {
  std::size_t planes = 0;
  Symmetry symmetry = Symmetry::kRotational;
  // The largest candela value the table lists (the multiplier applied) and
  // where: the first in file order where several are equal.
  float peakCd = 0.0f;
  float peakC = 0.0f;      // its horizontal angle
  float peakGamma = 0.0f;  // its vertical angle
  // Of the average curve, as MeasureCurve defines them.
  double fluxLm = 0.0;
  std::optional<double> beamAngle;
  std::optional<double> fieldAngle;
  // Lamp count times lumens per lamp, when the file gives both (absolute
  // photometry gives -1 lumens), and the flux as a share of it.
  std::optional<double> ratedLumens;
  std::optional<double> lightOutputRatio;
};

struct LampMeasurement {
  std::optional<LampNumbers> numbers;
  // Without numbers: why, as the end of a sentence, for example "its
  // horizontal angles do not ascend."
  std::string error;
};

LampMeasurement MeasureLamp(const Photometry& table);

// The numbers of a lamp the window holds, from its whole-degree planes: the
// peak is its largest sample squared, the rated lumens are not known here.
// For a file's lamp they are the file's, but for a peak that the file lists
// between whole degrees.
LampNumbers MeasureLamp(const Lamp& lamp);

// The share of the lamp's flux below the horizontal, in percent, by the
// zones of MeasureCurve on its average curve: the zone of 90 degrees counts
// half. 0 for a lamp without light.
double DownwardFluxPercent(const Lamp& lamp);

// The average curve of the planes (the weighted average of their intensities,
// each the square of its sample in double precision); with one plane exactly
// that plane. Its beam and field angles are the lamp's.
Curve AverageCurve(const Lamp& lamp);

// Plane k's weight in the average curve; the weights sum to 1. Computed
// without allocating, as the status bar measures the lamp on pointer moves.
double PlaneWeight(const std::vector<float>& horizontalAngles, Symmetry symmetry, std::size_t k);
