#include "render/wall_view.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <thread>
#include <vector>

#include "render/raster.h"

// Every pixel (i, r) of the half, scan line r counted from the bottom:
//   x = (2 i - halfWidth) / wallScale * 0.1          (double)
//   y = (2 r - H) / wallScale * 0.1                  (held in single precision)
//   R = sqrt(x^2 + y^2 + D^2)                        (held in single precision)
//   gamma = atan2(sqrt(x^2 + D^2), -y) * 57.295776   (degrees, 0 straight down)
//   v = curve[j] + (curve[j + 1] - curve[j]) * (gamma - j),  j = trunc(gamma)
//   E = v^2 D / R^3,  grey level trunc(255 sqrt(E)), at most 255.
//
// Faster, with the same pixels:
//   - x^2 and sqrt(x^2 + D^2) depend on the column only, y on the row only;
//     they are computed once per call.
//   - Columns i and halfWidth - i have x of opposite sign and equal x^2, so
//     their pixels are equal: only the columns from the middle on are
//     computed, and mirrored.
//   - The arctangent comes from a table of atan(k / 256) and a short series
//     (section 1), within about 1e-15 of std::atan2. The grey level is
//     monotone in |v|, so when the level taken from that angle lies farther
//     from the next whole level than the angle's error can move it, it is
//     the level std::atan2 gives; otherwise (about one pixel in 10^9 for a
//     smooth curve) the pixel is computed again with std::atan2.
//   - The rows are shared among the machine's cores inside the call.

namespace {

constexpr float kToDegrees = 57.295776f;
constexpr float kTenth = 0.1f;
constexpr double kPi = std::numbers::pi;

// ---- 1. arctangent ----------------------------------------------------------

constexpr int kAtanSteps = 256;

struct AtanTable {
  std::array<double, kAtanSteps + 1> value{};
  AtanTable() {
    for (int k = 0; k <= kAtanSteps; ++k) value[static_cast<size_t>(k)] = std::atan(double(k) / kAtanSteps);
  }
};

const AtanTable& Atans() {
  static const AtanTable table;
  return table;
}

// atan(t) for t in [0, 1]: atan(t_k) + atan((t - t_k) / (1 + t t_k)), the
// second term by its series to z^7 (|z| <= 1/512, so the rest is below 1e-25).
inline double AtanUnit(const AtanTable& table, double t) {
  const int k = static_cast<int>(t * kAtanSteps + 0.5);
  const double tk = double(k) / kAtanSteps;
  const double z = (t - tk) / (1.0 + t * tk);
  const double z2 = z * z;
  return table.value[static_cast<size_t>(k)] + z * (1.0 + z2 * (-1.0 / 3 + z2 * (1.0 / 5 - z2 / 7)));
}

// atan2(q, u) for q > 0 and finite u, in (0, pi).
inline double AtanOfUpperHalf(const AtanTable& table, double q, double u) {
  const double au = std::fabs(u);
  if (q >= au) {
    const double a = AtanUnit(table, au / q);
    return u >= 0 ? kPi / 2 - a : kPi / 2 + a;
  }
  const double a = AtanUnit(table, q / au);
  return u > 0 ? a : kPi - a;
}

// Bound on |fast angle - std::atan2 angle| in degrees, with a wide margin.
constexpr double kAngleError = 1e-11;

// ---- 2. one pixel -----------------------------------------------------------

// Per-degree data of the curve: the samples in double, and for the fast
// path's check the steepest neighbouring slope and the largest nearby sample.
struct CurveData {
  std::array<double, 182> sample{};
  std::array<double, 181> slope{};
  std::array<double, 181> size{};

  explicit CurveData(const DistributionEditor& e) {
    for (size_t j = 0; j < 181; ++j) sample[j] = e.curve[j];
    sample[181] = sample[180];
    for (size_t j = 0; j < 181; ++j) {
      double s = 0, m = 0;
      for (size_t n = (j == 0 ? 0 : j - 1); n <= std::min<size_t>(j + 2, 181); ++n) {
        m = std::max(m, std::fabs(sample[n]));
        if (n > 0) s = std::max(s, std::fabs(sample[n] - sample[n - 1]));
      }
      slope[j] = s;
      size[j] = m;
    }
  }
};

// The sample index of an angle in degrees: trunc, kept within 0..180.
inline int DegreeIndex(double gamma) {
  if (!(gamma >= 0)) return 0;  // also NaN
  if (gamma >= 180) return 180;
  return static_cast<int>(gamma);
}

inline double Interpolate(const CurveData& c, double gamma, int j) {
  const double lo = c.sample[static_cast<size_t>(j)];
  const double hi = c.sample[static_cast<size_t>(std::min(j + 1, 180))];
  return lo + (hi - lo) * (gamma - j);
}

// 255 sqrt(E) for the root intensity v at a point whose R^3 is given.
inline double Level(double v, double distance, double rCubed) {
  return 255.0 * std::sqrt(v * v * distance / rCubed);
}

inline uint32_t Grey(double level) {
  uint32_t b = 0;
  if (level >= 255) {
    b = 255;
  } else if (level > 0) {
    b = static_cast<uint32_t>(level);
  }
  return (b << 16) | (b << 8) | b;
}

struct Row {
  double ySquared;
  double minusY;
};

struct Column {
  double xSquared;
  double q;  // sqrt(x^2 + D^2)
};

// The grey pixel of one point, exactly by the formula.
inline uint32_t ExactPixel(const CurveData& c, const Column& col, const Row& row, double distance,
                           double rCubed) {
  const double gamma = std::atan2(col.q, row.minusY) * kToDegrees;
  return Grey(Level(Interpolate(c, gamma, DegreeIndex(gamma)), distance, rCubed));
}

// R^3 with R rounded to single precision; beyond the float range R is infinite.
inline double RCubed(double rSquared) {
  const double r = std::sqrt(rSquared);
  const double held = r > std::numeric_limits<float>::max() ? std::numeric_limits<double>::infinity()
                                                             : static_cast<double>(static_cast<float>(r));
  return held * held * held;
}

inline uint32_t FastPixel(const AtanTable& table, const CurveData& c, const Column& col, const Row& row,
                          double dSquared, double distance) {
  const double rCubed = RCubed(col.xSquared + row.ySquared + dSquared);
  const double gamma = AtanOfUpperHalf(table, col.q, row.minusY) * kToDegrees;
  const int j = DegreeIndex(gamma);
  const double v = std::fabs(Interpolate(c, gamma, j));
  const double level = Level(v, distance, rCubed);
  // How far the exact v may lie from this one, and the level with it.
  const double vError = c.slope[static_cast<size_t>(j)] * kAngleError + c.size[static_cast<size_t>(j)] * 1e-15;
  // All samples near this angle are zero: v is zero whatever the angle's error.
  if (vError == 0) return Grey(level);
  // The level is 255 |v| sqrt(D / R^3) up to rounding, so it may move by
  // level * vError / v; whole levels farther away than that cannot be crossed.
  double room;
  if (level >= 255) {
    room = level - 255;
  } else {
    const double whole = std::floor(level);
    room = std::min(level - whole, whole + 1 - level);
  }
  if (v > vError && room * v > level * vError + 1e-9 * v) return Grey(level);
  return ExactPixel(c, col, row, distance, rCubed);
}

// ---- 3. the half ----------------------------------------------------------------

struct WallJob {
  const CurveData* curve;
  const std::vector<Column>* columns;  // for columns first .. halfWidth-1, index i - first
  int halfWidth, firstColumn, height;
  double wallScale, distance, dSquared;
  Raster* raster;
};

double HoldSingleRow(double v) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (v > kMax) return std::numeric_limits<double>::infinity();
  if (v < -kMax) return -std::numeric_limits<double>::infinity();
  return static_cast<float>(v);
}

void DrawRows(const WallJob& job, int fromScanLine, int toScanLine) {
  const AtanTable& table = Atans();
  std::vector<uint32_t> line(static_cast<size_t>(job.halfWidth));
  for (int r = fromScanLine; r < toScanLine; ++r) {
    const double yHeld = HoldSingleRow((2.0 * r - job.height) / job.wallScale * double{kTenth});
    const Row row{yHeld * yHeld, -yHeld};
    for (int i = job.firstColumn; i < job.halfWidth; ++i) {
      const Column& col = (*job.columns)[static_cast<size_t>(i - job.firstColumn)];
      const uint32_t pixel = FastPixel(table, *job.curve, col, row, job.dSquared, job.distance);
      line[static_cast<size_t>(i)] = pixel;
      const int mirror = job.halfWidth - i;
      if (mirror >= 0 && mirror < job.halfWidth) line[static_cast<size_t>(mirror)] = pixel;
    }
    if (job.firstColumn > 0) {
      // Column 0 has no partner inside the half.
      const Column& col = (*job.columns).back();
      line[0] = FastPixel(table, *job.curve, col, row, job.dSquared, job.distance);
    }
    job.raster->SetScanLine(r, line);
  }
}

}  // namespace

void DrawWall(const DistributionEditor& e, Image& client) {
  const int halfWidth = e.halfWidth();
  const int height = e.clientHeight;
  if (halfWidth <= 0 || height <= 0) return;
  Raster raster(client, halfWidth, 0, 2 * halfWidth, height);
  // Rows outside the image need no work.
  const int visibleRows = std::min(height, client.height);
  if (visibleRows <= 0 || client.width <= halfWidth) return;

  const CurveData curve(e);
  const double distance = e.wallDistance;
  const double wallScale = e.wallScale;
  // The columns from the middle on, then column 0.
  const int firstColumn = halfWidth / 2;
  std::vector<Column> columns;
  columns.reserve(static_cast<size_t>(halfWidth - firstColumn + 1));
  auto makeColumn = [&](int i) {
    const double x = (2.0 * i - halfWidth) / wallScale * double{kTenth};
    const double xSquared = x * x;
    return Column{xSquared, std::sqrt(xSquared + distance * distance)};
  };
  for (int i = firstColumn; i < halfWidth; ++i) columns.push_back(makeColumn(i));
  if (firstColumn > 0) columns.push_back(makeColumn(0));

  const WallJob job{&curve, &columns, halfWidth, firstColumn, height, wallScale, distance, distance * distance,
                    &raster};
  // Scan line r is screen row height-1-r; only those inside the image are drawn.
  const int fromScanLine = height - visibleRows;
  const long pixels = long{halfWidth} * visibleRows;
  const unsigned cores = std::max(1u, std::min(std::thread::hardware_concurrency(), 8u));
  const unsigned workers = pixels >= (1L << 16) ? cores : 1u;
  std::vector<std::thread> threads;
  const int rows = height - fromScanLine;
  for (unsigned w = 1; w < workers; ++w) {
    const int from = fromScanLine + static_cast<int>(long{rows} * w / workers);
    const int to = fromScanLine + static_cast<int>(long{rows} * (w + 1) / workers);
    threads.emplace_back(DrawRows, std::cref(job), from, to);
  }
  DrawRows(job, fromScanLine, fromScanLine + static_cast<int>(long{rows} / workers));
  for (std::thread& t : threads) t.join();
}
