// Which pixels: GDI's lines and ellipse outlines, computed without an image.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "render/raster_geometry.h"

namespace {

using raster::ClipRect;
using Pixel = std::pair<int64_t, int64_t>;
using Pixels = std::set<Pixel>;

constexpr int64_t kFar = int64_t{1} << 61;
constexpr ClipRect kEverywhere{-kFar, -kFar, kFar, kFar};

// The traced pixels; also checks that no pixel is visited twice.
Pixels Trace(int64_t x0, int64_t y0, int64_t x1, int64_t y1, const ClipRect& clip = kEverywhere) {
  Pixels pixels;
  size_t calls = 0;
  raster::TraceLine(x0, y0, x1, y1, clip, [&](int64_t x, int64_t y) {
    pixels.insert({x, y});
    ++calls;
  });
  EXPECT_EQ(calls, pixels.size());
  return pixels;
}

// Bresenham run step by step from the start pixel, as GDI runs it: the
// yardstick for the closed form and the clipping.
Pixels StepByStep(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  Pixels pixels;
  const int64_t dx = x1 - x0, dy = y1 - y0;
  if (dx == 0 && dy == 0) return pixels;
  const int octant = raster::LineOctant(dx, dy);
  const int64_t bias = raster::LineBias(octant);
  const bool xMajor = raster::LineIsXMajor(octant);
  const int64_t major = xMajor ? std::abs(dx) : std::abs(dy), minor = xMajor ? std::abs(dy) : std::abs(dx);
  const int64_t sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
  int64_t x = x0, y = y0, err = 2 * minor - major;
  for (int64_t n = 0; n < major; ++n) {
    pixels.insert({x, y});
    if (err + bias > 0) {
      if (xMajor) {
        y += sy;
      } else {
        x += sx;
      }
      err += 2 * minor - 2 * major;
    } else {
      err += 2 * minor;
    }
    if (xMajor) {
      x += sx;
    } else {
      y += sy;
    }
  }
  return pixels;
}

Pixels Inside(const Pixels& all, const ClipRect& clip) {
  Pixels inside;
  for (const Pixel& p : all) {
    if (clip.Contains(p.first, p.second)) inside.insert(p);
  }
  return inside;
}

struct LineRow {
  int64_t x0, y0, x1, y1;
  std::vector<Pixel> pixels;
};

class LineRule : public testing::TestWithParam<LineRow> {};

TEST_P(LineRule, LightsTheseAndOnlyThese) {
  const LineRow& row = GetParam();
  EXPECT_EQ(Trace(row.x0, row.y0, row.x1, row.y1), Pixels(row.pixels.begin(), row.pixels.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Octants, LineRule,
    testing::Values(
        // Octant 1, no bias: the half-way step is taken late.
        LineRow{0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        // The same line backwards is octant 5, which takes the bias: not the same pixels.
        LineRow{4, 2, 0, 0, {{4, 2}, {3, 1}, {2, 1}, {1, 0}}},
        // Octant 2 (y major), no bias.
        LineRow{0, 0, 2, 4, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
        // Octant 6, its reverse, biased.
        LineRow{2, 4, 0, 0, {{2, 4}, {1, 3}, {1, 2}, {0, 1}}},
        // Octant 4, no bias.
        LineRow{0, 0, -4, 2, {{0, 0}, {-1, 0}, {-2, 1}, {-3, 1}}},
        // Octant 8, biased.
        LineRow{0, 0, 4, -2, {{0, 0}, {1, -1}, {2, -1}, {3, -2}}},
        // A leftward horizontal line lights its start, not its end.
        LineRow{5, 0, 0, 0, {{5, 0}, {4, 0}, {3, 0}, {2, 0}, {1, 0}}},
        // A diagonal (octant 2 by the tie rule) steps every pixel.
        LineRow{0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
        // A line of length zero lights nothing.
        LineRow{7, 7, 7, 7, {}}));

TEST(Line, ClosedFormMatchesTheStepByStepRunInEveryDirection) {
  for (int64_t dy = -12; dy <= 12; ++dy) {
    for (int64_t dx = -12; dx <= 12; ++dx) {
      EXPECT_EQ(Trace(3, -5, 3 + dx, -5 + dy), StepByStep(3, -5, 3 + dx, -5 + dy)) << dx << "," << dy;
    }
  }
}

TEST(Line, ClippedLightsExactlyTheUnclippedPixelsInsideTheClip) {
  std::mt19937 rng(2024);
  std::uniform_int_distribution<int64_t> coord(-600, 600), edge(-100, 100), size(0, 150);
  for (int n = 0; n < 3000; ++n) {
    const int64_t x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
    const int64_t l = edge(rng), t = edge(rng);
    const ClipRect clip{l, t, l + size(rng), t + size(rng)};
    EXPECT_EQ(Trace(x0, y0, x1, y1, clip), Inside(StepByStep(x0, y0, x1, y1), clip))
        << x0 << "," << y0 << " -> " << x1 << "," << y1;
  }
}

TEST(Line, FarEndsGiveTheSamePixelsWhereverTheClipCutsThem) {
  // End points 1e17 away: two clips that overlap must agree on the overlap,
  // and the work is the visible pixels only.
  std::mt19937_64 rng(99);
  std::uniform_int_distribution<int64_t> far(-100000000000000000, 100000000000000000), jitter(-50, 50);
  const ClipRect a{0, 0, 120, 90}, b{60, 40, 200, 160};
  const ClipRect overlap{60, 40, 120, 90};
  for (int n = 0; n < 500; ++n) {
    const int64_t x0 = far(rng), y0 = far(rng);
    // Through the middle of the clips: the other end mirrored about (90, 70).
    const int64_t x1 = 180 - x0 + jitter(rng), y1 = 140 - y0 + jitter(rng);
    const Pixels inA = Trace(x0, y0, x1, y1, a), inB = Trace(x0, y0, x1, y1, b);
    EXPECT_EQ(Inside(inA, overlap), Inside(inB, overlap));
    EXPECT_LE(inA.size(), 120u);
  }
}

TEST(Line, FarDiagonalStaysOnTheDiagonal) {
  const int64_t e = int64_t{1} << 59;
  Pixels expected;
  for (int64_t k = 0; k < 10; ++k) expected.insert({k, k});
  EXPECT_EQ(Trace(-e, -e, e, e, ClipRect{0, 0, 10, 10}), expected);
}

// GDI's ellipse outline is the closed polyline through the quarter's points
// and their mirror images, in the order it builds them. The raster lights
// the points themselves, which is the same only if consecutive points are
// neighbours; check that for every box up to 160 x 160.
TEST(Ellipse, OutlinePolylineStepsOnlyToNeighbours) {
  for (int64_t h = 3; h <= 160; ++h) {
    for (int64_t w = 3; w <= 160; ++w) {
      std::vector<Pixel> points;
      raster::WalkEllipseQuarter(w, h, [&](int64_t x, int64_t y) { points.push_back({x, h - 1 - y}); });
      ASSERT_FALSE(points.empty());
      // Mirror about the middle column, then the middle row, skipping a
      // shared middle point as GDI does.
      const size_t quarter = points.size();
      for (size_t i = quarter; i-- > 0;) {
        if (i == quarter - 1 && w % 2 == 1) continue;
        points.push_back({w - 1 - points[i].first, points[i].second});
      }
      const size_t half = points.size();
      for (size_t i = half; i-- > 0;) {
        if (i == half - 1 && h % 2 == 1) continue;
        points.push_back({points[i].first, h - 1 - points[i].second});
      }
      for (size_t i = 0; i < points.size(); ++i) {
        const Pixel& p = points[i];
        const Pixel& q = points[(i + 1) % points.size()];
        ASSERT_LE(std::abs(p.first - q.first), 1) << w << "x" << h << " at " << i;
        ASSERT_LE(std::abs(p.second - q.second), 1) << w << "x" << h << " at " << i;
        ASSERT_TRUE(p.first >= 0 && p.first < w && p.second >= 0 && p.second < h);
      }
    }
  }
}

}  // namespace
