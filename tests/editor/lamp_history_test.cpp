// The lamp history on its own: what one edit keeps, and the memory it takes.
#include <gtest/gtest.h>

#include "editor/lamp_history.h"

namespace {

// What the history holds besides the edits: its copy of a one-plane lamp.
constexpr size_t kSeenBytes = sizeof(Lamp) + sizeof(Curve) + sizeof(float);

TEST(LampHistory, AStrokeKeepsOnlyTheSpanItChangedAndUndoRedoSwapIt) {
  LampHistory history;
  Lamp lamp;
  for (int i = 40; i < 70; ++i) lamp.planes[0][static_cast<size_t>(i)] = 0.5f * static_cast<float>(i);
  const Lamp drawn = lamp;
  ASSERT_TRUE(history.Record(lamp));
  // 30 samples: the span, not the whole curve.
  EXPECT_LE(history.Bytes(), kSeenBytes + 64 + 30 * sizeof(float));

  EXPECT_TRUE(history.Undo(lamp));
  EXPECT_EQ(lamp, Lamp{});
  EXPECT_TRUE(history.Redo(lamp));
  EXPECT_EQ(lamp, drawn);
  EXPECT_FALSE(history.Redo(lamp));
  EXPECT_FALSE(history.Record(lamp));  // as it was: no edit
  EXPECT_EQ(history.UndoCount(), 1u);
}

TEST(LampHistory, AChangeNotYetRecordedIsWhatUndoTakesBack) {
  LampHistory history;
  Lamp lamp;
  lamp.planes[0][3] = 1.0f;
  history.Record(lamp);
  lamp.planes[0][100] = 2.0f;  // changed without a record, as a stroke cut short would be
  EXPECT_TRUE(history.Undo(lamp));
  EXPECT_EQ(lamp.planes[0][100], 0.0f);
  EXPECT_EQ(lamp.planes[0][3], 1.0f);
}

// An opened file's lamp replaces the planes; a stroke on its last plane then
// keeps a span there; both come back in order.
TEST(LampHistory, NewPlanesAreKeptWholeAndAStrokeOnThemAsASpan) {
  LampHistory history;
  Lamp lamp;
  Lamp quadrant;
  quadrant.symmetry = Symmetry::kQuadrant;
  quadrant.planeAngles = {0.0f, 45.0f, 90.0f};
  quadrant.planes.assign(3, Curve{});
  quadrant.planes[1].fill(2.0f);
  lamp = quadrant;
  ASSERT_TRUE(history.Record(lamp));
  lamp.planes[2][7] = 5.0f;
  ASSERT_TRUE(history.Record(lamp));
  const Lamp stroked = lamp;

  EXPECT_TRUE(history.Undo(lamp));
  EXPECT_EQ(lamp, quadrant);
  EXPECT_TRUE(history.Undo(lamp));
  EXPECT_EQ(lamp, Lamp{});
  EXPECT_TRUE(history.Redo(lamp));
  EXPECT_TRUE(history.Redo(lamp));
  EXPECT_EQ(lamp, stroked);
}

TEST(LampHistory, ThousandWholeCurveEditsStayWithinTheirBound) {
  LampHistory history;
  Lamp lamp;
  for (size_t i = 0; i < LampHistory::kCapacity + 500; ++i) {
    lamp.planes[0].fill(static_cast<float>(i + 1));
    history.Record(lamp);
  }
  EXPECT_EQ(history.UndoCount(), LampHistory::kCapacity);
  EXPECT_LE(history.Bytes(), kSeenBytes + LampHistory::kCapacity * (96 + sizeof(Curve)));
}

}  // namespace
