#include "render/polar_view.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "render/band_workers.h"
#include "render/hold_single.h"
#include "render/palette.h"
#include "render/polar_rings.h"
#include "render/raster.h"

// The diagram is drawn in this order, later figures over earlier ones:
// black field, fine grid, coarse grid, rings with labels, curve, markers.
// Every coordinate is computed in double precision and truncated toward zero
// by the raster; values "held in single precision" are rounded to float
// where the steps say so.

namespace {

constexpr float kDegree = 0.017453292f;  // radians per degree
constexpr float kStraightUp = -3.1415927f;

// Sine and cosine of every whole degree from -180 to 180, as double(a * 0.017453292f).
struct DegreeTable {
  std::array<double, 361> sine{}, cosine{};
  DegreeTable() {
    for (int a = -180; a <= 180; ++a) {
      const double alpha = a * static_cast<double>(kDegree);
      sine[static_cast<size_t>(a + 180)] = std::sin(alpha);
      cosine[static_cast<size_t>(a + 180)] = std::cos(alpha);
    }
  }
};

const DegreeTable& Degrees() {
  static const DegreeTable table;
  return table;
}

// Diameters through the pole, one every `step` radians for `count` steps, each
// 2 * halfLength long.
void DrawGrid(Raster& raster, const DistributionEditor& e, float halfLength, int count, float step) {
  for (int n = 0; n < count; ++n) {
    const double alpha = n * static_cast<double>(step);
    const float dx = HoldSingle(halfLength * std::sin(alpha));
    const float dy = HoldSingle(halfLength * std::cos(alpha));
    raster.MoveTo(std::trunc(double{e.centerX} - dx), std::trunc(double{e.centerY} - dy));
    raster.LineTo(std::trunc(double{e.centerX} + dx), std::trunc(double{e.centerY} + dy));
  }
}

// Rings wider than 40 pixels, each labelled at its right end, level with the pole.
void DrawRings(Raster& raster, const DistributionEditor& e) {
  polar_rings::ForEachDrawnRing(e.polarScale, [&](const polar_rings::Ring& ring) {
    const double r = ring.radius;
    raster.Ellipse(std::trunc(e.centerX - r), std::trunc(e.centerY - r), std::trunc(e.centerX + r),
                   std::trunc(e.centerY + r));
    char buffer[24];
    raster.TextOut(std::trunc(e.centerX + r), std::trunc(double{e.centerY}), polar_rings::Label(ring, buffer));
  });
}

struct CurvePoint {
  double x, y;
};

// The curve of the half a degree a in -180..180 lies in: negative degrees
// are left of the origin.
const Curve& CurveOfSide(const DistributionEditor& e, int a) {
  return a < 0 && e.leftCurve ? *e.leftCurve : e.curve;
}

// P(a) for a whole degree a in -180..180.
CurvePoint PointOfSample(const DistributionEditor& e, int a) {
  const double v = CurveOfSide(e, a)[static_cast<size_t>(a < 0 ? -a : a)];
  const DegreeTable& t = Degrees();
  const size_t i = static_cast<size_t>(a + 180);
  return {std::trunc(e.centerX + t.sine[i] * e.polarScale * v), std::trunc(e.centerY + t.cosine[i] * e.polarScale * v)};
}

// Every figure of the diagram, written only in rows [firstRow, endRow).
void DrawPolarRows(const DistributionEditor& e, Image& client, int labelScale, int firstRow, int endRow) {
  Raster raster(client, 0, 0, e.halfWidth(), e.clientHeight);
  raster.RestrictRows(firstRow, endRow);
  raster.Fill(Rgb(0, 0, 0));

  // Grid lines reach 30 times the geometric mean of the client's sides.
  const double area = static_cast<double>(int64_t{e.clientWidth} * e.clientHeight);
  const float halfLength = HoldSingle(30.0 * std::sqrt(area));
  raster.SelectPen(penDarkBlue);
  DrawGrid(raster, e, halfLength, 180, kDegree);
  raster.SelectPen(penGrey);
  DrawGrid(raster, e, halfLength, 12, 0.2617994f);

  raster.SetTextColour(labelColour);
  raster.SetTextScale(labelScale);
  DrawRings(raster, e);

  // The closed polyline from the top down the left side and up the right.
  raster.SelectPen(penDarkGreen);
  const double top = CurveOfSide(e, -180)[180];
  raster.MoveTo(std::trunc(e.centerX + std::sin(double{kStraightUp}) * e.polarScale * top),
                std::trunc(e.centerY + std::cos(double{kStraightUp}) * e.polarScale * top));
  for (int a = -180; a <= 180; ++a) {
    const CurvePoint p = PointOfSample(e, a);
    raster.LineTo(p.x, p.y);
  }

  raster.SelectPen(penGreen);
  for (int a = -180; a <= 180; ++a) {
    const CurvePoint p = PointOfSample(e, a);
    raster.Rectangle(p.x - 2, p.y - 2, p.x + 2, p.y + 2);
  }
}

}  // namespace

void DrawPolar(const DistributionEditor& e, Image& client, int labelScale) {
  const int halfWidth = e.halfWidth();
  if (halfWidth <= 0 || e.clientHeight <= 0) return;
  // A large diagram is cut into bands of rows, one per core. Every figure
  // is drawn in every band, cut to it, so the pixels are those of one pass;
  // each band costs its own rows, most of them the black field.
  const int rows = std::max(std::min(e.clientHeight, client.height), 0);
  const unsigned bands = BandsFor(int64_t{halfWidth} * rows, int64_t{1} << 20);
  RunBands(bands, [&](unsigned band) {
    DrawPolarRows(e, client, labelScale, static_cast<int>(int64_t{rows} * band / bands),
                  static_cast<int>(int64_t{rows} * (band + 1) / bands));
  });
}
