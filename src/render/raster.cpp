#include "render/raster.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "render/label_font.h"

// Sections:
//   1. construction, fill and scan lines
//   2. lines, and the cut of lines with far end points
//   3. rectangles
//   4. ellipses, exact and from the equation
//   5. text

namespace {

using raster::ClipRect;

bool AllFinite(std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

// A figure's box as GDI takes it: corners truncated to whole pixels and
// ordered. False for a box with a non-finite corner or of zero width or
// height, which draws nothing.
bool OrderedNonEmptyBox(double& left, double& top, double& right, double& bottom) {
  if (!AllFinite({left, top, right, bottom})) return false;
  left = std::trunc(left);
  top = std::trunc(top);
  right = std::trunc(right);
  bottom = std::trunc(bottom);
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  return left != right && top != bottom;
}

bool WithinExactLimit(double v) {
  return std::fabs(v) <= static_cast<double>(raster::kExactLineLimit);
}

}  // namespace

// ---- 1. construction, fill and scan lines -----------------------------------

Raster::Raster(Image& image, int left, int top, int right, int bottom)
    : pixels_(image.pixels.data()),
      stride_(static_cast<size_t>(image.width)),
      areaLeft_(left),
      areaBottom_(bottom) {
  const bool imageValid =
      image.width > 0 && image.height > 0 &&
      image.pixels.size() == static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
  clip_ = {std::max(left, 0), std::max(top, 0), std::min(right, imageValid ? image.width : 0),
           std::min(bottom, imageValid ? image.height : 0)};
  area_ = clip_;
}

void Raster::RestrictRows(int top, int bottom) {
  clip_.top = std::max<int64_t>(area_.top, top);
  clip_.bottom = std::min<int64_t>(area_.bottom, bottom);
}

void Raster::Fill(uint32_t colour) {
  if (clip_.Empty()) return;
  for (int64_t y = clip_.top; y < clip_.bottom; ++y) {
    uint32_t* row = pixels_ + static_cast<size_t>(y) * stride_;
    std::fill(row + clip_.left, row + clip_.right, colour);
  }
}

void Raster::SetScanLine(int scanLine, std::span<const uint32_t> line) {
  const int64_t y = int64_t{areaBottom_} - 1 - scanLine;
  if (clip_.Empty() || y < clip_.top || y >= clip_.bottom) return;
  const int64_t from = std::max<int64_t>(clip_.left, areaLeft_);
  const int64_t to = std::min<int64_t>(clip_.right, areaLeft_ + static_cast<int64_t>(line.size()));
  if (from >= to) return;
  std::copy(line.begin() + (from - areaLeft_), line.begin() + (to - areaLeft_),
            pixels_ + static_cast<size_t>(y) * stride_ + static_cast<size_t>(from));
}

std::span<uint32_t> Raster::ScanLinePixels(int scanLine, size_t length) {
  const int64_t y = int64_t{areaBottom_} - 1 - scanLine;
  const bool inside = y >= clip_.top && y < clip_.bottom && areaLeft_ >= clip_.left &&
                      int64_t{areaLeft_} + static_cast<int64_t>(length) <= clip_.right;
  if (!inside) return {};
  return {pixels_ + static_cast<size_t>(y) * stride_ + static_cast<size_t>(areaLeft_), length};
}

// ---- 2. lines ---------------------------------------------------------------

void Raster::MoveTo(double x, double y) {
  currentX_ = x;
  currentY_ = y;
}

void Raster::LineTo(double x, double y) {
  Line(currentX_, currentY_, x, y);
  currentX_ = x;
  currentY_ = y;
}

void Raster::Line(double x0, double y0, double x1, double y1) {
  if (clip_.Empty() || !AllFinite({x0, y0, x1, y1})) return;
  x0 = std::trunc(x0);
  y0 = std::trunc(y0);
  x1 = std::trunc(x1);
  y1 = std::trunc(y1);
  if (!(WithinExactLimit(x0) && WithinExactLimit(y0) && WithinExactLimit(x1) && WithinExactLimit(y1))) {
    LineThroughFarPoints(x0, y0, x1, y1);
    return;
  }
  raster::TraceLine(static_cast<int64_t>(x0), static_cast<int64_t>(y0), static_cast<int64_t>(x1),
                    static_cast<int64_t>(y1), clip_, [this](int64_t x, int64_t y) { Put(x, y, pen_); });
}

// An end point beyond the exact limit: cut the segment to a box two pixels
// larger than the area on every side (Liang and Barsky), then trace the cut
// piece from start to end within the clip. A cut end lies on the box, outside
// the area, so excluding it changes nothing; the box is the area's, not the
// clip's, so rows drawn apart get the pixels of the whole. Everything is
// measured from the end nearer the box, in extended precision, so the
// parameters of the crossings are small and exact to their last digits, and
// each crossing has the side as one coordinate and the other from the slope:
// a ray from a pole near the area to a point 1e50 away crosses it where it
// should, and misses it when it should.
void Raster::LineThroughFarPoints(double x0, double y0, double x1, double y1) {
  using Wide = long double;
  if (area_.Empty()) return;
  const Wide box[4] = {Wide(area_.left) - 2, Wide(area_.top) - 2, Wide(area_.right) + 1, Wide(area_.bottom) + 1};
  const Wide midX = (box[0] + box[2]) / 2, midY = (box[1] + box[3]) / 2;
  auto farness = [&](Wide x, Wide y) { return std::max(std::fabs(x - midX), std::fabs(y - midY)); };
  const bool startIsNearer = farness(x0, y0) <= farness(x1, y1);
  const Wide nx = startIsNearer ? x0 : x1, ny = startIsNearer ? y0 : y1;
  const Wide fx = startIsNearer ? x1 : x0, fy = startIsNearer ? y1 : y0;
  const Wide dx = fx - nx, dy = fy - ny;
  Wide enter = 0, exit = 1;
  int enterSide = -1, exitSide = -1;  // 0 left, 1 top, 2 right, 3 bottom
  // One side: p * u <= q for the points N + u (F - N) inside.
  auto limit = [&](int side, Wide p, Wide q) {
    if (p == 0) return q >= 0;
    const Wide u = q / p;
    if (p < 0 && u > enter) {
      enter = u;
      enterSide = side;
    } else if (p > 0 && u < exit) {
      exit = u;
      exitSide = side;
    }
    return enter <= exit;
  };
  if (!(limit(0, -dx, nx - box[0]) && limit(2, dx, box[2] - nx) && limit(1, -dy, ny - box[1]) &&
        limit(3, dy, box[3] - ny))) {
    return;
  }
  // A crossing takes the side as one coordinate and the other from the slope.
  struct WidePoint {
    Wide x, y;
  };
  auto onSide = [&](int side) {
    const Wide at = box[side];
    if (side % 2 == 0) return WidePoint{at, ny + (at - nx) * (dy / dx)};
    return WidePoint{nx + (at - ny) * (dx / dy), at};
  };
  const WidePoint nearCut = enterSide >= 0 ? onSide(enterSide) : WidePoint{nx, ny};
  const WidePoint farCut = exitSide >= 0 ? onSide(exitSide) : WidePoint{fx, fy};
  // Kept in the box: rounding may pass an end that only grazes it.
  auto inBox = [&](Wide v, int low) {
    return static_cast<int64_t>(std::trunc(std::clamp(v, box[low], box[low + 2])));
  };
  const int64_t nearX = inBox(nearCut.x, 0), nearY = inBox(nearCut.y, 1);
  const int64_t farX = inBox(farCut.x, 0), farY = inBox(farCut.y, 1);
  auto put = [this](int64_t x, int64_t y) { Put(x, y, pen_); };
  if (startIsNearer) {
    raster::TraceLine(nearX, nearY, farX, farY, clip_, put);
  } else {
    raster::TraceLine(farX, farY, nearX, nearY, clip_, put);
  }
}

// ---- 3. rectangles ------------------------------------------------------------

void Raster::HorizontalRun(double y, double x0, double x1) {
  if (!(y >= static_cast<double>(clip_.top) && y < static_cast<double>(clip_.bottom))) return;
  x0 = std::max(x0, static_cast<double>(clip_.left));
  x1 = std::min(x1, static_cast<double>(clip_.right - 1));
  if (!(x0 <= x1)) return;
  const auto row = static_cast<int64_t>(y);
  for (auto x = static_cast<int64_t>(x0); x <= static_cast<int64_t>(x1); ++x) Put(x, row, pen_);
}

void Raster::VerticalRun(double x, double y0, double y1) {
  if (!(x >= static_cast<double>(clip_.left) && x < static_cast<double>(clip_.right))) return;
  y0 = std::max(y0, static_cast<double>(clip_.top));
  y1 = std::min(y1, static_cast<double>(clip_.bottom - 1));
  if (!(y0 <= y1)) return;
  const auto column = static_cast<int64_t>(x);
  for (auto y = static_cast<int64_t>(y0); y <= static_cast<int64_t>(y1); ++y) Put(column, y, pen_);
}

// GDI orders the corners, draws nothing for an empty box, and otherwise runs
// a closed polyline through the corners of the box shrunk by its right column
// and bottom row. Each side excludes its end pixel, which the next side
// lights, so the outline is complete - except for a 1 x 1 box, whose four
// sides all have length zero and light nothing.
void Raster::Rectangle(double left, double top, double right, double bottom) {
  if (clip_.Empty() || !OrderedNonEmptyBox(left, top, right, bottom)) return;
  const double lastColumn = right - 1, lastRow = bottom - 1;
  if (lastColumn == left && lastRow == top) return;
  HorizontalRun(top, left, lastColumn);
  HorizontalRun(lastRow, left, lastColumn);
  VerticalRun(left, top, lastRow);
  VerticalRun(lastColumn, top, lastRow);
}

// ---- 4. ellipses ---------------------------------------------------------------

// GDI orders the corners and draws nothing for an empty box; a box two pixels
// wide or high or less is drawn as a rectangle; otherwise the outline is
// Zingl's quarter and its three mirror images.
void Raster::Ellipse(double left, double top, double right, double bottom) {
  if (clip_.Empty() || !OrderedNonEmptyBox(left, top, right, bottom)) return;
  const double width = right - left, height = bottom - top;
  if (width <= 2 || height <= 2) {
    Rectangle(left, top, right, bottom);
    return;
  }
  const auto limit = static_cast<double>(raster::kEllipseCornerLimit);
  if (!(std::fabs(left) <= limit && std::fabs(top) <= limit && std::fabs(right) <= limit &&
        std::fabs(bottom) <= limit)) {
    return;
  }
  // A box that misses the clip leaves no trace.
  if (right <= static_cast<double>(clip_.left) || left >= static_cast<double>(clip_.right) ||
      bottom <= static_cast<double>(clip_.top) || top >= static_cast<double>(clip_.bottom)) {
    return;
  }
  const auto side = static_cast<double>(raster::kExactEllipseSide);
  if (width > side || height > side) {
    EllipseFromEquation(left, top, right, bottom);
    return;
  }
  // The box meets the clip and is small, so its corners are small integers.
  const auto l = static_cast<int64_t>(left), t = static_cast<int64_t>(top);
  const auto w = static_cast<int64_t>(width), h = static_cast<int64_t>(height);
  raster::WalkEllipseQuarter(w, h, [&](int64_t x, int64_t y) {
    const int64_t right_ = l + x, left_ = l + w - 1 - x;
    const int64_t lower = t + h - 1 - y, upper = t + y;
    PutIfInside(right_, lower, pen_);
    PutIfInside(left_, lower, pen_);
    PutIfInside(right_, upper, pen_);
    PutIfInside(left_, upper, pen_);
  });
}

// A box too large for GDI's integer outline: the ellipse through the centres
// of the box's outermost pixels, thin and 8-connected as GDI draws it. Where
// it is steep (within 45 degrees of vertical) each row gets the one pixel
// nearest the curve; where it is flat each column does, which in a row is the
// run of columns whose nearest row it is. Mirrored about the middle column,
// and only the visible rows are visited, so the cost follows what shows.
void Raster::EllipseFromEquation(double left, double top, double right, double bottom) {
  const double centreX2 = left + right - 1;  // twice the centre
  const double centreX = centreX2 / 2, centreY = (top + bottom - 1) / 2;
  const double a = (right - left - 1) / 2, b = (bottom - top - 1) / 2;  // semi-axes

  // A clip wholly inside the ring's hole shows nothing of it.
  if (a > 2 && b > 2) {
    bool allInside = true;
    for (double x : {static_cast<double>(clip_.left), static_cast<double>(clip_.right - 1)}) {
      for (double y : {static_cast<double>(clip_.top), static_cast<double>(clip_.bottom - 1)}) {
        const double u = (x - centreX) / (a - 1.5), v = (y - centreY) / (b - 1.5);
        allInside = allInside && u * u + v * v < 1;
      }
    }
    if (allInside) return;
  }

  // Half-width of the ellipse at distance d from the middle row; (b - d)(b + d)
  // keeps its digits near the top and bottom.
  auto halfWidthAt = [a, b](double d) { return d >= b ? 0.0 : a / b * std::sqrt((b - d) * (b + d)); };
  // Where the curve turns through 45 degrees: row distance and column offset.
  const double diagonal = std::sqrt(a * a + b * b);
  const double steepRows = b * b / diagonal, flatColumns = a * a / diagonal;

  const double firstRow = std::max(top, static_cast<double>(clip_.top));
  const double lastRow = std::min(bottom - 1, static_cast<double>(clip_.bottom - 1));
  for (auto row = static_cast<int64_t>(firstRow); row <= static_cast<int64_t>(lastRow); ++row) {
    const auto y = static_cast<double>(row);
    const double d = std::fabs(y - centreY);
    if (d <= steepRows) {
      const double x = std::floor(centreX + halfWidthAt(d) + 0.5);
      HorizontalRun(y, x, x);
      HorizontalRun(y, centreX2 - x, centreX2 - x);
    }
    // Columns whose offset o from the centre has this row nearest the curve:
    // halfWidthAt(d + 1/2) < o <= halfWidthAt(d - 1/2), o within the flat part.
    // On the top and bottom rows the middle column counts too.
    const double from = d + 0.5 >= b ? std::ceil(centreX) : std::floor(centreX + halfWidthAt(d + 0.5)) + 1;
    const double to = std::min(std::floor(centreX + halfWidthAt(std::max(d - 0.5, 0.0))),
                               std::ceil(centreX + flatColumns) - 1);
    if (from <= to) {
      HorizontalRun(y, from, to);
      HorizontalRun(y, centreX2 - to, centreX2 - from);
    }
  }
}

// ---- 5. text ----------------------------------------------------------------------

void Raster::TextOut(double x, double y, std::string_view text) {
  if (clip_.Empty() || text.empty() || !AllFinite({x, y})) return;
  x = std::trunc(x);
  y = std::trunc(y);
  const int cellWidth = label_font::kCellWidth * textScale_;
  const int cellHeight = label_font::kCellHeight * textScale_;
  const double textWidth = static_cast<double>(text.size()) * cellWidth;
  if (x + textWidth <= static_cast<double>(clip_.left) || x >= static_cast<double>(clip_.right) ||
      y + cellHeight <= static_cast<double>(clip_.top) ||
      y >= static_cast<double>(clip_.bottom)) {
    return;
  }
  // The text meets the clip, so its corner is a small integer.
  const auto left = static_cast<int64_t>(x), top = static_cast<int64_t>(y);
  for (size_t i = 0; i < text.size(); ++i) {
    const label_font::Glyph& glyph = label_font::GlyphOf(text[i]);
    const int64_t cellLeft = left + static_cast<int64_t>(i) * cellWidth;
    for (int r = 0; r < cellHeight; ++r) {
      const uint8_t row = glyph[static_cast<size_t>(r / textScale_)];
      for (int c = 0; c < cellWidth; ++c) {
        if (row & (0x80 >> (c / textScale_))) PutIfInside(cellLeft + c, top + r, textColour_);
      }
    }
  }
}
