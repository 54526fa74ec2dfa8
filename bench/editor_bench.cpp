// A pointer move during a stroke with a long segment: the editor's move
// against a straightforward version that computes sine and cosine of every
// degree on every move.
#include <benchmark/benchmark.h>

#include <cmath>

#include "editor/distribution_editor.h"

namespace {

// The long segment: from the lower left to the upper right of the diagram, so
// most degrees' rays cross it.
constexpr int kX0 = 20, kY0 = 390, kX1 = 390, kY1 = 10;

// With `sections`, the diagram shows a section of an asymmetric lamp: the
// halves are two curves, and the stroke sets each on its own side.
void BM_StrokeMove(benchmark::State& state, bool sections) {
  DistributionEditor e;
  if (sections) e.leftCurve = Curve{};
  e.OnPointerMove(kX0, kY0);
  e.OnLeftButton(true);
  bool toEnd = true;
  for (auto _ : state) {
    if (toEnd) {
      e.OnPointerMove(kX1, kY1);
    } else {
      e.OnPointerMove(kX0, kY0);
    }
    toEnd = !toEnd;
    benchmark::DoNotOptimize(e.curve.data());
  }
}
BENCHMARK_CAPTURE(BM_StrokeMove, one_curve, false);
BENCHMARK_CAPTURE(BM_StrokeMove, section_of_a_lamp, true);

// The same sweep written plainly, sine and cosine per degree and per move.
void PlainSweep(float* curve, double p0x, double p0y, double ex, double ey, float scale) {
  for (int i = 0; i <= 180; ++i) {
    const double a = i * static_cast<double>(0.017453292f);
    const double s = std::sin(a);
    const double c = std::cos(a);
    for (double u : {s, -s}) {
      const double t = (p0x * c - p0y * u) / (ey * u - ex * c);
      if (!(t >= 0.0 && t <= 1.0)) continue;
      const double qx = p0x + t * ex, qy = p0y + t * ey;
      if (!(u * qx + c * qy > 0.0)) continue;
      curve[i] = static_cast<float>(std::sqrt(qx * qx + qy * qy) / scale);
    }
  }
}

void BM_StrokeMovePlain(benchmark::State& state) {
  float curve[181] = {};
  bool toEnd = true;
  for (auto _ : state) {
    const double sign = toEnd ? 1.0 : -1.0;
    const int fromX = toEnd ? kX0 : kX1, fromY = toEnd ? kY0 : kY1;
    PlainSweep(curve, fromX - 200.0, fromY - 200.0, sign * (kX1 - kX0), sign * (kY1 - kY0),
               100.0f);
    toEnd = !toEnd;
    benchmark::DoNotOptimize(curve);
  }
}
BENCHMARK(BM_StrokeMovePlain);

}  // namespace
