#pragma once
// The wall picture computed the straightforward way, pixel by pixel, exactly
// as its formula reads: the yardstick for DrawWall's pixels in the tests and
// for its speed in the benchmark.

#include <cmath>
#include <cstdint>

#include "editor/distribution_editor.h"
#include "render/image.h"
#include "render/raster.h"

// Draws the right half into `client`, which must be clientWidth x clientHeight.
inline void PlainWall(const DistributionEditor& e, Image& client) {
  const int halfWidth = e.halfWidth(), height = e.clientHeight;
  const double scale = e.wallScale, distance = e.wallDistance;
  for (int r = 0; r < height; ++r) {
    const float y = static_cast<float>((2.0 * r - height) / scale * double{0.1f});
    uint32_t* row = client.pixels.data() + static_cast<size_t>(height - 1 - r) * static_cast<size_t>(client.width);
    for (int i = 0; i < halfWidth; ++i) {
      const double x = (2.0 * i - halfWidth) / scale * double{0.1f};
      const double R = static_cast<float>(std::sqrt(x * x + double{y} * y + distance * distance));
      const double gamma = std::atan2(std::sqrt(x * x + distance * distance), -double{y}) * double{57.295776f};
      const int j = gamma < 0 ? 0 : static_cast<int>(gamma);
      const int j1 = j + 1 > 180 ? 180 : j + 1;
      const double lo = e.curve[static_cast<size_t>(j)], hi = e.curve[static_cast<size_t>(j1)];
      const double v = lo + (hi - lo) * (gamma - j);
      const double E = v * v * distance / (R * R * R);
      const double level = 255.0 * std::sqrt(E);
      const uint32_t b = level >= 255 ? 255u : static_cast<uint32_t>(level);
      row[halfWidth + i] = Rgb(b, b, b);
    }
  }
}
