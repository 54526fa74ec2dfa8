#include "editor/lamp_history.h"

#include <algorithm>
#include <utility>

namespace {

constexpr size_t kSamples = kCurveSampleCount;

float& SampleAt(Lamp& lamp, size_t flat) { return lamp.planes[flat / kSamples][flat % kSamples]; }

float SampleAt(const Lamp& lamp, size_t flat) {
  return lamp.planes[flat / kSamples][flat % kSamples];
}

}  // namespace

bool LampHistory::Record(const Lamp& lamp) {
  Edit edit;
  if (!lamp.SameShape(seen_) || lamp.planes.size() != seen_.planes.size()) {
    edit.whole = std::make_unique<Lamp>(seen_);
    seen_ = lamp;
  } else {
    // The span from the first to the last sample that differs. Samples are
    // never NaN, so != finds exactly the changed ones.
    const size_t total = lamp.planes.size() * kSamples;
    size_t first = 0;
    while (first < total && SampleAt(lamp, first) == SampleAt(seen_, first)) ++first;
    if (first == total) return false;
    size_t end = total;
    while (SampleAt(lamp, end - 1) == SampleAt(seen_, end - 1)) --end;
    edit.first = first;
    edit.values.resize(end - first);
    for (size_t i = first; i < end; ++i) {
      edit.values[i - first] = SampleAt(seen_, i);
      SampleAt(seen_, i) = SampleAt(lamp, i);
    }
  }
  edits_.resize(done_);  // a new edit ends what could have been redone
  if (edits_.size() == kCapacity) edits_.pop_front();
  edits_.push_back(std::move(edit));
  done_ = edits_.size();
  return true;
}

void LampHistory::Swap(Edit& edit, Lamp& lamp) {
  if (edit.whole) {
    std::swap(*edit.whole, lamp);
    seen_ = lamp;
    return;
  }
  for (size_t i = 0; i < edit.values.size(); ++i) {
    float& sample = SampleAt(lamp, edit.first + i);
    std::swap(edit.values[i], sample);
    SampleAt(seen_, edit.first + i) = sample;
  }
}

bool LampHistory::Undo(Lamp& lamp) {
  Record(lamp);
  if (done_ == 0) return false;
  --done_;
  Swap(edits_[done_], lamp);
  return true;
}

bool LampHistory::Redo(Lamp& lamp) {
  // A change not yet recorded is kept as an edit of its own; it ends the redo
  // steps as any new edit does.
  Record(lamp);
  if (done_ == edits_.size()) return false;
  Swap(edits_[done_], lamp);
  ++done_;
  return true;
}

size_t LampHistory::Bytes() const {
  const auto lampBytes = [](const Lamp& lamp) {
    return sizeof(Lamp) + lamp.planes.capacity() * sizeof(Curve) +
           lamp.planeAngles.capacity() * sizeof(float);
  };
  size_t bytes = lampBytes(seen_);
  for (const Edit& edit : edits_) {
    bytes += sizeof(Edit) + edit.values.capacity() * sizeof(float);
    if (edit.whole) bytes += lampBytes(*edit.whole);
  }
  return bytes;
}
