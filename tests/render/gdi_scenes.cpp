#include "gdi_scenes.h"

namespace {

// A fixed pseudo-random sequence, the same on both compilers.
struct Lcg {
  uint32_t state;
  uint32_t Next() {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  }
  int Between(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<uint32_t>(hi - lo + 1)); }
};

// Distinct, bright enough colours so that every primitive stays visible in a PNG.
uint32_t Colour(int index) {
  const uint32_t i = static_cast<uint32_t>(index) * 2654435761u;
  return (i & 0x7f7f7fu) | 0x808080u;
}

// Every direction of short lines, each in its own 20 x 20 cell: all octants,
// both diagonals, the axes and every slope up to 8 steps.
GdiScene ShortLines() {
  GdiScene s{"lines_every_octant_short", 17 * 20, 17 * 20, {}};
  int n = 0;
  for (int dy = -8; dy <= 8; ++dy) {
    for (int dx = -8; dx <= 8; ++dx) {
      const int cx = (dx + 8) * 20 + 10, cy = (dy + 8) * 20 + 10;
      s.primitives.push_back({GdiCall::kLine, cx, cy, cx + dx, cy + dy, Colour(n++)});
    }
  }
  return s;
}

// Long lines between random points, many of them partly outside the image.
GdiScene LongLines() {
  GdiScene s{"lines_long_partly_outside", 400, 300, {}};
  Lcg rng{12345};
  for (int n = 0; n < 160; ++n) {
    const int x0 = rng.Between(-200, 600), y0 = rng.Between(-150, 450);
    const int x1 = rng.Between(-200, 600), y1 = rng.Between(-150, 450);
    s.primitives.push_back({GdiCall::kLine, x0, y0, x1, y1, Colour(n)});
  }
  return s;
}

// Lines whose end points both lie far outside: only a middle piece shows, and
// its pixels depend on the error term carried in from the far start.
GdiScene FarLines() {
  GdiScene s{"lines_far_ends", 256, 256, {}};
  Lcg rng{777};
  for (int n = 0; n < 120; ++n) {
    const int x0 = rng.Between(-9000, 9000), y0 = rng.Between(-9000, 9000);
    const int x1 = 256 - x0 + rng.Between(-300, 300), y1 = 256 - y0 + rng.Between(-300, 300);
    s.primitives.push_back({GdiCall::kLine, x0, y0, x1, y1, Colour(n)});
  }
  return s;
}

// Rectangles from empty and inverted to large, with some partly outside.
GdiScene Rectangles() {
  GdiScene s{"rectangles", 12 * 16, 12 * 16 + 64, {}};
  int n = 0;
  for (int h = -2; h <= 9; ++h) {
    for (int w = -2; w <= 9; ++w) {
      const int l = (w + 2) * 16 + 3, t = (h + 2) * 16 + 3;
      s.primitives.push_back({GdiCall::kRectangle, l, t, l + w, t + h, Colour(n++)});
    }
  }
  const int y = 12 * 16;
  s.primitives.push_back({GdiCall::kRectangle, -5, y + 2, 60, y + 40, Colour(n++)});
  s.primitives.push_back({GdiCall::kRectangle, 150, y + 30, 250, y + 100, Colour(n++)});
  s.primitives.push_back({GdiCall::kRectangle, 70, y + 60, 120, y + 10, Colour(n++)});
  s.primitives.push_back({GdiCall::kRectangle, -50, -50, 400, 400, Colour(n++)});
  return s;
}

// Every ellipse box from 0 x 0 to 25 x 25, each in its own cell: the odd and
// even sizes and the tiny ones that GDI outlines as rectangles.
GdiScene SmallEllipses() {
  GdiScene s{"ellipses_tiny_to_small", 26 * 28, 26 * 28, {}};
  int n = 0;
  for (int h = 0; h <= 25; ++h) {
    for (int w = 0; w <= 25; ++w) {
      const int l = w * 28 + 1, t = h * 28 + 1;
      // Every third box is given with its corners swapped.
      if (n % 3 == 1) {
        s.primitives.push_back({GdiCall::kEllipse, l + w, t + h, l, t, Colour(n++)});
      } else {
        s.primitives.push_back({GdiCall::kEllipse, l, t, l + w, t + h, Colour(n++)});
      }
    }
  }
  return s;
}

// Medium to large ellipses, odd and even sizes, concentric and partly outside.
GdiScene LargeEllipses() {
  GdiScene s{"ellipses_large_partly_outside", 600, 400, {}};
  int n = 0;
  for (int r = 26; r < 700; r = r * 5 / 4 + 1) {
    s.primitives.push_back({GdiCall::kEllipse, 200 - r, 200 - r, 200 + r, 200 + r, Colour(n++)});
    s.primitives.push_back({GdiCall::kEllipse, 401 - r, 150 - r / 2, 400 + r + 1, 151 + r / 3, Colour(n++)});
  }
  Lcg rng{4242};
  for (int k = 0; k < 40; ++k) {
    const int l = rng.Between(-300, 500), t = rng.Between(-300, 350);
    s.primitives.push_back({GdiCall::kEllipse, l, t, l + rng.Between(3, 900), t + rng.Between(3, 700), Colour(n++)});
  }
  s.primitives.push_back({GdiCall::kEllipse, -1200, -900, 1801, 1300, Colour(n++)});
  return s;
}

// Very flat and very tall ellipses, where the outline has long straight runs.
GdiScene FlatEllipses() {
  GdiScene s{"ellipses_flat_and_tall", 520, 520, {}};
  int n = 0;
  for (int k = 3; k <= 12; ++k) {
    const int y = (k - 3) * 13 + 2;
    s.primitives.push_back({GdiCall::kEllipse, 2, y, 2 + 40 * k + 17, y + k, Colour(n++)});
    const int x = 140 + (k - 3) * 14;
    s.primitives.push_back({GdiCall::kEllipse, x, 140, x + k, 140 + 37 * k + 5, Colour(n++)});
  }
  return s;
}

// Boxes wider or higher than 4096 pixels, whose outline the raster computes
// from the ellipse's equation instead of GDI's integer steps: arcs of
// ellipses up to 200000 pixels wide crossing the image. Where the curve
// passes within a hair of the middle between two pixels, GDI's integer error
// term and the equation may pick neighbouring pixels: 10 of the pixels
// here, each one step from GDI's along the curve.
GdiScene HugeEllipses() {
  GdiScene s{"ellipses_beyond_the_exact_outline", 600, 400, {}, 10};
  int n = 0;
  int shift = 0;
  for (int r : {2100, 2500, 3001, 4500, 8000, 20000, 100000}) {
    s.primitives.push_back(
        {GdiCall::kEllipse, 300 - 2 * r + 100 - shift, 200 - r, 400 - shift, 200 + r, Colour(n++)});
    s.primitives.push_back({GdiCall::kEllipse, 300 - r, 10 - 2 * r + shift, 300 + r + 1, 10 + shift, Colour(n++)});
    shift += 37;
  }
  return s;
}

}  // namespace

std::vector<GdiScene> GdiScenes() {
  return {ShortLines(),     LongLines(),    FarLines(),    Rectangles(),
          SmallEllipses(),  LargeEllipses(), FlatEllipses(), HugeEllipses()};
}
