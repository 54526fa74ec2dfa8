#pragma once
// CurveHistory: undo and redo of the curve, beside the editor.
//
// An edit is one change of the curve between two moments the dispatch
// records (a stroke from press to release, a reset, a successful open). The
// history keeps a copy of the curve as it last saw it, so nothing has to be
// copied when a stroke starts: Record compares the curve with that copy and
// keeps only the span of samples that differ, from the first to the last.
//
// Each edit keeps that span's values of the other state: the old values while
// it is done, the new ones while it is undone. Undo and redo swap them with
// the curve, so one copy serves both directions.
//
// Memory: at most kCapacity edits; the oldest is dropped first. An edit takes
// sizeof(Edit) plus 4 bytes per sample in its span (a whole curve: 724), the
// seen copy 724 bytes more; Bytes() tells the total.

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "editor/distribution_editor.h"

class CurveHistory {
 public:

  static constexpr size_t kCapacity = 1000;

  // A history with nothing to undo that starts from `curve`.
  explicit CurveHistory(const Curve& curve = Curve{}) : seen_(curve) {}

  // Records the change from the curve last seen to `curve` as one edit and
  // drops whatever could have been redone. A curve with every sample as it
  // was is no edit: nothing is recorded and the redo steps stay. True when an
  // edit was recorded.
  bool Record(const Curve& curve);

  // Takes back the latest edit (Undo) or does again the latest undone one
  // (Redo) on `curve`. A change not yet recorded is recorded first, so Undo
  // takes back exactly the latest change. False, with `curve` as it was, when
  // there is nothing to undo or redo.
  bool Undo(Curve& curve);
  bool Redo(Curve& curve);

  size_t UndoCount() const { return done_; }
  size_t RedoCount() const { return edits_.size() - done_; }

  // Bytes held for the edits and the seen copy, the containers' bookkeeping
  // aside.
  size_t Bytes() const;

 private:
  struct Edit {
    uint16_t first = 0;         // the span's first sample
    std::vector<float> values;  // the span's values in the state not shown
  };

  // Exchanges an edit's values with the curve's span and keeps the seen copy.
  void Swap(Edit& edit, Curve& curve);

  std::deque<Edit> edits_;  // oldest first; edits_[0, done_) are done
  size_t done_ = 0;
  Curve seen_;  // the curve after the latest recorded, undone or redone edit
};
