#include "editor/fit_view.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "editor/distribution_editor.h"
#include "editor/store_clamped.h"

void FitViewToCurve(DistributionEditor& editor) {
  using E = DistributionEditor;
  const double halfWidth = editor.halfWidth();
  const double height = editor.clientHeight;

  editor.centerX = StoreClamped(halfWidth / 2, -E::kMaxOriginOffset, E::kMaxOriginOffset);
  editor.centerY = StoreClamped(height / 2, -E::kMaxOriginOffset, E::kMaxOriginOffset);

  double largest = 0.0;
  double brightest = 0.0;  // D*: the light's distance at which the wall's peak is just white
  for (int j = 0; j < E::kSampleCount; ++j) {
    const double v = editor.curve[j];
    const double sine = std::sin(j * std::numbers::pi / 180.0);
    largest = std::max(largest, v);
    brightest = std::max(brightest, v * std::pow(sine, 1.5));
  }
  if (largest > 0.0) {
    editor.polarScale =
        StoreClamped(0.45 * std::min(halfWidth, height) / largest, E::kMinScale, E::kMaxScale);
  }
  if (brightest > 0.0) {
    editor.wallDistance = StoreClamped(brightest, E::kMinDistance, E::kMaxDistance);
    editor.wallScale = StoreClamped(0.025 * height / brightest, E::kMinScale, E::kMaxScale);
  }
}
