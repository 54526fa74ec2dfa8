// The wall picture: the worked numbers, symmetry, and every pixel against the
// straightforward per-pixel loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <random>

#include "editor/distribution_editor.h"
#include "plain_wall.h"
#include "render/raster.h"
#include "render/wall_view.h"

namespace {

constexpr uint32_t kSentinel = 0xabcdefu;

uint32_t At(const Image& image, int x, int y) {
  return image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)];
}

// The grey level of wall pixel (i, r), scan line r counted from the bottom.
int Level(const DistributionEditor& e, const Image& client, int i, int r) {
  const uint32_t p = At(client, e.halfWidth() + i, e.clientHeight - 1 - r);
  EXPECT_TRUE((p & 0xff) == ((p >> 8) & 0xff) && (p & 0xff) == ((p >> 16) & 0xff)) << "not grey";
  return static_cast<int>(p & 0xff);
}

Image Drawn(const DistributionEditor& e) {
  Image client(e.clientWidth, e.clientHeight);
  std::fill(client.pixels.begin(), client.pixels.end(), kSentinel);
  DrawWall(e, client);
  return client;
}

enum class Curve { kFlat005, kRamp, kFlatOne };

void SetCurve(DistributionEditor& e, Curve curve) {
  for (size_t n = 0; n < e.curve.size(); ++n) {
    switch (curve) {
      case Curve::kFlat005:
        e.curve[n] = 0.05f;
        break;
      case Curve::kRamp:
        e.curve[n] = static_cast<float>(static_cast<double>(n) / 100);
        break;
      case Curve::kFlatOne:
        e.curve[n] = 1.0f;
        break;
    }
  }
}

struct WorkedRow {
  Curve curve;
  int i, r;
  int level;
};

class WorkedNumbers : public testing::TestWithParam<WorkedRow> {};

TEST_P(WorkedNumbers, PixelHasTheLevelOfTheFormula) {
  const WorkedRow& row = GetParam();
  DistributionEditor e;  // 800 x 400, wallScale 100, D = 0.1
  SetCurve(e, row.curve);
  EXPECT_EQ(Level(e, Drawn(e), row.i, row.r), row.level);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WorkedNumbers,
    testing::Values(
        // Opposite the lamp: 255 * 0.5 = 127.5, truncated.
        WorkedRow{Curve::kFlat005, 200, 200, 127},
        // 0.2 below, 0.2 above, 0.2 to the left: R = 0.22361.
        WorkedRow{Curve::kFlat005, 200, 100, 38}, WorkedRow{Curve::kFlat005, 200, 300, 38},
        WorkedRow{Curve::kFlat005, 100, 200, 38},
        // The bottom-left corner, gamma 45.868.
        WorkedRow{Curve::kFlat005, 0, 0, 9},
        // Interpolated: v = 0.26565 at 26.565 degrees, 0.14036 at 14.036.
        WorkedRow{Curve::kRamp, 200, 100, 202}, WorkedRow{Curve::kRamp, 200, 0, 42},
        // 2295 before the cap.
        WorkedRow{Curve::kRamp, 200, 200, 255},
        WorkedRow{Curve::kFlatOne, 0, 0, 185}));

TEST(WallView, FlatCurveGivesAPoolSymmetricAboutThePointOppositeTheLamp) {
  DistributionEditor e;
  SetCurve(e, Curve::kFlat005);
  const Image client = Drawn(e);
  const int w = e.halfWidth(), h = e.clientHeight;
  for (int r = 1; r < h; r += 7) {
    for (int i = 1; i < w; i += 5) {
      const int level = Level(e, client, i, r);
      EXPECT_EQ(level, Level(e, client, w - i, r)) << i << "," << r;
      EXPECT_EQ(level, Level(e, client, i, h - r)) << i << "," << r;
      EXPECT_EQ(level, Level(e, client, w - i, h - r)) << i << "," << r;
    }
  }
}

TEST(WallView, EmptyCurveGivesABlackHalfAndLeavesTheLeftHalf) {
  const DistributionEditor e;
  const Image client = Drawn(e);
  for (int y = 0; y < 400; ++y) {
    for (int x = 0; x < 800; ++x) ASSERT_EQ(At(client, x, y), x < 400 ? kSentinel : kOpaque) << x << "," << y;
  }
}

// ---- every pixel as the straightforward loop gives it -----------------------

struct Scene {
  const char* name;
  std::function<void(DistributionEditor&)> setup;
};

class SameAsPlainLoop : public testing::TestWithParam<Scene> {};

TEST_P(SameAsPlainLoop, EveryPixel) {
  DistributionEditor e;
  GetParam().setup(e);
  Image fast(e.clientWidth, e.clientHeight), plain(e.clientWidth, e.clientHeight);
  DrawWall(e, fast);
  PlainWall(e, plain);
  int differing = 0;
  for (size_t i = 0; i < fast.pixels.size(); ++i) differing += fast.pixels[i] != plain.pixels[i];
  EXPECT_EQ(differing, 0);
}

void Random(DistributionEditor& e, unsigned seed, float scale) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> sample(0.0f, scale);
  for (float& v : e.curve) v = sample(rng);
}

INSTANTIATE_TEST_SUITE_P(
    Scenes, SameAsPlainLoop,
    testing::Values(
        // The ramp of the worked numbers.
        Scene{"ramp", [](DistributionEditor& e) { SetCurve(e, Curve::kRamp); }},
        // Random samples, where the level crosses whole values everywhere.
        Scene{"random", [](DistributionEditor& e) { Random(e, 1, 0.08f); }},
        // Odd sides: the right half starts at 392, and no scan line is its own partner.
        Scene{"odd_sides",
              [](DistributionEditor& e) {
                e.OnResize(785, 343);
                Random(e, 2, 0.05f);
              }},
        // Zoomed out far and a lamp close to the wall: a tiny bright pool.
        Scene{"zoomed_out_close_lamp",
              [](DistributionEditor& e) {
                Random(e, 3, 0.5f);
                e.wallScale = 0.01f;
                e.wallDistance = 1e-4f;
              }},
        // Zoomed in far: the pool fills the half with nearly one level.
        Scene{"zoomed_in",
              [](DistributionEditor& e) {
                Random(e, 4, 0.06f);
                e.wallScale = 1e6f;
              }},
        // Steep steps from 0 to 1e35 and back: the table angle's check sends
        // many pixels back to the exact formula.
        Scene{"steep_steps",
              [](DistributionEditor& e) {
                for (size_t n = 0; n < e.curve.size(); ++n) e.curve[n] = n % 3 == 0 ? 1e35f : 0.0f;
                e.wallDistance = 1e20f;
              }},
        // Alternating small values: thin bands of zero and near-zero levels.
        Scene{"alternating",
              [](DistributionEditor& e) {
                for (size_t n = 0; n < e.curve.size(); ++n) e.curve[n] = n % 2 ? 0.004f : 0.0f;
              }},
        // The bounds of the scales and the distance.
        Scene{"smallest_scale",
              [](DistributionEditor& e) {
                Random(e, 5, 1e20f);
                e.wallScale = 1e-20f;
                e.wallDistance = 1e20f;
              }},
        Scene{"largest_scale_nearest_lamp",
              [](DistributionEditor& e) {
                Random(e, 6, 1e-10f);
                e.wallScale = 1e20f;
                e.wallDistance = 1e-20f;
              }},
        // Samples as large as a float goes.
        Scene{"largest_samples",
              [](DistributionEditor& e) { e.curve.fill(std::numeric_limits<float>::max()); }},
        // A tall narrow client: one column computed, its mirror outside.
        Scene{"narrow",
              [](DistributionEditor& e) {
                e.OnResize(3, 500);
                Random(e, 7, 0.05f);
              }}),
    [](const testing::TestParamInfo<Scene>& row) { return std::string(row.param.name); });

// Each vector path on its own, at client widths whose halves have 1, 2 and 3
// columns, odd widths, and halves whose computed columns (the middle on, and
// column 0) number a multiple of four or eight plus one (halves of 8, 16
// and 33).
class EachPath : public testing::TestWithParam<std::tuple<WallPath, int>> {};

TEST_P(EachPath, GivesThePlainLoopsPixels) {
  const auto [path, width] = GetParam();
  if (!WallPathAvailable(path)) GTEST_SKIP() << "this CPU lacks the path";
  for (int scene = 0; scene < 3; ++scene) {
    DistributionEditor e;
    e.OnResize(width, 41);
    if (scene == 0) SetCurve(e, Curve::kRamp);
    if (scene == 1) Random(e, 8, 0.08f);
    if (scene == 2) {  // steep steps: lanes sent back to the formula
      for (size_t n = 0; n < e.curve.size(); ++n) e.curve[n] = n % 3 == 0 ? 1e35f : 0.0f;
      e.wallDistance = 1e20f;
    }
    Image ours(e.clientWidth, e.clientHeight), plain(e.clientWidth, e.clientHeight);
    DrawWall(e, ours, path);
    PlainWall(e, plain);
    EXPECT_TRUE(ours.pixels == plain.pixels) << "scene " << scene;
  }
}

INSTANTIATE_TEST_SUITE_P(Widths, EachPath,
                         testing::Combine(testing::Values(WallPath::TwoWide, WallPath::FourWide,
                                                          WallPath::EightWide),
                                          testing::Values(2, 4, 6, 7, 16, 17, 32, 66, 155, 262)));

// ---- sizes and values no editor operation gives ------------------------------

TEST(WallView, ImageSmallerThanTheClientGetsTheRowsAndColumnsInsideIt) {
  DistributionEditor e;
  Random(e, 8, 0.05f);
  Image full(800, 400), small(500, 150);
  DrawWall(e, full);
  DrawWall(e, small);
  for (int y = 0; y < 150; ++y) {
    for (int x = 400; x < 500; ++x) ASSERT_EQ(At(small, x, y), At(full, x, y)) << x << "," << y;
  }
}

TEST(WallView, HalfOfWidthZeroOrClientOfHeightOneIsSafe) {
  DistributionEditor narrow;
  narrow.OnResize(1, 300);
  narrow.curve.fill(1.0f);
  Image a(1, 300);
  std::fill(a.pixels.begin(), a.pixels.end(), kSentinel);
  DrawWall(narrow, a);
  EXPECT_TRUE(std::all_of(a.pixels.begin(), a.pixels.end(), [](uint32_t p) { return p == kSentinel; }));
  DistributionEditor flat;
  flat.OnResize(800, 1);
  flat.curve.fill(0.05f);
  Image b(800, 1), plain(800, 1);
  DrawWall(flat, b);
  PlainWall(flat, plain);
  EXPECT_EQ(b.pixels, plain.pixels);
  EXPECT_GT(At(b, 600, 0), Rgb(0, 0, 0));  // lit, not black
}

// Fields outside what the editor stores: zero, negative, subnormal. Drawn
// without fault (the sanitizers watch), every pixel grey.
TEST(WallView, AnyFiniteFieldsDrawSafely) {
  const float values[] = {0.0f, -1.0f, 1e-45f, 1e-30f, 3e38f};
  for (float scale : values) {
    for (float distance : values) {
      DistributionEditor e;
      for (size_t n = 0; n < e.curve.size(); ++n) e.curve[n] = n % 2 ? -2.0f : 3e38f;
      e.wallScale = scale;
      e.wallDistance = distance;
      Image client(64, 40);
      DrawWall(e, client);
      for (int y = 0; y < 40; ++y) {
        for (int x = 32; x < 64; ++x) {
          const uint32_t p = At(client, x, y);
          ASSERT_TRUE((p & 0xff) == ((p >> 16) & 0xff) && (p & 0xff) == ((p >> 8) & 0xff));
        }
      }
    }
  }
}

}  // namespace
