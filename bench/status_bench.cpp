// The status bar's texts: their cost alone, and a pointer move during a
// stroke with the left-half render at 800 x 400 with and without them, so
// that the readout's share shows as a ratio within one run.
#include <benchmark/benchmark.h>

#include "app/status_text.h"
#include "editor/distribution_editor.h"
#include "render/image.h"
#include "render/polar_view.h"

namespace {

// A stroke across the lower half of the diagram, so the curve has a beam.
void Stroked(DistributionEditor& e) {
  e.OnPointerMove(120, 330);
  e.OnLeftButton(true);
  e.OnPointerMove(280, 330);
}

void BM_StatusTexts(benchmark::State& state) {
  DistributionEditor e;
  Stroked(e);
  const Document document;
  StatusTexts texts;
  for (auto _ : state) {
    FillStatusTexts(e, document, true, texts);
    benchmark::DoNotOptimize(texts.pointer.data());
  }
}
BENCHMARK(BM_StatusTexts);

// A move during the stroke, back and forth, then the render of the left half.
void BM_MoveAndLeftHalf(benchmark::State& state, bool withTexts) {
  DistributionEditor e;
  Stroked(e);
  Image client(e.clientWidth, e.clientHeight);
  const Document document;
  StatusTexts texts;
  bool out = true;
  for (auto _ : state) {
    e.OnPointerMove(out ? 300 : 280, out ? 300 : 330);
    out = !out;
    DrawPolar(e, client);
    if (withTexts) FillStatusTexts(e, document, true, texts);
    benchmark::DoNotOptimize(client.pixels.data());
    benchmark::DoNotOptimize(texts.pointer.data());
  }
}
BENCHMARK_CAPTURE(BM_MoveAndLeftHalf, without_texts, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_MoveAndLeftHalf, with_texts, true)->Unit(benchmark::kMicrosecond);

}  // namespace
