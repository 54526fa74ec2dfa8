#pragma once
// LampHistory: undo and redo of the lamp, beside the editor.
//
// An edit is one change of the lamp between two moments the dispatch
// records (a stroke from press to release, a reset, a successful open, a
// command that reshapes the lamp). The history keeps a copy of the lamp as
// it last saw it, so nothing has to be copied when a stroke starts: Record
// compares the lamp with that copy. While the lamp keeps its planes (the
// same symmetry and C-angles), an edit keeps only the span of samples that
// differ, from the first to the last, counted plane after plane; a change of
// the planes themselves (an opened file, a reset of a file's lamp) keeps the
// other lamp whole.
//
// Each edit keeps the other state: the old values while it is done, the new
// ones while it is undone. Undo and redo swap them with the lamp, so one copy
// serves both directions.
//
// Memory: at most kCapacity edits; the oldest is dropped first. A stroke on
// a one-plane lamp takes sizeof(Edit) plus 4 bytes per sample in its span (a
// whole curve: 724); Bytes() tells the total.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "editor/lamp.h"

class LampHistory {
 public:
  static constexpr size_t kCapacity = 1000;

  // A history with nothing to undo that starts from `lamp`.
  explicit LampHistory(const Lamp& lamp = Lamp{}) : seen_(lamp) {}

  // Records the change from the lamp last seen to `lamp` as one edit and
  // drops whatever could have been redone. A lamp with every sample as it
  // was is no edit: nothing is recorded and the redo steps stay. True when an
  // edit was recorded.
  bool Record(const Lamp& lamp);

  // Takes back the latest edit (Undo) or does again the latest undone one
  // (Redo) on `lamp`. A change not yet recorded is recorded first, so Undo
  // takes back exactly the latest change. False, with `lamp` as it was, when
  // there is nothing to undo or redo.
  bool Undo(Lamp& lamp);
  bool Redo(Lamp& lamp);

  size_t UndoCount() const { return done_; }
  size_t RedoCount() const { return edits_.size() - done_; }

  // Bytes held for the edits and the seen copy, the containers' bookkeeping
  // aside.
  size_t Bytes() const;

 private:
  struct Edit {
    size_t first = 0;              // the span's first sample, planes one after another
    std::vector<float> values;     // the span's values in the state not shown
    std::unique_ptr<Lamp> whole;   // or the whole other lamp, when the planes changed
  };

  // Exchanges an edit's values with the lamp's and keeps the seen copy.
  void Swap(Edit& edit, Lamp& lamp);

  std::deque<Edit> edits_;  // oldest first; edits_[0, done_) are done
  size_t done_ = 0;
  Lamp seen_;  // the lamp after the latest recorded, undone or redone edit
};
