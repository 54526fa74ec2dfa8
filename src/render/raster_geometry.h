#pragma once
// Which pixels: the pixel sets of GDI's one-pixel cosmetic lines and of its
// ellipse outlines, computed for a clip rectangle and handed to a callback
// plot(x, y) one pixel at a time. Writing them is the Raster's business.
//
// Sections:
//   1. clip rectangle and 128-bit helpers
//   2. lines: Bresenham with GDI's per-octant bias, clipped with the error
//      term carried across the clip
//   3. ellipses: GDI's outline of the ellipse inscribed in a box

#include <algorithm>
#include <cstdint>

namespace raster {

// ---- 1. clip rectangle and 128-bit helpers ---------------------------------

// Pixels x in [left, right) and y in [top, bottom).
struct ClipRect {
  int64_t left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return left >= right || top >= bottom; }
  bool Contains(int64_t x, int64_t y) const { return x >= left && x < right && y >= top && y < bottom; }
};

__extension__ using Int128 = __int128;

// Floor and ceiling of n / d for d > 0.
inline Int128 FloorDiv(Int128 n, Int128 d) {
  Int128 q = n / d;
  if (n % d != 0 && n < 0) --q;
  return q;
}
inline Int128 CeilDiv(Int128 n, Int128 d) {
  Int128 q = n / d;
  if (n % d != 0 && n > 0) ++q;
  return q;
}

// ---- 2. lines ---------------------------------------------------------------

// End points up to this far from the origin are traced exactly; every
// product below then fits in 128 bits and the error term in 64.
inline constexpr int64_t kExactLineLimit = int64_t{1} << 60;

// GDI's octants, numbered counter-clockwise on the screen from +x, with y
// growing downward (Wine's numbering):
//    \ 3 | 2 /
//   4 \  |  / 1
//   ----------
//   5 /  |  \ 8
//    / 6 | 7 \   .
inline int LineOctant(int64_t dx, int64_t dy) {
  if (dy > 0) {
    if (dx > 0) return dx > dy ? 1 : 2;
    return -dx > dy ? 4 : 3;
  }
  if (dx < 0) return -dx > -dy ? 5 : 6;
  return dx > -dy ? 8 : 7;
}

// Windows rounds the half-way minor step down in octants 3, 5, 6 and 8 and up
// in the others: those four take a bias of 1 in the error test.
inline int64_t LineBias(int octant) {
  return (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
}
inline bool LineIsXMajor(int octant) { return octant == 1 || octant == 4 || octant == 5 || octant == 8; }

// The steps k in [0, last] for which start + step * k lies in [lo, hi).
// Returns false when there are none.
inline bool StepsInside(int64_t start, int64_t step, int64_t lo, int64_t hi, int64_t last, int64_t& first,
                        int64_t& final) {
  Int128 a, b;
  if (step > 0) {
    a = Int128{lo} - start;
    b = Int128{hi} - 1 - start;
  } else {
    a = Int128{start} - (Int128{hi} - 1);
    b = Int128{start} - lo;
  }
  a = std::max<Int128>(a, 0);
  b = std::min<Int128>(b, last);
  if (a > b) return false;
  first = static_cast<int64_t>(a);
  final = static_cast<int64_t>(b);
  return true;
}

// The pixels of the line from (x0, y0) to (x1, y1) as GDI draws it with a
// one-pixel cosmetic pen: the start pixel lit, the end pixel not. Only the
// pixels inside `clip` are visited, and they are exactly those the unclipped
// line lights there. Coordinates must lie within +-kExactLineLimit.
//
// Along the major axis pixel i (0 <= i < major) steps n_i times along the
// minor axis, where Bresenham's error test "err + bias > 0" gives
//   n_i = ceil((2 i minor - major + bias) / (2 major)).
// Inverting that for the clip's minor bounds gives the visible steps at once.
template <class Plot>
void TraceLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, const ClipRect& clip, Plot&& plot) {
  const int64_t dx = x1 - x0, dy = y1 - y0;
  if ((dx == 0 && dy == 0) || clip.Empty()) return;
  const int octant = LineOctant(dx, dy);
  const int64_t bias = LineBias(octant);
  const bool xMajor = LineIsXMajor(octant);
  const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const int64_t major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
  const int64_t majorStart = xMajor ? x0 : y0, minorStart = xMajor ? y0 : x0;
  const int64_t majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const int64_t minorStep = (xMajor ? dy : dx) >= 0 ? 1 : -1;
  const int64_t majorLo = xMajor ? clip.left : clip.top, majorHi = xMajor ? clip.right : clip.bottom;
  const int64_t minorLo = xMajor ? clip.top : clip.left, minorHi = xMajor ? clip.bottom : clip.right;

  int64_t iFirst = 0, iLast = 0, nFirst = 0, nLast = 0;
  if (!StepsInside(majorStart, majorStep, majorLo, majorHi, major - 1, iFirst, iLast)) return;
  if (!StepsInside(minorStart, minorStep, minorLo, minorHi, minor, nFirst, nLast)) return;
  const Int128 twoMajor = Int128{2} * major, twoMinor = Int128{2} * minor;
  if (minor > 0) {
    // n_i >= nFirst from this step on, n_i <= nLast up to that one.
    if (nFirst > 0) {
      const Int128 from = FloorDiv(twoMajor * nFirst - major - bias, twoMinor) + 1;
      iFirst = static_cast<int64_t>(std::max<Int128>(iFirst, from));
    }
    const Int128 to = FloorDiv(twoMajor * nLast + major - bias, twoMinor);
    iLast = static_cast<int64_t>(std::min<Int128>(iLast, to));
  }
  if (iFirst > iLast) return;

  // Bresenham's state at the first visible pixel, then its usual steps.
  int64_t n = static_cast<int64_t>(CeilDiv(twoMinor * iFirst - major + bias, twoMajor));
  int64_t err = static_cast<int64_t>(twoMinor - major + twoMinor * iFirst - twoMajor * n);
  const int64_t errStep = 2 * minor, errStepBack = 2 * minor - 2 * major;
  int64_t along = majorStart + majorStep * iFirst;
  for (int64_t i = iFirst; i <= iLast; ++i) {
    const int64_t across = minorStart + minorStep * n;
    if (xMajor) {
      plot(along, across);
    } else {
      plot(across, along);
    }
    if (err + bias > 0) {
      ++n;
      err += errStepBack;
    } else {
      err += errStep;
    }
    along += majorStep;
  }
}

// ---- 3. ellipses ------------------------------------------------------------

// Boxes up to this size are outlined exactly as GDI does; larger ones from
// the ellipse's equation, one visible row at a time (see Raster::Ellipse).
inline constexpr int64_t kExactEllipseSide = 4096;

// Ellipse boxes are drawn while every corner lies within +-2^51: there the
// box's centre and semi-axes, halves of integers, are exact in double
// precision, and the outline from the equation keeps its place. A box with a
// corner beyond draws nothing (its pixels could no longer be placed).
inline constexpr int64_t kEllipseCornerLimit = int64_t{1} << 51;

// GDI's outline of the ellipse in a width x height box (both at least 3 and
// at most kExactEllipseSide), as the quarter from the right end of the middle
// row to the middle of the top row, in box coordinates (x right, y up from
// the bottom row), by Alois Zingl's integer algorithm. The whole outline is
// this quarter and its mirror images about the box's middle column and row;
// consecutive points are neighbours, so the closed polyline through them
// lights exactly these points.
template <class Point>
void WalkEllipseQuarter(int64_t width, int64_t height, Point&& point) {
  const int64_t a = width - 1, b = height - 1;
  const int64_t aSquared8 = 8 * a * a, bSquared8 = 8 * b * b;
  int64_t dx = 4 * b * b * (1 - a);
  int64_t dy = 4 * a * a * (1 + b % 2);
  int64_t err = dx + dy + a * a * (b % 2);
  int64_t x = a, y = height / 2;
  // Every step moves x or y (or both); the guard only bounds the loop.
  for (int64_t guard = a + b + 2; x >= width / 2 && guard > 0; --guard) {
    const int64_t e2 = 2 * err;
    point(x, y);
    if (e2 >= dx) {
      --x;
      dx += bSquared8;
      err += dx;
    }
    if (e2 <= dy) {
      ++y;
      dy += aSquared8;
      err += dy;
    }
  }
}

}  // namespace raster
