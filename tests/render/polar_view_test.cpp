// The polar diagram: markers, rings, labels and curve at known pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "editor/distribution_editor.h"
#include "render/label_font.h"
#include "render/palette.h"
#include "render/polar_rings.h"
#include "render/polar_view.h"
#include "render/raster.h"

namespace {

constexpr uint32_t kSentinel = 0xabcdefu;

uint32_t At(const Image& image, int x, int y) {
  return image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)];
}

Image Drawn(const DistributionEditor& e) {
  Image client(e.clientWidth, e.clientHeight);
  std::fill(client.pixels.begin(), client.pixels.end(), kSentinel);
  DrawPolar(e, client);
  return client;
}

// The pixels an ellipse with `box` lights, drawn alone.
std::vector<std::pair<int, int>> EllipsePixels(int l, int t, int r, int b, int width, int height) {
  Image alone(width, height);
  Raster raster(alone, 0, 0, width, height);
  raster.SelectPen(1);
  raster.Ellipse(l, t, r, b);
  std::vector<std::pair<int, int>> pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (At(alone, x, y) == 1) pixels.push_back({x, y});
    }
  }
  return pixels;
}

TEST(PolarView, EmptyCurveLeavesOneMarkerSquareAtThePole) {
  const DistributionEditor e;
  const Image client = Drawn(e);
  for (int y = 0; y < 400; ++y) {
    for (int x = 0; x < 400; ++x) {
      const bool outline = x >= 198 && x <= 201 && y >= 198 && y <= 201 && (x == 198 || x == 201 || y == 198 || y == 201);
      EXPECT_EQ(At(client, x, y) == penGreen, outline) << x << "," << y;
      EXPECT_NE(At(client, x, y), penDarkGreen) << x << "," << y;
    }
  }
}

TEST(PolarView, RingOfOneHasTheBoxAroundThePoleAndItsLabelAtItsRightEnd) {
  const DistributionEditor e;
  const Image client = Drawn(e);
  const auto ring = EllipsePixels(100, 100, 300, 300, 400, 400);
  ASSERT_GT(ring.size(), 500u);
  for (auto [x, y] : ring) EXPECT_EQ(At(client, x, y), penGrey) << x << "," << y;
  // Its label "1 E+0": the ink of each glyph, cell after cell from (300, 200).
  const std::string label = "1 E+0";
  for (size_t i = 0; i < label.size(); ++i) {
    const label_font::Glyph& glyph = label_font::GlyphOf(label[i]);
    for (int r = 0; r < label_font::kCellHeight; ++r) {
      for (int c = 0; c < label_font::kCellWidth; ++c) {
        if (glyph[static_cast<size_t>(r)] & (0x80 >> c)) {
          EXPECT_EQ(At(client, 300 + static_cast<int>(i) * 8 + c, 200 + r), labelColour);
        }
      }
    }
  }
}

TEST(PolarView, DrawsOnlyTheLeftHalf) {
  // The 2 E+0 label lies at (400, 200), just outside the left half.
  for (int width : {800, 785, 3}) {
    DistributionEditor e;
    e.OnResize(width, 400);
    const Image client = Drawn(e);
    for (int y = 0; y < 400; ++y) {
      for (int x = e.halfWidth(); x < width; ++x) ASSERT_EQ(At(client, x, y), kSentinel) << width << ": " << x;
    }
  }
}

TEST(PolarView, CurveOfOnesRunsOnTheRingOfOne) {
  DistributionEditor e;
  e.curve.fill(1.0f);
  const Image client = Drawn(e);
  // P(0) = (200, 300): its marker, drawn last, outlines (198..201, 298..301).
  EXPECT_EQ(At(client, 198, 298), penGreen);
  EXPECT_EQ(At(client, 201, 301), penGreen);
  // The top, straight up: P(180) = (200, 100).
  EXPECT_EQ(At(client, 198, 98), penGreen);
  EXPECT_EQ(At(client, 201, 101), penGreen);
}

TEST(PolarView, HalfOfWidthZeroOrClientOfHeightOneIsSafe) {
  DistributionEditor narrow;
  narrow.OnResize(1, 400);
  const Image a = Drawn(narrow);
  EXPECT_TRUE(std::all_of(a.pixels.begin(), a.pixels.end(), [](uint32_t p) { return p == kSentinel; }));
  DistributionEditor flat;
  flat.OnResize(800, 1);
  flat.curve.fill(3.0f);
  const Image b = Drawn(flat);
  EXPECT_EQ(At(b, 799, 0), kSentinel);
}

// Extremes of every field, including values no editor operation stores:
// nothing but the half is written, and the sanitizers see no fault.
TEST(PolarView, AnyFiniteFieldsDrawSafely) {
  const float big = std::numeric_limits<float>::max();
  struct Case {
    float centerX, centerY, scale, sample;
  } cases[] = {
      {1e15f, -1e15f, 1e20f, 1e35f}, {-1e6f, 200, 2e6f, 1}, {200, 200, 1e-20f, big},
      {200, 200, big, big},          {-big, big, 1e20f, big}, {200, 200, 0, 1},
      {200, 200, -5, 1},             {200, 200, 1e-45f, 1},  {5e9f, 200, 1e10f, 0.5f},
  };
  for (const Case& c : cases) {
    DistributionEditor e;
    e.centerX = c.centerX;
    e.centerY = c.centerY;
    e.polarScale = c.scale;
    for (size_t i = 0; i < e.curve.size(); ++i) e.curve[i] = i % 2 ? c.sample : 0.0f;
    Image client(800, 400);
    DrawPolar(e, client);
    for (int y = 0; y < 400; ++y) {
      for (int x = 400; x < 800; ++x) ASSERT_EQ(At(client, x, y), Rgb(0, 0, 0));  // as the image began
    }
  }
}

TEST(PolarView, ImageSmallerThanTheClientIsNotOverrun) {
  DistributionEditor e;
  e.curve.fill(1.0f);
  Image small(150, 120);
  DrawPolar(e, small);
  const Image full = Drawn(e);
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 150; ++x) ASSERT_EQ(At(small, x, y), At(full, x, y));
  }
}

// ---- rings ------------------------------------------------------------------

struct DecadeRow {
  float scale;
  int k0;
  polar_rings::Ring innermost;  // the first ring drawn
  const char* label;
};

class Rings : public testing::TestWithParam<DecadeRow> {};

TEST_P(Rings, DecadesAndInnermostRingFollowTheScale) {
  const DecadeRow& row = GetParam();
  int k0 = 0;
  ASSERT_TRUE(polar_rings::DecadeBase(row.scale, k0));
  EXPECT_EQ(k0, row.k0);
  std::vector<polar_rings::Ring> drawn;
  polar_rings::ForEachDrawnRing(row.scale, [&](const polar_rings::Ring& r) { drawn.push_back(r); });
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn[0].multiplier, row.innermost.multiplier);
  EXPECT_EQ(drawn[0].exponent, row.innermost.exponent);
  EXPECT_EQ(drawn[0].radius, row.innermost.radius);
  char buffer[24];
  EXPECT_EQ(polar_rings::Label(drawn[0], buffer), row.label);
  // Every ring drawn is wider than 40 pixels, the decades run to k0 + 9.
  for (const auto& r : drawn) EXPECT_GT(r.radius, 40.0f);
  EXPECT_EQ(drawn.back().exponent, row.k0 + 9);
}

// Radii are those of the steps exactly: p = 10^k is exp(k * 2.3025851f) held
// in single precision, so 10^-1 is 0.099999994f and the 5 E-1 ring at scale
// 100 lies a hair inside 50 pixels (its box is (150, 150, 249, 249)).
INSTANTIATE_TEST_SUITE_P(
    Scales, Rings,
    testing::Values(
        // 100: e0 = -4, k0 = -1; 1 E-1 (10) and 2 E-1 (20) are too small.
        DecadeRow{100.0f, -1, {5, -1, 49.9999962f}, "5 E-1"},
        // 40: 1 E+0 has radius exactly 40 and is skipped.
        DecadeRow{40.0f, -1, {2, 0, 80.0f}, "2 E+0"},
        // 1: k0 = 0.
        DecadeRow{1.0f, 0, {5, 1, 50.0f}, "5 E+1"},
        // 0.001: e0 = 6, k0 = 2.
        DecadeRow{0.001f, 2, {5, 4, 50.0000076f}, "5 E+4"},
        // 100000: e0 = -11, k0 = -4.
        DecadeRow{100000.0f, -4, {5, -4, 49.9999962f}, "5 E-4"}));

TEST(Rings, ScaleOfOneHundredDrawsTheseRingsFromTheInside) {
  std::vector<std::string> labels;
  std::vector<float> radii;
  polar_rings::ForEachDrawnRing(100.0f, [&](const polar_rings::Ring& r) {
    char buffer[24];
    labels.emplace_back(polar_rings::Label(r, buffer));
    radii.push_back(r.radius);
  });
  ASSERT_GE(labels.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(labels.begin(), labels.begin() + 5),
            (std::vector<std::string>{"5 E-1", "1 E+0", "2 E+0", "5 E+0", "1 E+1"}));
  EXPECT_EQ(std::vector<float>(radii.begin(), radii.begin() + 5), (std::vector<float>{49.9999962f, 100, 200, 500, 1000}));
  EXPECT_EQ(labels.back(), "5 E+8");
}

TEST(Rings, ScaleWithoutLogarithmHasNoRings) {
  int k0 = 0;
  EXPECT_FALSE(polar_rings::DecadeBase(0.0f, k0));
  EXPECT_FALSE(polar_rings::DecadeBase(-1.0f, k0));
}

}  // namespace
