#pragma once
// Lamp: the whole light distribution the window edits, beside the curve type.
//
// A lamp is a set of vertical planes at C-angles round the downward axis, as
// its symmetry lists them (LM-63's horizontal angles), each plane a curve of
// the 181 whole-degree samples (the square root of the intensity in candela,
// as the editor's curve holds it). The listed planes are:
//   rotational        one plane, at C 0
//   quadrant          C 0 .. 90, mirrored into the other three quadrants
//   bilateral 0-180   C 0 .. 180, mirrored about the 0-180 plane
//   bilateral 90-270  C 90 .. 270, mirrored about the 90-270 plane
//   none              C 0 .. up to 360 (a plane at 360 is C 0 again)
// A drawn lamp and every one-plane file is one rotational plane: exactly the
// editor's curve. Between listed planes the intensity is linear in C (in
// candela, as the readers of LM-63 and EULUMDAT files take it), between
// whole degrees as the views take the curve.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "editor/curve.h"

enum class Symmetry { kRotational, kQuadrant, kBilateral0To180, kBilateral90To270, kNone };

struct Lamp {
  Symmetry symmetry = Symmetry::kRotational;
  std::vector<float> planeAngles{0.0f};  // ascending, as the symmetry lists them
  std::vector<Curve> planes{Curve{}};    // planes[k] lies at planeAngles[k]

  bool operator==(const Lamp&) const = default;

  // One rotational plane: the lamp of a drawn curve.
  static Lamp OfCurve(const Curve& curve);

  std::size_t planeCount() const { return planes.size(); }

  // Whether every plane holds the same samples (a one-plane lamp does).
  bool AllPlanesEqual() const;

  // The same light with as few planes as its symmetry needs: one rotational
  // plane when every plane is equal, the lamp itself otherwise.
  Lamp Simplified() const;

  // Whether the shapes agree (symmetry and plane angles), so that two lamps
  // differ only in their samples.
  bool SameShape(const Lamp& other) const;
};

// Where a C-angle (any degrees, wrapped round the circle) falls among the
// listed planes after the symmetry has folded it into the listed span: the
// intensity there is (1 - t) * I(lower) + t * I(upper). t is 0 at a listed
// plane; a C-angle beyond the last plane of an asymmetric lamp that does not
// list 360 closes onto the plane at C 0.
struct PlaneBracket {
  std::size_t lower = 0;
  std::size_t upper = 0;
  double t = 0.0;
};
PlaneBracket BracketOf(const Lamp& lamp, double c);

// The C-angle folded into the listed span by the lamp's symmetry, in
// [first listed angle, its last] (or [0, 360) for an asymmetric lamp).
double FoldedAngle(const Lamp& lamp, double c);

// The listed planes that hold the light at C exactly (after folding): none
// when C falls between listed planes; two for an asymmetric lamp at C 0
// that lists 360 too. A stroke on the plane at C changes these.
std::vector<std::size_t> PlanesAt(const Lamp& lamp, double c);

// The curve at C: the listed plane itself at a listed angle, otherwise each
// degree's intensity linear in C between the bracketing planes.
Curve CurveAt(const Lamp& lamp, double c);

// The symmetry a list of horizontal angles gives, as LM-63 defines it: one
// plane, rotational; 0 to 90, quadrant; 0 to 180, bilateral about the 0-180
// plane; 90 to 270, about the 90-270 plane; 0 to more than 180 (360 in most
// files), none. Nothing when the list fits none or does not ascend; then
// `error` says why, as the end of a sentence.
std::optional<Symmetry> SymmetryOf(const std::vector<float>& horizontalAngles, std::string& error);
