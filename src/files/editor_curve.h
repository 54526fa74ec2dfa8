#pragma once
// From a photometric table to the editor's whole degrees.
//
// A plane's candela values are resampled onto the whole degrees 0..180 by
// linear interpolation between its listed vertical angles; the editor's
// curve is the square root of each resampled value. The command line's
// whole-lamp numbers resample every plane by the same rule.

#include <array>
#include <cstddef>

#include "editor/curve.h"
#include "editor/lamp.h"
#include "files/photometry.h"

// Intensity in candela at each whole degree 0..180.
using DegreeIntensities = std::array<float, kCurveSampleCount>;

// Plane h of `table` on the whole degrees: finite and not negative, 0 below
// the first and beyond the last listed vertical angle. A plane the table
// does not hold whole gives zeros.
DegreeIntensities ResamplePlane(const Photometry& table, std::size_t h);

// The editor's samples for `intensity`: the square root of each value.
Curve CurveOfIntensities(const DegreeIntensities& intensity);

// The curve the editor edits for a file: its first plane (the plane at C 0
// in files that list one), resampled. A table without planes gives zeros.
Curve EditorCurve(const Photometry& table);

// The lamp of a file: every plane resampled onto the whole degrees, at the
// horizontal angles the file lists, with the symmetry they give. A table
// whose angles give no symmetry, or whose planes are not all there, gives
// its first plane alone, as one rotational plane (EditorCurve).
Lamp LampOfTable(const Photometry& table);
