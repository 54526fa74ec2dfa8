// Undo and redo of a drawn lamp's curve, without rendering, and what recording adds to a
// stroke's release: the history (a seen copy; each edit keeps only the span
// it changed, swapped on undo and redo) against a straightforward version
// that copies the whole curve at every press and keeps whole curves.
#include <benchmark/benchmark.h>

#include <deque>

#include "editor/lamp_history.h"

namespace {

using Curve = Curve;

// A typical stroke: 40 degrees of a curve that already holds samples.
Curve Before() {
  Curve curve;
  for (size_t i = 0; i < curve.size(); ++i) curve[i] = 1.0f + 0.01f * static_cast<float>(i);
  return curve;
}

Curve After() {
  Curve curve = Before();
  for (size_t i = 60; i < 100; ++i) curve[i] = 3.0f;
  return curve;
}

// The straightforward history: the curve before each press, whole.
class SnapshotHistory {
 public:
  void Press(const Curve& curve) { before_ = curve; }
  bool Release(const Curve& curve) {
    if (curve == before_) return false;
    undo_.push_back(before_);
    if (undo_.size() > LampHistory::kCapacity) undo_.pop_front();
    redo_.clear();
    return true;
  }
  bool Undo(Curve& curve) { return Step(undo_, redo_, curve); }
  bool Redo(Curve& curve) { return Step(redo_, undo_, curve); }

 private:
  static bool Step(std::deque<Curve>& from, std::deque<Curve>& to, Curve& curve) {
    if (from.empty()) return false;
    to.push_back(curve);
    curve = from.back();
    from.pop_back();
    return true;
  }
  Curve before_{};
  std::deque<Curve> undo_, redo_;
};

// One undo and one redo per iteration: half the time is one step.
void BM_HistoryUndoRedo(benchmark::State& state) {
  Lamp lamp = Lamp::OfCurve(Before());
  LampHistory history(lamp);
  lamp.planes[0] = After();
  history.Record(lamp);
  for (auto _ : state) {
    history.Undo(lamp);
    history.Redo(lamp);
    benchmark::DoNotOptimize(lamp.planes[0].data());
  }
  state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_HistoryUndoRedo);

void BM_PlainUndoRedo(benchmark::State& state) {
  Curve curve = Before();
  SnapshotHistory history;
  history.Press(curve);
  curve = After();
  history.Release(curve);
  for (auto _ : state) {
    history.Undo(curve);
    history.Redo(curve);
    benchmark::DoNotOptimize(curve.data());
  }
  state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_PlainUndoRedo);

// What a press and a release pay for recording, with a full history of 1000
// edits so the oldest is dropped each time.
void BM_HistoryRecordStroke(benchmark::State& state) {
  const Curve before = Before(), after = After();
  Lamp lamp = Lamp::OfCurve(before);
  LampHistory history(lamp);
  bool drawn = false;
  for (auto _ : state) {
    drawn = !drawn;
    lamp.planes[0] = drawn ? after : before;  // the stroke's samples
    benchmark::DoNotOptimize(history.Record(lamp));  // the release
  }
}
BENCHMARK(BM_HistoryRecordStroke);

void BM_PlainRecordStroke(benchmark::State& state) {
  const Curve before = Before(), after = After();
  Curve curve = before;
  SnapshotHistory history;
  bool drawn = false;
  for (auto _ : state) {
    drawn = !drawn;
    history.Press(curve);
    curve = drawn ? after : before;
    benchmark::DoNotOptimize(history.Release(curve));
  }
}
BENCHMARK(BM_PlainRecordStroke);

// The assignment of the stroke's samples alone, to subtract from both.
void BM_StrokeSamplesOnly(benchmark::State& state) {
  const Curve before = Before(), after = After();
  Curve curve = before;
  bool drawn = false;
  for (auto _ : state) {
    drawn = !drawn;
    curve = drawn ? after : before;
    benchmark::DoNotOptimize(curve.data());
  }
}
BENCHMARK(BM_StrokeSamplesOnly);

}  // namespace
