// The curve history on its own: what one edit keeps, and the memory it takes.
#include <gtest/gtest.h>

#include "editor/curve_history.h"

namespace {

using Curve = Curve;

TEST(CurveHistory, AStrokeKeepsOnlyTheSpanItChangedAndUndoRedoSwapIt) {
  CurveHistory history;
  Curve curve{};
  for (int i = 40; i < 70; ++i) curve[static_cast<size_t>(i)] = 0.5f * static_cast<float>(i);
  const Curve drawn = curve;
  ASSERT_TRUE(history.Record(curve));
  // 30 samples: the span, not the whole curve.
  EXPECT_LE(history.Bytes(), sizeof(Curve) + 64 + 30 * sizeof(float));

  EXPECT_TRUE(history.Undo(curve));
  EXPECT_EQ(curve, Curve{});
  EXPECT_TRUE(history.Redo(curve));
  EXPECT_EQ(curve, drawn);
  EXPECT_FALSE(history.Redo(curve));
  EXPECT_FALSE(history.Record(curve));  // as it was: no edit
  EXPECT_EQ(history.UndoCount(), 1u);
}

TEST(CurveHistory, AChangeNotYetRecordedIsWhatUndoTakesBack) {
  CurveHistory history;
  Curve curve{};
  curve[3] = 1.0f;
  history.Record(curve);
  curve[100] = 2.0f;  // changed without a record, as a stroke cut short would be
  EXPECT_TRUE(history.Undo(curve));
  EXPECT_EQ(curve[100], 0.0f);
  EXPECT_EQ(curve[3], 1.0f);
}

TEST(CurveHistory, ThousandWholeCurveEditsStayWithinTheirBound) {
  CurveHistory history;
  Curve curve{};
  for (size_t i = 0; i < CurveHistory::kCapacity + 500; ++i) {
    curve.fill(static_cast<float>(i + 1));
    history.Record(curve);
  }
  EXPECT_EQ(history.UndoCount(), CurveHistory::kCapacity);
  EXPECT_LE(history.Bytes(), sizeof(Curve) + CurveHistory::kCapacity * (64 + sizeof(Curve)));
}

}  // namespace
