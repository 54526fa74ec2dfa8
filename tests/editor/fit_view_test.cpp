// Fitting both views to the curve: a table of curves with their results
// worked by hand, each compared in single precision.
#include <gtest/gtest.h>

#include <cfloat>
#include <ostream>

#include "editor/distribution_editor.h"
#include "editor/fit_view.h"

namespace {


Curve Constant(float value) {
  Curve curve;
  curve.fill(value);
  return curve;
}

Curve Samples(std::initializer_list<std::pair<int, float>> samples) {
  Curve curve{};
  for (const auto& [degree, value] : samples) curve[static_cast<size_t>(degree)] = value;
  return curve;
}

struct FitRow {
  const char* name;
  int32_t width, height;
  Curve curve;
  // The view after the fit.
  float centerX, centerY, polarScale, wallDistance, wallScale;
};

void PrintTo(const FitRow& row, std::ostream* out) { *out << row.name; }

// Every row starts from a view that differs from each expected value, so a
// field the fit forgot to set shows.
constexpr float kStartPolar = 55.0f, kStartWall = 33.0f, kStartDistance = 0.5f;

class FitViewTable : public testing::TestWithParam<FitRow> {};

TEST_P(FitViewTable, SetsTheViewFieldsOnly) {
  const FitRow& row = GetParam();
  DistributionEditor editor;
  editor.clientWidth = row.width;
  editor.clientHeight = row.height;
  editor.curve = row.curve;
  editor.centerX = -7.0f;
  editor.centerY = 9.0f;
  editor.polarScale = kStartPolar;
  editor.wallScale = kStartWall;
  editor.wallDistance = kStartDistance;
  editor.lastX = 12;
  editor.lastY = 34;

  FitViewToCurve(editor);

  EXPECT_EQ(editor.centerX, row.centerX);
  EXPECT_EQ(editor.centerY, row.centerY);
  EXPECT_EQ(editor.polarScale, row.polarScale);
  EXPECT_EQ(editor.wallDistance, row.wallDistance);
  EXPECT_EQ(editor.wallScale, row.wallScale);
  EXPECT_EQ(editor.curve, row.curve);
  EXPECT_EQ(editor.lastX, 12);
  EXPECT_EQ(editor.lastY, 34);
  EXPECT_EQ(editor.clientWidth, row.width);
}

// hw = halfWidth, H = clientHeight; the origin goes to (hw / 2, H / 2),
// polarScale = 0.45 min(hw, H) / v_max, D* = max v_j sin(j)^1.5,
// wallDistance = D*, wallScale = 0.025 H / D*.
INSTANTIATE_TEST_SUITE_P(
    HandWorked, FitViewTable,
    testing::Values(
        // 800 x 400: hw = H = 400. v = 1 everywhere: 180 / 1; D* = 1 at 90 degrees,
        // 10 / 1.
        FitRow{"Constant", 800, 400, Constant(1.0f), 200.0f, 200.0f, 180.0f, 1.0f, 10.0f},
        // A downlight: 10 at 0 and 4 at 30. v_max = 10: 18. Straight down lights
        // nothing on the wall (sin 0 = 0); 30 degrees gives 4 * 0.5^1.5 = sqrt 2,
        // and 10 / sqrt 2 = 5 sqrt 2.
        FitRow{"DownlightPeakAtZero", 800, 400, Samples({{0, 10.0f}, {30, 4.0f}}), 200.0f,
               200.0f, 18.0f, 1.41421354f, 7.07106781f},
        // An uplight: 5 at 180 and 2 at 150. v_max = 5: 36. sin 180 is 1.2e-16 in
        // double, so 180 lights almost nothing; 150 gives 2 * 0.5^1.5 = sqrt 2 / 2.
        FitRow{"Uplight", 800, 400, Samples({{150, 2.0f}, {180, 5.0f}}), 200.0f, 200.0f, 36.0f,
               0.707106769f, 14.1421356f},
        // Nothing to fit: the origin moves, the scales and the light stay.
        FitRow{"AllZero", 800, 400, Curve{}, 200.0f, 200.0f, kStartPolar, kStartDistance,
               kStartWall},
        // The largest float in every sample: 180 / FLT_MAX and 10 / FLT_MAX fall
        // below the smallest scale, FLT_MAX is beyond the farthest light: each
        // stops at its bound.
        FitRow{"LargestFloat", 800, 400, Constant(FLT_MAX), 200.0f, 200.0f,
               DistributionEditor::kMinScale, DistributionEditor::kMaxDistance,
               DistributionEditor::kMinScale},
        // The largest sample a file can give, sqrt(FLT_MAX) = 1.8446743e19:
        // 180 / v and 10 / v, both within the bounds.
        FitRow{"LargestFileSample", 800, 400, Constant(1.8446743e19f), 200.0f, 200.0f,
               9.75782038e-18f, 1.8446743e19f, 5.42101138e-19f},
        // An odd client size, 787 x 301: hw = 393, so the origin is (196.5, 150.5)
        // and the smaller side is H: 0.45 * 301 / 2 = 67.725 and 0.025 * 301 / 2 =
        // 3.7625, each rounded to single precision.
        FitRow{"OddClientSize", 787, 301, Constant(2.0f), 196.5f, 150.5f, 67.7249985f, 2.0f,
               3.76250005f}),
    [](const testing::TestParamInfo<FitRow>& p) { return p.param.name; });

}  // namespace
