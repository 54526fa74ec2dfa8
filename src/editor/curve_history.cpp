#include "editor/curve_history.h"

#include <algorithm>

bool CurveHistory::Record(const Curve& curve) {
  // The span from the first to the last sample that differs. Samples are
  // never NaN, so != finds exactly the changed ones.
  size_t first = 0;
  while (first < curve.size() && curve[first] == seen_[first]) ++first;
  if (first == curve.size()) return false;
  size_t end = curve.size();
  while (curve[end - 1] == seen_[end - 1]) --end;

  edits_.resize(done_);  // a new edit ends what could have been redone
  if (edits_.size() == kCapacity) edits_.pop_front();
  Edit& edit = edits_.emplace_back();
  edit.first = static_cast<uint16_t>(first);
  edit.values.assign(seen_.begin() + static_cast<std::ptrdiff_t>(first),
                     seen_.begin() + static_cast<std::ptrdiff_t>(end));
  std::copy(curve.begin() + static_cast<std::ptrdiff_t>(first),
            curve.begin() + static_cast<std::ptrdiff_t>(end),
            seen_.begin() + static_cast<std::ptrdiff_t>(first));
  done_ = edits_.size();
  return true;
}

void CurveHistory::Swap(Edit& edit, Curve& curve) {
  const auto first = static_cast<std::ptrdiff_t>(edit.first);
  const auto count = static_cast<std::ptrdiff_t>(edit.values.size());
  std::swap_ranges(edit.values.begin(), edit.values.end(), curve.begin() + first);
  std::copy(curve.begin() + first, curve.begin() + first + count, seen_.begin() + first);
}

bool CurveHistory::Undo(Curve& curve) {
  Record(curve);
  if (done_ == 0) return false;
  --done_;
  Swap(edits_[done_], curve);
  return true;
}

bool CurveHistory::Redo(Curve& curve) {
  // A change not yet recorded is kept as an edit of its own; it ends the redo
  // steps as any new edit does.
  Record(curve);
  if (done_ == edits_.size()) return false;
  Swap(edits_[done_], curve);
  ++done_;
  return true;
}

size_t CurveHistory::Bytes() const {
  size_t bytes = sizeof seen_;
  for (const Edit& edit : edits_) bytes += sizeof(Edit) + edit.values.capacity() * sizeof(float);
  return bytes;
}
