#pragma once
// Fitting both views to the curve, so that a curve just brought in is seen
// whole: Ctrl+0, a successful open and the command-line pictures use it.

class DistributionEditor;

// Sets the view fields only (never the curve or the pointer state), each
// stored in single precision within the editor's bounds:
//   - the diagram's origin at the middle of the left half (halfWidth / 2,
//     clientHeight / 2) and, when the largest sample v_max is above 0,
//     polarScale = 0.45 * min(halfWidth, clientHeight) / v_max, so the
//     curve's farthest point lies at 45% of the smaller side from the origin;
//   - the wall: the brightest point lies on the vertical line through the
//     light, where E = v(g)^2 sin^3(g) / D^2. With D* = max over the degrees j
//     of curve[j] * sin(j deg)^1.5, when D* is above 0, wallDistance = D*
//     makes that point just white and wallScale = 0.025 * clientHeight / D*
//     shows four light distances above and below the light.
// An all-zero curve keeps the scales, the light's distance and the wall zoom.
void FitViewToCurve(DistributionEditor& editor);
