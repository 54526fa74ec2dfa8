#pragma once
// The wall picture computed the straightforward way, pixel by pixel, exactly
// as its formula reads: the yardstick for DrawWall's pixels in the tests and
// for its speed in the benchmark.

#include <cmath>
#include <cstdint>
#include <numbers>

#include "editor/distribution_editor.h"
#include "editor/lamp.h"
#include "render/image.h"
#include "render/raster.h"

// The root intensity of `curve` at gamma degrees, linear between whole degrees.
inline double PlainRoot(const Curve& curve, double gamma) {
  const int j = gamma < 0 ? 0 : static_cast<int>(gamma);
  const int j1 = j + 1 > 180 ? 180 : j + 1;
  const double lo = curve[static_cast<size_t>(j)], hi = curve[static_cast<size_t>(j1)];
  return lo + (hi - lo) * (gamma - j);
}

// Draws the right half into `client`, which must be clientWidth x clientHeight,
// with the intensity I = intensity(x, gamma) toward each pixel.
template <class Intensity>
void PlainWallOf(const DistributionEditor& e, Image& client, Intensity intensity) {
  const int halfWidth = e.halfWidth(), height = e.clientHeight;
  const double scale = e.wallScale, distance = e.wallDistance;
  for (int r = 0; r < height; ++r) {
    const float y = static_cast<float>((2.0 * r - height) / scale * double{0.1f});
    uint32_t* row = client.pixels.data() + static_cast<size_t>(height - 1 - r) * static_cast<size_t>(client.width);
    for (int i = 0; i < halfWidth; ++i) {
      const double x = (2.0 * i - halfWidth) / scale * double{0.1f};
      const double R = static_cast<float>(std::sqrt(x * x + double{y} * y + distance * distance));
      const double gamma = std::atan2(std::sqrt(x * x + distance * distance), -double{y}) * double{57.295776f};
      const double E = intensity(x, gamma) * distance / (R * R * R);
      const double level = 255.0 * std::sqrt(E);
      const uint32_t b = level >= 255 ? 255u : static_cast<uint32_t>(level);
      row[halfWidth + i] = Rgb(b, b, b);
    }
  }
}

// The wall of the editor's curve.
inline void PlainWall(const DistributionEditor& e, Image& client) {
  PlainWallOf(e, client, [&](double, double gamma) {
    const double v = PlainRoot(e.curve, gamma);
    return v * v;
  });
}

// The wall of a whole lamp, plane `sectionC` facing it: C falls by the
// angle of x seen from the lamp, the lamp's two planes there give their
// roots at gamma, blended in candela (one plane where the two are equal).
inline void PlainLampWall(const DistributionEditor& e, const Lamp& lamp, double sectionC, Image& client) {
  PlainWallOf(e, client, [&](double x, double gamma) {
    const double c = sectionC - std::atan2(x, double{e.wallDistance}) * (180.0 / std::numbers::pi);
    const PlaneBracket b = BracketOf(lamp, c);
    const double lo = PlainRoot(lamp.planes[b.lower], gamma), hi = PlainRoot(lamp.planes[b.upper], gamma);
    if (b.t == 0 || lamp.planes[b.lower] == lamp.planes[b.upper]) return lo * lo;
    return (1 - b.t) * lo * lo + b.t * hi * hi;
  });
}
