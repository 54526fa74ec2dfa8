// The raster over an image: figures, clipping to the area, text, scan lines.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <utility>

#include "render/label_font.h"
#include "render/raster.h"

namespace {

constexpr uint32_t kPen = 0x123456u;
constexpr uint32_t kSentinel = 0xabcdefu;

int CountColour(const Image& image, uint32_t colour) {
  int n = 0;
  for (uint32_t p : image.pixels) n += p == colour;
  return n;
}

uint32_t At(const Image& image, int x, int y) {
  return image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)];
}

struct RectangleRow {
  double l, t, r, b;
  int lit;
};

class RectangleRule : public testing::TestWithParam<RectangleRow> {};

TEST_P(RectangleRule, OutlinesTheBoxWithoutItsRightColumnAndBottomRow) {
  const RectangleRow& row = GetParam();
  Image image(40, 40);
  Raster raster(image, 0, 0, 40, 40);
  raster.SelectPen(kPen);
  raster.Rectangle(row.l, row.t, row.r, row.b);
  EXPECT_EQ(CountColour(image, kPen), row.lit);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, RectangleRule,
    testing::Values(
        // A marker: the 4 x 4 pixels from (10, 10) to (13, 13), outline only.
        RectangleRow{10, 10, 14, 14, 12},
        // Corners given the other way round: the same box.
        RectangleRow{14, 14, 10, 10, 12},
        // One pixel wide: a full column of 5.
        RectangleRow{10, 10, 11, 15, 5},
        // 1 x 1: GDI's four sides all have length zero and light nothing.
        RectangleRow{10, 10, 11, 11, 0},
        // Empty boxes draw nothing.
        RectangleRow{10, 10, 10, 15, 0}, RectangleRow{10, 10, 15, 10, 0},
        // Coordinates are truncated toward zero: (9.9, 9.9, 13.9, 13.9) is the box (9, 9, 13, 13).
        RectangleRow{9.9, 9.9, 13.9, 13.9, 12},
        // Far outside: nothing, without converting the huge values.
        RectangleRow{1e300, -1e300, 2e300, 5, 0}));

TEST(Rectangle, MarkerBoxOutlinesItsFourByFourPixels) {
  Image image(400, 400);
  Raster raster(image, 0, 0, 400, 400);
  raster.SelectPen(kPen);
  raster.Rectangle(198, 198, 202, 202);
  for (int y = 196; y <= 203; ++y) {
    for (int x = 196; x <= 203; ++x) {
      const bool onOutline = x >= 198 && x <= 201 && y >= 198 && y <= 201 && (x == 198 || x == 201 || y == 198 || y == 201);
      EXPECT_EQ(At(image, x, y) == kPen, onOutline) << x << "," << y;
    }
  }
}

// Figures anywhere, of any size, never touch a pixel outside the area.
TEST(Raster, NeverWritesOutsideItsArea) {
  Image image(60, 50);
  std::fill(image.pixels.begin(), image.pixels.end(), kSentinel);
  Raster raster(image, 10, 5, 40, 45);
  raster.SelectPen(kPen);
  raster.SetTextColour(kPen);
  std::mt19937 rng(5);
  const double scales[] = {50, 1e3, 1e6, 1e12, 1e17, 2e18, 1e30, 1e300};
  std::uniform_real_distribution<double> unit(-1, 1);
  for (double scale : scales) {
    for (int n = 0; n < 200; ++n) {
      const double a = 25 + unit(rng) * scale, b = 25 + unit(rng) * scale;
      const double c = 25 + unit(rng) * scale, d = 25 + unit(rng) * scale;
      raster.MoveTo(a, b);
      raster.LineTo(c, d);
      raster.Rectangle(a, b, c, d);
      raster.Ellipse(a, b, c, d);
      raster.Ellipse(25 - std::fabs(a), 25 - std::fabs(b), 25 + std::fabs(a), 25 + std::fabs(b));
      raster.TextOut(a, b, "5 E-12");
    }
  }
  const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
  raster.MoveTo(nan, 3);
  raster.LineTo(20, 20);
  raster.LineTo(inf, -inf);
  raster.Ellipse(-inf, 0, inf, 30);
  raster.TextOut(nan, 10, "1");
  for (int y = 0; y < 50; ++y) {
    for (int x = 0; x < 60; ++x) {
      if (x >= 10 && x < 40 && y >= 5 && y < 45) continue;
      ASSERT_EQ(At(image, x, y), kSentinel) << x << "," << y;
    }
  }
  EXPECT_GT(CountColour(image, kPen), 100);
}

// End points beyond the exact range are cut to the area first; what shows
// is still the line through them.
TEST(Line, EndsBeyondTheExactRangeStillShowTheLineThroughThem) {
  Image image(40, 30);
  Raster raster(image, 0, 0, 40, 30);
  raster.SelectPen(kPen);
  raster.MoveTo(-1e30, 10);
  raster.LineTo(1e30, 10);
  raster.MoveTo(-1e19, -1e19);
  raster.LineTo(1e19, 1e19);
  for (int x = 0; x < 40; ++x) EXPECT_EQ(At(image, x, 10), kPen) << x;
  for (int k = 0; k < 30; ++k) EXPECT_EQ(At(image, k, k), kPen) << k;
  EXPECT_EQ(CountColour(image, kPen), 40 + 30 - 1);
}

// A ray from a point near the area to one 1e50 away, like a curve segment
// from a zero sample at the pole to a huge one: it shows where it crosses
// the area, in either direction, and nothing when it passes beside it.
TEST(Line, RayToAFarPointCrossesOrMissesTheAreaAsItShould) {
  for (bool towardFar : {true, false}) {
    Image image(40, 30);
    Raster raster(image, 0, 0, 40, 30);
    raster.SelectPen(kPen);
    auto ray = [&](double nx, double ny, double fx, double fy) {
      raster.MoveTo(towardFar ? nx : fx, towardFar ? ny : fy);
      raster.LineTo(towardFar ? fx : nx, towardFar ? fy : ny);
    };
    ray(-100, -95, -100 + 1e50, -95 + 1e50);  // the diagonal through (k, k + 5)
    ray(60, -100, 60 + 1e48, -100 + 1e50);     // passes a column or two right of the area
    ray(-3, 15, -1e50, 15 + 1e48);             // starts just left of it, runs away leftward
    for (int k = 0; k < 25; ++k) EXPECT_EQ(At(image, k, k + 5), kPen) << k;
    EXPECT_EQ(CountColour(image, kPen), 25) << towardFar;
  }
}

// Figures drawn in bands of rows, each band with every figure, equal the
// figures drawn whole: lines with far ends and rings, exact and from the
// equation, keep their pixels across any cut.
TEST(Raster, RowsDrawnApartGiveTheWholeImage) {
  auto draw = [](Raster& r) {
    r.SelectPen(kPen);
    for (double k = 1; k < 9; ++k) {
      r.MoveTo(-1e30, -1e30 * k / 7.3);
      r.LineTo(1e30, 1e30 * k / 9.1);
    }
    r.MoveTo(35, 12);
    r.LineTo(-1e50, 1e48);
    r.Ellipse(5, 4, 66, 59);
    r.Ellipse(-9000, -20, 60, 9000);
  };
  Image whole(80, 72), banded(80, 72);
  Raster all(whole, 0, 0, 80, 72);
  draw(all);
  for (auto [from, to] : {std::pair{-5, 1}, {1, 2}, {2, 29}, {29, 40}, {40, 100}}) {
    Raster band(banded, 0, 0, 80, 72);
    band.RestrictRows(from, to);
    draw(band);
  }
  EXPECT_EQ(whole.pixels, banded.pixels);
  EXPECT_GT(CountColour(whole, kPen), 150);
}

TEST(Raster, AnAreaLargerThanTheImageIsCutToIt) {
  Image image(30, 20);
  Raster raster(image, 0, 0, 400, 300);
  raster.SelectPen(kPen);
  raster.Fill(kPen);
  raster.Ellipse(-100, -100, 500, 400);
  raster.MoveTo(0, 0);
  raster.LineTo(1000, 700);
  EXPECT_EQ(CountColour(image, kPen), 600);
}

// Draws `box` into one image and its mirror image into another; the second,
// mirrored back, must equal the first.
void ExpectMirrorSymmetric(double l, double t, double r, double b, bool acrossColumns, bool acrossRows) {
  const int w = 200, h = 160;
  Image direct(w, h), mirrored(w, h);
  Raster a(direct, 0, 0, w, h), m(mirrored, 0, 0, w, h);
  a.SelectPen(kPen);
  m.SelectPen(kPen);
  a.Ellipse(l, t, r, b);
  const double ml = acrossColumns ? w - r : l, mr = acrossColumns ? w - l : r;
  const double mt = acrossRows ? h - b : t, mb = acrossRows ? h - t : b;
  m.Ellipse(ml, mt, mr, mb);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int mx = acrossColumns ? w - 1 - x : x, my = acrossRows ? h - 1 - y : y;
      ASSERT_EQ(At(direct, x, y), At(mirrored, mx, my)) << l << "," << t << "," << r << "," << b << " at " << x << "," << y;
    }
  }
}

TEST(Ellipse, RingsAreSymmetricInTheirFourQuadrants) {
  const double boxes[][4] = {
      {37, 22, 137, 95},             // even and odd sides, wholly inside
      {-40, 10, 171, 300},           // cut on three sides
      {3, 3, 6, 9},                  // tiny
      {-4000, -3900, 4100, 4101},    // larger than GDI's integer outline, crossing the image
      {-9000, 40, 150, 7001},        // large and flat, the image near one end
      {-1e9 + 100, -1e9 + 80, 1e9 + 100, 1e9 + 80},  // radius 1e9 with the right end in view
  };
  for (const auto& box : boxes) {
    ExpectMirrorSymmetric(box[0], box[1], box[2], box[3], true, false);
    ExpectMirrorSymmetric(box[0], box[1], box[2], box[3], false, true);
    ExpectMirrorSymmetric(box[0], box[1], box[2], box[3], true, true);
  }
}

// Rings whose rightmost pixel is (50, 50), their boxes' corners near the
// limit of what an ellipse is drawn for: within it the ring keeps its place,
// beyond it nothing is drawn (before, such rings were drawn pixels away).
struct FarRingRow {
  const char* name;
  int log2Radius;
  bool drawn;
};

class FarRing : public testing::TestWithParam<FarRingRow> {};

TEST_P(FarRing, KeepsItsPlaceOrIsNotDrawn) {
  const double r = std::ldexp(1.0, GetParam().log2Radius);
  Image image(100, 100);
  Raster raster(image, 0, 0, 100, 100);
  raster.SelectPen(kPen);
  raster.Ellipse(50 - 2 * r, 50 - r, 51, 51 + r);
  if (GetParam().drawn) {
    EXPECT_EQ(At(image, 50, 50), kPen);
    EXPECT_NE(At(image, 51, 50), kPen);
  } else {
    EXPECT_EQ(CountColour(image, kPen), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FarRing,
    testing::Values(FarRingRow{"Radius2e9", 31, true},
                    // Corners at -(2^51 - 50): the last drawn.
                    FarRingRow{"CornerWithinTheLimit", 50, true},
                    // Corners at -(2^53 - 50), where the equation's rows drift.
                    FarRingRow{"CornerBeyondTheLimit", 52, false},
                    FarRingRow{"CornerBeyond1e154", 520, false}),
    [](const testing::TestParamInfo<FarRingRow>& p) { return std::string(p.param.name); });

// A ring far larger than GDI's integer outline: what shows lies on the
// circle and is connected, row after row.
TEST(Ellipse, HugeRingShowsItsVisibleArcOnTheCircle) {
  const double radius = 1e9, cx = -1e9 + 120.5, cy = 80.5;
  Image image(200, 160);
  Raster raster(image, 0, 0, 200, 160);
  raster.SelectPen(kPen);
  const double l = std::trunc(cx - radius), t = std::trunc(cy - radius);
  const double right = std::trunc(cx + radius), bottom = std::trunc(cy + radius);
  raster.Ellipse(l, t, right, bottom);
  // The circle through the centres of the box's outermost pixels.
  const double centreX = (l + right - 1) / 2, centreY = (t + bottom - 1) / 2, r = (right - l - 1) / 2;
  for (int y = 0; y < 160; ++y) {
    int lit = 0;
    for (int x = 0; x < 200; ++x) {
      if (At(image, x, y) != kPen) continue;
      ++lit;
      const double distance = std::hypot(x - centreX, y - centreY);
      EXPECT_LE(std::fabs(distance - r), 1.0) << x << "," << y;
    }
    EXPECT_GE(lit, 1) << "row " << y;
  }
}

TEST(Text, DrawsOnlyInkInTheTextColourWithTheCellsTopLeftAtThePoint) {
  Image image(60, 30);
  std::fill(image.pixels.begin(), image.pixels.end(), kSentinel);
  Raster raster(image, 0, 0, 60, 30);
  raster.SetTextColour(kPen);
  raster.TextOut(4, 6, "1 E+0");
  int ink = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 60; ++x) {
      const uint32_t p = At(image, x, y);
      ASSERT_TRUE(p == kPen || p == kSentinel);
      if (p != kPen) continue;
      ++ink;
      // Inside the five cells, within the glyphs' rows 3 to 12.
      EXPECT_TRUE(x >= 4 && x < 4 + 5 * label_font::kCellWidth && y >= 6 + 3 && y <= 6 + 12) << x << "," << y;
    }
  }
  EXPECT_GT(ink, 60);
}

TEST(Text, CutAtTheAreaEdgeShowsThePartInside) {
  Image whole(40, 20), cut(40, 20);
  Raster a(whole, 0, 0, 40, 20), b(cut, 0, 0, 40, 20);
  a.SetTextColour(kPen);
  b.SetTextColour(kPen);
  a.TextOut(0, 0, "2 E-5");
  b.TextOut(-5, -4, "2 E-5");
  for (int y = 0; y + 4 < 20; ++y) {
    for (int x = 0; x + 5 < 40; ++x) EXPECT_EQ(At(whole, x + 5, y + 4), At(cut, x, y)) << x << "," << y;
  }
}

TEST(Text, ScaledLabelsDrawEveryFontPixelAsASquare) {
  Image single(40, 20), doubled(80, 40);
  Raster a(single, 0, 0, 40, 20), b(doubled, 0, 0, 80, 40);
  a.SetTextColour(kPen);
  b.SetTextColour(kPen);
  b.SetTextScale(2);
  a.TextOut(0, 0, "5 E+3");
  b.TextOut(0, 0, "5 E+3");
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 80; ++x) EXPECT_EQ(At(doubled, x, y), At(single, x / 2, y / 2)) << x << "," << y;
  }
}

TEST(Font, EveryLabelCharacterHasItsOwnGlyph) {
  const char characters[] = "0123456789E+-";
  for (const char* a = characters; *a; ++a) {
    const label_font::Glyph& ga = label_font::GlyphOf(*a);
    EXPECT_NE(ga, label_font::GlyphOf(' ')) << *a;
    for (const char* b = a + 1; *b; ++b) EXPECT_NE(ga, label_font::GlyphOf(*b)) << *a << " " << *b;
  }
}

TEST(ScanLine, ZeroIsTheBottomRowOfTheArea) {
  Image image(10, 8);
  Raster raster(image, 2, 1, 6, 7);
  const uint32_t line[] = {1, 2, 3, 4, 5, 6};  // longer than the area: the rest is cut
  raster.SetScanLine(0, line);
  raster.SetScanLine(5, line);
  raster.SetScanLine(6, line);  // above the area
  raster.SetScanLine(-1, line);  // below it
  for (int x = 0; x < 10; ++x) {
    const uint32_t expected = x >= 2 && x < 6 ? static_cast<uint32_t>(x - 1) : kOpaque;
    EXPECT_EQ(At(image, x, 6), expected) << x;
    EXPECT_EQ(At(image, x, 1), expected) << x;
    EXPECT_EQ(At(image, x, 0), kOpaque);
    EXPECT_EQ(At(image, x, 7), kOpaque);
  }
  EXPECT_EQ(CountColour(image, kOpaque), 80 - 8);  // a new image is opaque black
}

}  // namespace
