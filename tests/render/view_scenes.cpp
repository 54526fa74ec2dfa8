#include "view_scenes.h"

#include <initializer_list>
#include <limits>
#include <utility>

#include "render/polar_view.h"
#include "render/wall_view.h"

namespace {


void Ramp(DistributionEditor& e) {
  for (size_t n = 0; n < e.curve.size(); ++n) e.curve[n] = static_cast<float>(static_cast<double>(n) / 100);
}

}  // namespace

const std::vector<ViewScene>& ViewScenes() {
  static const std::vector<ViewScene> scenes = {
      // A new editor: grid, rings, one marker square, a black wall.
      ViewScene{"new_editor", [](DistributionEditor&) {}, 0xf59106e5237f8a85},
      // A curve drawn with the pointer, and its bright pool.
      ViewScene{"drawn_lamp", DrawALamp, 0x6dc6e434698bd425},
      // The ramp of the wall's worked numbers.
      ViewScene{"ramp", Ramp, 0xd8df7c492fe7a881},
      // Every sample 1.0: the curve on the ring labelled 1 E+0.
      ViewScene{"all_ones", [](DistributionEditor& e) { e.curve.fill(1.0f); }, 0xf487758996a52a13},
      // An odd client width: the last column belongs to neither half.
      ViewScene{"odd_client",
                [](DistributionEditor& e) {
                  e.OnResize(785, 342);
                  DrawALamp(e);
                },
                0xfae29d2eac8da0a0},
      // Zoomed far in about the pole: rings of radius up to 5e14, one arc in view.
      ViewScene{"zoomed_far_in",
                [](DistributionEditor& e) {
                  Ramp(e);
                  e.polarScale = 1e6f;
                },
                0x6f904ae1ebf22d66},
      // Zoomed far out: the curve is a dot, rings from 50 pixels out.
      ViewScene{"zoomed_far_out",
                [](DistributionEditor& e) {
                  Ramp(e);
                  e.polarScale = 1e-3f;
                  e.wallScale = 3.0f;
                },
                0x2d92d53222dd397a},
      // The pole a million pixels to the left: the ring of 1 E+0 crosses the
      // half near column 100, grid lines arrive almost parallel.
      ViewScene{"pole_a_million_pixels_away",
                [](DistributionEditor& e) {
                  e.centerX = -1e6f + 100;
                  e.polarScale = 1e6f;
                  e.curve.fill(1.0f);
                },
                0x30fbe9545e8db59f},
      // The pole below and left of the half.
      ViewScene{"pole_outside",
                [](DistributionEditor& e) {
                  DrawALamp(e);
                  e.centerX = -300;
                  e.centerY = 600;
                },
                0x186bd87493b407df},
      // Every field at its bound and samples as large as a float goes.
      ViewScene{"extremes",
                [](DistributionEditor& e) {
                  e.centerX = 1e15f;
                  e.centerY = -1e15f;
                  e.polarScale = 1e20f;
                  e.wallScale = 1e-20f;
                  e.wallDistance = 1e20f;
                  for (size_t n = 0; n < e.curve.size(); n += 2)
                    e.curve[n] = std::numeric_limits<float>::max();
                },
                0x83fb5a1c617118f9},
      // A larger client, the lamp drawn before the resize.
      ViewScene{"large_client",
                [](DistributionEditor& e) {
                  DrawALamp(e);
                  e.OnResize(1600, 900);
                },
                0x99b2c2629a701824},
      // A client whose diagram is drawn in bands on several cores.
      ViewScene{"banded_client",
                [](DistributionEditor& e) {
                  DrawALamp(e);
                  e.OnResize(2400, 1000);
                },
                0x760b5fadf70aed1e},
      // Tiny clients.
      ViewScene{"client_3x2", [](DistributionEditor& e) { e.OnResize(3, 2); }, 0xaf177c6283ac23b2},
      ViewScene{"client_1x1", [](DistributionEditor& e) { e.OnResize(1, 1); }, 0x6cf1831419ce7d71},
  };
  return scenes;
}

Image DrawScene(const ViewScene& scene) {
  DistributionEditor e;
  scene.setup(e);
  Image client(e.clientWidth, e.clientHeight);
  DrawPolar(e, client);
  DrawWall(e, client);
  return client;
}

uint64_t ImageHash(const Image& image) {
  uint64_t h = 1469598103934665603ull;
  auto mix = [&h](uint32_t byte) {
    h ^= byte & 0xffu;
    h *= 1099511628211ull;
  };
  for (int v : {image.width, image.height}) {
    for (int shift = 0; shift < 32; shift += 8) mix(static_cast<uint32_t>(v) >> shift);
  }
  for (uint32_t pixel : image.pixels) {
    mix(pixel >> 16);
    mix(pixel >> 8);
    mix(pixel);
  }
  return h;
}

// A stroke of pointer moves with the left button down, as a user draws it.
void Stroke(DistributionEditor& e, std::initializer_list<std::pair<int, int>> points) {
  auto it = points.begin();
  e.OnPointerMove(it->first, it->second);
  e.OnLeftButton(true);
  for (++it; it != points.end(); ++it) e.OnPointerMove(it->first, it->second);
  e.OnLeftButton(false);
}

void DrawALamp(DistributionEditor& e) {
  Stroke(e, {{200, 330}, {250, 320}, {300, 280}, {330, 220}, {320, 180}, {280, 150}, {230, 140}, {200, 142}});
}
