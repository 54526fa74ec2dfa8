// A lamp's C-angles: any angle folded by the symmetry onto the listed planes,
// and the light between two planes linear in candela.
#include <gtest/gtest.h>

#include <cmath>

#include "editor/lamp.h"

namespace {

struct FoldRow {
  const char* name;
  Symmetry symmetry;
  std::vector<float> angles;
  double c;
  size_t lower, upper;
  double t;
};

void PrintTo(const FoldRow& row, std::ostream* out) { *out << row.name; }

class Fold : public testing::TestWithParam<FoldRow> {};

TEST_P(Fold, BracketsTheListedPlanes) {
  const FoldRow& row = GetParam();
  Lamp lamp;
  lamp.symmetry = row.symmetry;
  lamp.planeAngles = row.angles;
  lamp.planes.assign(row.angles.size(), Curve{});
  const PlaneBracket b = BracketOf(lamp, row.c);
  EXPECT_EQ(b.lower, row.lower);
  EXPECT_EQ(b.upper, row.upper);
  EXPECT_NEAR(b.t, row.t, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Fold,
    testing::Values(
        FoldRow{"RotationalAnyAngle", Symmetry::kRotational, {0}, 123.0, 0, 0, 0.0},
        // Quadrant: 200 is 160 mirrored about 180, 20 about 90.
        FoldRow{"QuadrantThirdQuadrant", Symmetry::kQuadrant, {0, 30, 60, 90}, 200.0, 0, 1, 20.0 / 30.0},
        FoldRow{"QuadrantNegative", Symmetry::kQuadrant, {0, 30, 60, 90}, -45.0, 1, 2, 0.5},
        FoldRow{"Bilateral0To180Mirrored", Symmetry::kBilateral0To180, {0, 90, 180}, 300.0, 0, 1, 60.0 / 90.0},
        // About the 90-270 plane: C 0 is C 180, C 350 is C 190.
        FoldRow{"Bilateral90To270AtZero", Symmetry::kBilateral90To270, {90, 180, 270}, 0.0, 1, 1, 0.0},
        FoldRow{"Bilateral90To270Near360", Symmetry::kBilateral90To270, {90, 180, 270}, 350.0, 1, 2, 10.0 / 90.0},
        // Unevenly listed, and without 360: beyond the last plane the light
        // closes onto C 0.
        FoldRow{"NoneUneven", Symmetry::kNone, {0, 10, 100, 270}, 55.0, 1, 2, 0.5},
        FoldRow{"NoneClosing", Symmetry::kNone, {0, 90, 180, 270}, 315.0, 3, 0, 0.5},
        FoldRow{"NoneWrapsAFullTurn", Symmetry::kNone, {0, 90, 180, 270}, 450.0, 1, 1, 0.0},
        FoldRow{"NotANumberIsCZero", Symmetry::kNone, {0, 90, 180, 270}, std::nan(""), 0, 0, 0.0}),
    [](const testing::TestParamInfo<FoldRow>& p) { return p.param.name; });

TEST(Lamp, BetweenTwoPlanesTheCandelaIsLinearAndAtAPlaneExact) {
  Lamp lamp;
  lamp.symmetry = Symmetry::kBilateral0To180;
  lamp.planeAngles = {0, 90, 180};
  lamp.planes.assign(3, Curve{});
  lamp.planes[0].fill(2.0f);   // 4 cd
  lamp.planes[1].fill(4.0f);   // 16 cd
  lamp.planes[2].fill(0.3f);
  EXPECT_EQ(CurveAt(lamp, 90.0), lamp.planes[1]);
  EXPECT_FLOAT_EQ(CurveAt(lamp, 45.0)[7], std::sqrt(10.0f));  // (4 + 16) / 2 cd
  EXPECT_EQ(PlanesAt(lamp, 45.0), std::vector<size_t>{});
  EXPECT_EQ(PlanesAt(lamp, 270.0), std::vector<size_t>{1});
  EXPECT_FALSE(lamp.AllPlanesEqual());
  lamp.planes.assign(3, lamp.planes[1]);
  EXPECT_EQ(lamp.Simplified(), Lamp::OfCurve(lamp.planes[1]));
}

}  // namespace
