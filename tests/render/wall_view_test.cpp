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
#include "render/wall_geometry.h"
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

// ---- a whole lamp ----------------------------------------------------------------

// A lamp of `symmetry` with its planes at `angles`, plane k a random curve
// (samples below `scale`) or, with `steep`, steps from 0 to 1e35.
Lamp RandomLamp(Symmetry symmetry, std::vector<float> angles, unsigned seed, float scale, bool steep = false) {
  Lamp lamp;
  lamp.symmetry = symmetry;
  lamp.planes.assign(angles.size(), ::Curve{});
  lamp.planeAngles = std::move(angles);
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> sample(0.0f, scale);
  for (size_t k = 0; k < lamp.planes.size(); ++k) {
    for (size_t n = 0; n < kCurveSampleCount; ++n) {
      lamp.planes[k][n] = steep ? ((n + k) % 3 == 0 ? 1e35f : 0.0f) : sample(rng);
    }
  }
  return lamp;
}

std::vector<float> Every(float step, float last) {
  std::vector<float> angles;
  for (float c = 0; c <= last; c += step) angles.push_back(c);
  return angles;
}

struct LampScene {
  const char* name;
  Lamp lamp;
  double sectionC;
  int width, height;
  float wallDistance;
};

void PrintTo(const LampScene& scene, std::ostream* out) { *out << scene.name; }

class LampWall : public testing::TestWithParam<LampScene> {};

// Every path, and the automatic one, against the plain loop.
TEST_P(LampWall, EveryPathGivesThePlainLoopsPixels) {
  const LampScene& scene = GetParam();
  DistributionEditor e;
  e.OnResize(scene.width, scene.height);
  e.wallDistance = scene.wallDistance;
  Image plain(e.clientWidth, e.clientHeight);
  PlainLampWall(e, scene.lamp, scene.sectionC, plain);
  for (WallPath path : {WallPath::Automatic, WallPath::Exact, WallPath::TwoWide, WallPath::FourWide,
                        WallPath::EightWide}) {
    if (!WallPathAvailable(path)) continue;
    Image ours(e.clientWidth, e.clientHeight);
    DrawWall(e, scene.lamp, scene.sectionC, ours, path);
    EXPECT_TRUE(ours.pixels == plain.pixels) << "path " << static_cast<int>(path);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Scenes, LampWall,
    testing::Values(
        LampScene{"quadrant", RandomLamp(Symmetry::kQuadrant, Every(22.5f, 90), 11, 0.08f), 30, 262, 41, 0.1f},
        LampScene{"bilateral_0_180", RandomLamp(Symmetry::kBilateral0To180, Every(30, 180), 12, 0.08f), 200, 155,
                  60, 0.1f},
        LampScene{"bilateral_90_270", RandomLamp(Symmetry::kBilateral90To270, {90, 150, 270}, 13, 0.08f), 0, 66,
                  33, 0.05f},
        // 24 planes round the circle, odd sides (no scan line its own partner).
        LampScene{"none_24_planes", RandomLamp(Symmetry::kNone, Every(15, 345), 14, 0.08f), 100, 785, 343, 0.1f},
        // Uneven planes not listing 360: the last closes onto C 0.
        LampScene{"none_uneven", RandomLamp(Symmetry::kNone, {0, 10, 100, 250}, 15, 0.5f), 350, 17, 40, 0.3f},
        // Steep steps: lanes sent back to the formula.
        LampScene{"none_steep", RandomLamp(Symmetry::kNone, Every(90, 270), 16, 0, true), 45, 66, 20, 1e20f}),
    [](const testing::TestParamInfo<LampScene>& row) { return std::string(row.param.name); });

// A lamp whose planes are all equal draws its one curve's pixels, whatever the section.
TEST(LampWall, AllPlanesEqualGiveTheCurvesPixels) {
  DistributionEditor e;
  Random(e, 17, 0.08f);
  Lamp lamp = RandomLamp(Symmetry::kNone, Every(30, 330), 0, 0);
  lamp.planes.assign(lamp.planes.size(), e.curve);
  Image curve(e.clientWidth, e.clientHeight);
  DrawWall(e, curve);
  for (double sectionC : {0.0, 37.5, 300.0}) {
    Image drawn(e.clientWidth, e.clientHeight);
    DrawWall(e, lamp, sectionC, drawn);
    EXPECT_TRUE(drawn.pixels == curve.pixels) << sectionC;
    EXPECT_EQ(WallIlluminance(lamp, sectionC, 0.07, -0.03, 0.1), WallIlluminance(e.curve, 0.07, -0.03, 0.1));
  }
}

// The pointer's reading: the plane of the section opposite the lamp, C
// falling to the right (a point at x = D looks along C - 45).
TEST(LampWall, IlluminanceLooksAlongThePlaneOfEachPoint) {
  Lamp lamp = RandomLamp(Symmetry::kNone, Every(45, 315), 18, 1.0f);
  const double x = 0.1, y = -0.05, d = 0.1;
  EXPECT_EQ(WallIlluminance(lamp, 90, 0, y, d), WallIlluminance(lamp.planes[2], 0, y, d));
  EXPECT_NEAR(WallIlluminance(lamp, 90, x, y, d), WallIlluminance(lamp.planes[1], x, y, d), 1e-9);
  EXPECT_NEAR(WallIlluminance(lamp, 90, -x, y, d), WallIlluminance(lamp.planes[3], -x, y, d), 1e-9);
  // Halfway between C 0 and C 45: linear in candela.
  const double between = WallIlluminance(lamp, 22.5, x, y, d);
  EXPECT_NEAR(between, (WallIlluminance(lamp.planes[7], x, y, d) + WallIlluminance(lamp.planes[0], x, y, d)) / 2,
              1e-9 * between);
}

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
// without fault (the sanitizers watch), every pixel grey; the curve alone
// and in a lamp beside a dark plane.
TEST(WallView, AnyFiniteFieldsDrawSafely) {
  const float values[] = {0.0f, -1.0f, 1e-45f, 1e-30f, 3e38f};
  for (float scale : values) {
    for (float distance : values) {
      DistributionEditor e;
      for (size_t n = 0; n < e.curve.size(); ++n) e.curve[n] = n % 2 ? -2.0f : 3e38f;
      e.wallScale = scale;
      e.wallDistance = distance;
      Lamp lamp = RandomLamp(Symmetry::kNone, {0, 90, 180}, 0, 0);
      lamp.planes[1] = e.curve;
      for (bool whole : {false, true}) {
        Image client(64, 40);
        whole ? DrawWall(e, lamp, 60, client) : DrawWall(e, client);
        for (int y = 0; y < 40; ++y) {
          for (int x = 32; x < 64; ++x) {
            const uint32_t p = At(client, x, y);
            ASSERT_TRUE((p & 0xff) == ((p >> 16) & 0xff) && (p & 0xff) == ((p >> 8) & 0xff));
          }
        }
      }
    }
  }
}

}  // namespace
