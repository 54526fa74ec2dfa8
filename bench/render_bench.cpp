// The two views. DrawWall for a 3840 x 2160 client against the straightforward
// per-pixel loop of its formula, and for a lamp of 24 planes; DrawPolar at two client sizes for several
// scales and pole positions.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "../tests/render/plain_wall.h"
#include "editor/distribution_editor.h"
#include "editor/lamp.h"
#include "render/image.h"
#include "render/polar_view.h"
#include "render/raster.h"
#include "render/wall_view.h"

namespace {

// A smooth, lamp-like curve: strong downward, fading sideways, a little upward.
void LampCurve(DistributionEditor& e, float peak) {
  for (int n = 0; n <= 180; ++n) {
    const float down = n < 90 ? static_cast<float>(90 - n) / 90.0f : 0.0f;
    e.curve[static_cast<size_t>(n)] = peak * (0.15f + down * down);
  }
}

void SizeClient(DistributionEditor& e, int width, int height) { e.OnResize(width, height); }

// Milliseconds of real time, with the CPU time of all the program's threads
// beside it (the wall is drawn on every core, the plain loop on one).
void WallTiming(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
}

// The wall of a 3840 x 2160 client, drawn by `draw`: ours or the plain loop.
void BM_DrawWall(benchmark::State& state, void (*draw)(const DistributionEditor&, Image&)) {
  DistributionEditor e;
  SizeClient(e, 3840, 2160);
  LampCurve(e, 0.05f);
  Image client(e.clientWidth, e.clientHeight);
  for (auto _ : state) {
    draw(e, client);
    benchmark::DoNotOptimize(client.pixels.data());
  }
}
void DrawWallTwoWide(const DistributionEditor& e, Image& client) { DrawWall(e, client, WallPath::TwoWide); }
void DrawWallFourWide(const DistributionEditor& e, Image& client) { DrawWall(e, client, WallPath::FourWide); }
BENCHMARK_CAPTURE(BM_DrawWall, ours, DrawWall)->Apply(WallTiming);
BENCHMARK_CAPTURE(BM_DrawWall, four_wide, DrawWallFourWide)->Apply(WallTiming);
BENCHMARK_CAPTURE(BM_DrawWall, two_wide, DrawWallTwoWide)->Apply(WallTiming);
BENCHMARK_CAPTURE(BM_DrawWall, plain_loop, PlainWall)->Apply(WallTiming);

// The wall of an asymmetric lamp of 24 planes (every 15 degrees, each the
// lamp-like curve with its own peak) at 3840 x 2160, against the one-plane
// wall above: by the automatic path, the AVX2 path and one pixel at a time.
void BM_DrawLampWall(benchmark::State& state, WallPath path) {
  DistributionEditor e;
  SizeClient(e, 3840, 2160);
  Lamp lamp;
  lamp.symmetry = Symmetry::kNone;
  lamp.planeAngles.clear();
  lamp.planes.clear();
  for (int k = 0; k < 24; ++k) {
    LampCurve(e, 0.05f * (1.0f + 0.6f * static_cast<float>(k % 7) / 6.0f));
    lamp.planeAngles.push_back(15.0f * static_cast<float>(k));
    lamp.planes.push_back(e.curve);
  }
  Image client(e.clientWidth, e.clientHeight);
  for (auto _ : state) {
    DrawWall(e, lamp, 30.0, client, path);
    benchmark::DoNotOptimize(client.pixels.data());
  }
}
BENCHMARK_CAPTURE(BM_DrawLampWall, ours, WallPath::Automatic)->Apply(WallTiming);
BENCHMARK_CAPTURE(BM_DrawLampWall, four_wide, WallPath::FourWide)->Apply(WallTiming);
BENCHMARK_CAPTURE(BM_DrawLampWall, plain_ops, WallPath::TwoWide)->Apply(WallTiming);

// Polar cases: 0 default view, 1 zoomed far in (1e6 px per unit, huge rings),
// 2 zoomed far out, 3 pole far outside the half, 4 pole a million pixels away
// with rings reaching across the half.
void SetPolarCase(DistributionEditor& e, int which) {
  switch (which) {
    case 1:
      e.polarScale *= 1e4f;
      break;
    case 2:
      e.polarScale *= 1e-4f;
      break;
    case 3:
      e.centerX = -5000.0f;
      e.centerY = 3000.0f;
      break;
    case 4:
      e.centerX = -1e6f;
      e.polarScale = 2e6f;
      break;
    default:
      break;
  }
}

void BM_DrawPolar(benchmark::State& state) {
  DistributionEditor e;
  SizeClient(e, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  LampCurve(e, 1.0f);
  SetPolarCase(e, static_cast<int>(state.range(2)));
  Image client(e.clientWidth, e.clientHeight);
  for (auto _ : state) {
    DrawPolar(e, client);
    benchmark::DoNotOptimize(client.pixels.data());
  }
}
// The floor for DrawPolar: filling its half of a 3840 x 2160 client with
// black, row by row with std::fill.
void BM_FillPolarHalf(benchmark::State& state) {
  Image client(3840, 2160);
  const size_t half = static_cast<size_t>(client.width / 2);
  for (auto _ : state) {
    for (int y = 0; y < client.height; ++y) {
      uint32_t* row = client.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(client.width);
      std::fill(row, row + half, Rgb(0, 0, 0));
    }
    benchmark::DoNotOptimize(client.pixels.data());
  }
}
BENCHMARK(BM_FillPolarHalf)->Unit(benchmark::kMicrosecond)->UseRealTime();

BENCHMARK(BM_DrawPolar)
    ->ArgNames({"w", "h", "case"})
    ->ArgsProduct({{800}, {400}, {0, 1, 2, 3, 4}})
    ->ArgsProduct({{3840}, {2160}, {0, 1, 2, 3, 4}})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

}  // namespace

namespace {

// One ring through the raster: radius 1e9 with its right end crossing a
// 400 x 400 area, against a ring of radius 150 wholly inside it. The cost
// follows what is visible, not the radius.
void BM_RingOfRadius(benchmark::State& state) {
  Image image(400, 400);
  Raster raster(image, 0, 0, 400, 400);
  raster.SelectPen(Rgb(160, 160, 160));
  const double radius = static_cast<double>(state.range(0));
  const double cx = radius < 1000 ? 200 : 300 - radius, cy = 200;
  for (auto _ : state) {
    raster.Ellipse(cx - radius, cy - radius, cx + radius, cy + radius);
    benchmark::DoNotOptimize(image.pixels.data());
  }
}
BENCHMARK(BM_RingOfRadius)->Arg(150)->Arg(1000000000)->Unit(benchmark::kMicrosecond);

}  // namespace
