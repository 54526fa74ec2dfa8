// The status bar's texts, on a new editor (800 x 400, pole (200, 200), scale
// 100, wall zoom 100, light 0.1 from the wall) with sample n = n / 100.
#include "app/status_text.h"

#include <gtest/gtest.h>

namespace {

struct PointerRow {
  const char* name;
  int x, y;
  bool inside = true;
  float polarScale = 100.0f;
  int clientWidth = 800;
  const char* text;
};

class StatusPointer : public ::testing::TestWithParam<PointerRow> {};

TEST_P(StatusPointer, ReadsThePointAndItsValue) {
  const PointerRow& row = GetParam();
  DistributionEditor editor;
  for (size_t n = 0; n < editor.curve.size(); ++n) editor.curve[n] = static_cast<float>(n) / 100;
  editor.polarScale = row.polarScale;
  editor.clientWidth = row.clientWidth;
  editor.OnPointerMove(row.x, row.y);
  EXPECT_EQ(StatusTextsFor(editor, Document(), row.inside).pointer, row.text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StatusPointer,
    ::testing::Values(
        PointerRow{"Pole", 200, 200, true, 100.0f, 800, "0\u00b0  curve 0 cd  pointer 0 cd"},
        PointerRow{"StraightDown", 200, 250, true, 100.0f, 800,
                   "0\u00b0  curve 0 cd  pointer 0.25 cd"},
        // Right and left of the pole: one degree, the mirror's.
        PointerRow{"Level", 300, 200, true, 100.0f, 800, "90\u00b0  curve 0.81 cd  pointer 1 cd"},
        PointerRow{"LevelMirrored", 100, 200, true, 100.0f, 800,
                   "90\u00b0  curve 0.81 cd  pointer 1 cd"},
        PointerRow{"StraightUp", 200, 100, true, 100.0f, 800,
                   "180\u00b0  curve 3.24 cd  pointer 1 cd"},
        // Beyond the outer ring: plain figures below 10^7, the exponent form above.
        PointerRow{"PlainFigures", 300, 200, true, 0.86f, 800,
                   "90\u00b0  curve 0.81 cd  pointer 13520 cd"},
        PointerRow{"FarOut", 300, 200, true, 1e-3f, 800,
                   "90\u00b0  curve 0.81 cd  pointer 1e+10 cd"},
        // The odd last column, a captured pointer beyond the window, a pointer gone.
        PointerRow{"OddLastColumn", 800, 200, true, 100.0f, 801, ""},
        PointerRow{"BelowTheWindow", 300, 400, true, 100.0f, 800, ""},
        PointerRow{"LeftTheWindow", 300, 200, false, 100.0f, 800, ""},
        // The wall opposite the lamp: E = v(90)^2 / D^2; the corners of the wall.
        PointerRow{"OppositeTheLamp", 600, 199, true, 100.0f, 800, "x 0 m  y 0 m  E 81 lx"},
        PointerRow{"WallTopLeft", 400, 0, true, 100.0f, 800, "x -0.4 m  y 0.398 m  E 0.9539 lx"},
        PointerRow{"WallBottomRight", 799, 399, true, 100.0f, 800,
                   "x 0.398 m  y -0.4 m  E 0.1111 lx"}),
    [](const ::testing::TestParamInfo<PointerRow>& row) { return std::string(row.param.name); });

TEST(StatusCurve, ShowsPeakFluxBeamAndField) {
  DistributionEditor editor;
  for (size_t n = 0; n < editor.curve.size(); ++n) editor.curve[n] = static_cast<float>(n) / 100;
  // The brightest sample is not straight down: no beam, no field.
  EXPECT_EQ(StatusTextsFor(editor, Document(), false).curve,
            "peak 3.24 cd at 180\u00b0  flux 12.11 lm  beam \u2013  field \u2013");
  // 100 cd to 20 degrees, nothing from 21: half and a tenth at 20.5 and 20.9.
  editor.ResetCurve();
  for (size_t n = 0; n <= 20; ++n) editor.curve[n] = 10.0f;
  EXPECT_EQ(StatusTextsFor(editor, Document(), false).curve,
            "peak 100 cd at 0\u00b0  flux 39.79 lm  beam 41.0\u00b0  field 41.8\u00b0");
  EXPECT_EQ(StatusTextsFor(editor, Document(), false).lamp, "light 0.1 m from the wall");
}

}  // namespace
