#include "render/wall_view.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <span>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/hold_single.h"
#include "render/raster.h"
#include "render/wall_geometry.h"

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
//     their pixels are equal: only the columns from the middle on (and
//     column 0) are computed, and mirrored.
//   - R^3 and the level are computed exactly as above, two pixels at a time
//     where SSE2 is there. Only the angle differs: it comes from a table of
//     atan(k / 256) and a short Taylor series (no division), within 1e-9
//     degrees of std::atan2. The level is monotone in |v|, so when it lies
//     farther from the next whole level than that angle error can move it,
//     it is the level std::atan2 gives; otherwise the pixel is computed again
//     with std::atan2 (no pixel of a 3840 x 2160 client for a smooth or a
//     random curve; a third of them for samples jumping between 0 and 1e35).
//   - Scan lines r and H - r have y and -y: R^3 and the arctangent are
//     computed once for both.
//   - The rows are shared among the machine's cores inside the call.
//   - Geometry outside the range where these bounds are safe (a scale or a
//     distance that is not a positive normal number, columns or rows far
//     out) takes the exact formula for every pixel.

namespace {

constexpr float kToDegrees = kWallRadToDeg;
constexpr double kPi = std::numbers::pi;

// ---- 1. arctangent ------------------------------------------------------------

constexpr int kAtanSteps = 256;

// atan(t) near t_k = k / 256 as a quartic in h = t - t_k.
struct AtanPiece {
  double value, first, second, third, fourth;
};

struct AtanTable {
  std::array<AtanPiece, kAtanSteps + 1> pieces{};
  AtanTable() {
    for (int k = 0; k <= kAtanSteps; ++k) {
      const double t = double(k) / kAtanSteps, w = 1.0 / (1.0 + t * t);
      pieces[static_cast<size_t>(k)] = {std::atan(t), w, -t * w * w, (3 * t * t - 1) / 3 * w * w * w,
                                         t * (1 - t * t) * w * w * w * w};
    }
  }
};

const AtanTable& Atans() {
  static const AtanTable table;
  return table;
}

// atan(t) for t in [0, 1]; |h| <= 1/512, so the series' rest is below 1e-13.
inline double AtanUnit(const AtanTable& table, double t) {
  const int k = static_cast<int>(t * kAtanSteps + 0.5);
  const AtanPiece& p = table.pieces[static_cast<size_t>(k)];
  const double h = t - double(k) / kAtanSteps;
  return p.value + h * (p.first + h * (p.second + h * (p.third + h * p.fourth)));
}

// Bound on |table angle - std::atan2 angle| in degrees, with a wide margin.
constexpr double kAngleError = 1e-9;

// ---- 2. the curve and one pixel by the formula ------------------------------------

// The samples in double (sample 181 repeats 180, so j + 1 needs no bound),
// and for the fast path's check a bound on how far v can move around each
// degree when the angle moves by kAngleError: the steepest nearby slope
// times that error, plus rounding of the largest nearby sample.
struct CurveData {
  std::array<double, 182> sample{};
  std::array<double, 181> vError{};

  explicit CurveData(const DistributionEditor& e) {
    for (size_t j = 0; j < 181; ++j) sample[j] = e.curve[j];
    sample[181] = sample[180];
    for (size_t j = 0; j < 181; ++j) {
      double slope = 0, size = 0;
      for (size_t n = (j == 0 ? 0 : j - 1); n <= std::min<size_t>(j + 2, 180); ++n) {
        size = std::max(size, std::fabs(sample[n]));
        if (n > 0) slope = std::max(slope, std::fabs(sample[n] - sample[n - 1]));
      }
      vError[j] = slope * kAngleError + size * 1e-15;
    }
  }
};

inline int DegreeIndex(double gamma) { return WallDegreeIndex(gamma); }

inline double Interpolate(const CurveData& c, double gamma, int j) {
  return WallInterpolate(c.sample[static_cast<size_t>(j)], c.sample[static_cast<size_t>(j + 1)], gamma, j);
}

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
  return Rgb(b, b, b);
}

// R held in single precision, cubed; beyond the float range R is infinite.
inline double RCubed(double rSquared) {
  const double held = HoldSingle(std::sqrt(rSquared));
  return held * held * held;
}

inline uint32_t ExactPixel(const CurveData& c, double xSquared, double q, double ySquared, double minusY,
                           double dSquared, double distance) {
  const double rCubed = RCubed(xSquared + ySquared + dSquared);
  const double gamma = WallAngle(q, minusY);
  return Grey(Level(Interpolate(c, gamma, DegreeIndex(gamma)), distance, rCubed));
}

// ---- 3. a row of pixels -----------------------------------------------------------

// What one call shares among its rows. Columns are the computed ones: from
// the middle of the half to its right end, then column 0; padded to even.
struct WallFrame {
  const CurveData* curve = nullptr;
  std::vector<double> xSquared, q;
  std::vector<int> column;  // the half's column of each computed column
  int computed = 0;         // computed columns without the padding
  int halfWidth = 0, height = 0;
  double wallScale = 0, distance = 0, dSquared = 0;
  bool fast = false;  // the table path's error bounds hold for every pixel
  Raster* raster = nullptr;
};

double RowY(const WallFrame& f, int scanLine) { return WallY(scanLine, f.height, f.wallScale); }

// Scratch of one worker, reused for every row.
struct RowScratch {
  std::vector<double> rCubed, ratio, v, vError, whole;  // ratio, then its arctangent
  std::vector<uint8_t> sure;  // per pair: bit 0 and 1 set where whole is the level
  std::vector<uint32_t> line;
  explicit RowScratch(const WallFrame& f)
      : rCubed(f.xSquared.size()), ratio(f.xSquared.size()), v(f.xSquared.size()), vError(f.xSquared.size()),
        whole(f.xSquared.size()), sure(f.xSquared.size() / 2), line(static_cast<size_t>(f.halfWidth)) {}
};

// rCubed = R^3 with R held in single precision; ratio = min(q, |y|) / max(q, |y|).
void GeometryOfRow(const WallFrame& f, double ySquared, double absY, RowScratch& s) {
  const size_t n = f.xSquared.size();
#if defined(__SSE2__)
  const __m128d y2 = _mm_set1_pd(ySquared), d2 = _mm_set1_pd(f.dSquared), ay = _mm_set1_pd(absY);
  for (size_t c = 0; c < n; c += 2) {
    const __m128d sum = _mm_add_pd(_mm_add_pd(_mm_loadu_pd(&f.xSquared[c]), y2), d2);
    const __m128d held = _mm_cvtps_pd(_mm_cvtpd_ps(_mm_sqrt_pd(sum)));
    _mm_storeu_pd(&s.rCubed[c], _mm_mul_pd(_mm_mul_pd(held, held), held));
    const __m128d qc = _mm_loadu_pd(&f.q[c]);
    _mm_storeu_pd(&s.ratio[c], _mm_div_pd(_mm_min_pd(qc, ay), _mm_max_pd(qc, ay)));
  }
#else
  for (size_t c = 0; c < n; ++c) {
    s.rCubed[c] = RCubed(f.xSquared[c] + ySquared + f.dSquared);
    s.ratio[c] = std::min(f.q[c], absY) / std::max(f.q[c], absY);
  }
#endif
}

// The level 255 sqrt(v^2 D / R^3), by the same operations as Level, and
// whether its whole part is sure: true when all samples near the angle are
// zero (v is zero whatever the angle's error), or when the level lies farther
// from the next whole level than the angle's error can move it. That move is
// at most level * vError / v, the level being 255 |v| sqrt(D / R^3) up to
// rounding; 1e-9 of a level covers the rounding.
void LevelsOfRow(const WallFrame& f, RowScratch& s) {
  const size_t n = f.xSquared.size();
#if defined(__SSE2__)
  const __m128d d = _mm_set1_pd(f.distance), top = _mm_set1_pd(255.0), one = _mm_set1_pd(1.0);
  const __m128d slack = _mm_set1_pd(1e-9), zero = _mm_setzero_pd();
  for (size_t c = 0; c < n; c += 2) {
    const __m128d v = _mm_loadu_pd(&s.v[c]), vError = _mm_loadu_pd(&s.vError[c]);
    const __m128d e = _mm_div_pd(_mm_mul_pd(_mm_mul_pd(v, v), d), _mm_loadu_pd(&s.rCubed[c]));
    const __m128d level = _mm_mul_pd(top, _mm_sqrt_pd(e));
    const __m128d whole = _mm_cvtepi32_pd(_mm_cvttpd_epi32(_mm_min_pd(level, top)));
    const __m128d fraction = _mm_sub_pd(level, whole);
    const __m128d capped = _mm_cmpge_pd(level, top);
    const __m128d room = _mm_or_pd(_mm_and_pd(capped, _mm_sub_pd(level, top)),
                                   _mm_andnot_pd(capped, _mm_min_pd(fraction, _mm_sub_pd(one, fraction))));
    const __m128d clear = _mm_and_pd(
        _mm_cmpgt_pd(v, vError),
        _mm_cmpgt_pd(_mm_mul_pd(room, v), _mm_add_pd(_mm_mul_pd(level, vError), _mm_mul_pd(slack, v))));
    const __m128d sure = _mm_or_pd(_mm_cmpeq_pd(vError, zero), clear);
    _mm_storeu_pd(&s.whole[c], whole);
    s.sure[c / 2] = static_cast<uint8_t>(_mm_movemask_pd(sure));
  }
#else
  for (size_t c = 0; c < n; c += 2) {
    uint8_t bits = 0;
    for (size_t k = 0; k < 2; ++k) {
      const double v = s.v[c + k], vError = s.vError[c + k];
      const double level = Level(v, f.distance, s.rCubed[c + k]);
      const double whole = std::trunc(std::min(level, 255.0));
      const double fraction = level - whole;
      const double room = level >= 255 ? level - 255 : std::min(fraction, 1 - fraction);
      if (vError == 0 || (v > vError && room * v > level * vError + 1e-9 * v)) bits |= uint8_t(1u << k);
      s.whole[c + k] = whole;
    }
    s.sure[c / 2] = bits;
  }
#endif
}

// One or two rows with the same |y|: scan lines r and H - r have y and -y,
// so R^3 and the arctangent of min(q, |y|) / max(q, |y|) serve both.
void FastRows(const WallFrame& f, const AtanTable& table, double y, std::span<const int> scanLines,
              RowScratch& s) {
  const CurveData& curve = *f.curve;
  const double ySquared = y * y, absY = std::fabs(y);
  GeometryOfRow(f, ySquared, absY, s);
  const size_t n = f.xSquared.size();
  for (size_t c = 0; c < n; ++c) s.ratio[c] = AtanUnit(table, s.ratio[c]);
  for (int scanLine : scanLines) {
    const double minusY = -RowY(f, scanLine);
    // Angles and root intensities.
    for (size_t c = 0; c < n; ++c) {
      const double a = s.ratio[c];
      double angle;
      if (f.q[c] >= absY) {
        angle = minusY >= 0 ? kPi / 2 - a : kPi / 2 + a;
      } else {
        angle = minusY > 0 ? a : kPi - a;
      }
      const double gamma = angle * kToDegrees;
      const int j = DegreeIndex(gamma);
      s.v[c] = std::fabs(Interpolate(curve, gamma, j));
      s.vError[c] = curve.vError[static_cast<size_t>(j)];
    }
    LevelsOfRow(f, s);
    for (size_t c = 0; c < static_cast<size_t>(f.computed); ++c) {
      uint32_t pixel;
      if (s.sure[c / 2] & (1u << (c % 2))) {
        const auto b = static_cast<uint32_t>(s.whole[c]);
        pixel = Rgb(b, b, b);
      } else {
        pixel = ExactPixel(curve, f.xSquared[c], f.q[c], ySquared, minusY, f.dSquared, f.distance);
      }
      const int i = f.column[c];
      s.line[static_cast<size_t>(i)] = pixel;
      const int mirror = f.halfWidth - i;
      if (i > 0 && mirror < f.halfWidth) s.line[static_cast<size_t>(mirror)] = pixel;
    }
    f.raster->SetScanLine(scanLine, s.line);
  }
}

void ExactRow(const WallFrame& f, int scanLine, RowScratch& s) {
  const double y = RowY(f, scanLine);
  for (size_t c = 0; c < static_cast<size_t>(f.computed); ++c) {
    const int i = f.column[c];
    const uint32_t pixel = ExactPixel(*f.curve, f.xSquared[c], f.q[c], y * y, -y, f.dSquared, f.distance);
    s.line[static_cast<size_t>(i)] = pixel;
    const int mirror = f.halfWidth - i;
    if (i > 0 && mirror < f.halfWidth) s.line[static_cast<size_t>(mirror)] = pixel;
  }
  f.raster->SetScanLine(scanLine, s.line);
}

// Scan lines r for r in [from, to) (at most height / 2) and their partners
// height - r, those from `firstVisible` on.
void DrawRows(const WallFrame& f, int from, int to, int firstVisible) {
  const AtanTable& table = Atans();
  RowScratch scratch(f);
  for (int r = from; r < to; ++r) {
    std::array<int, 2> rows{};
    size_t count = 0;
    if (r >= firstVisible) rows[count++] = r;
    const int partner = f.height - r;
    if (partner < f.height && partner != r && partner >= firstVisible) rows[count++] = partner;
    if (count == 0) continue;
    if (f.fast) {
      FastRows(f, table, RowY(f, rows[0]), std::span<const int>(rows.data(), count), scratch);
    } else {
      for (size_t k = 0; k < count; ++k) ExactRow(f, rows[k], scratch);
    }
  }
}

// The table path's bounds assume normal, finite numbers well inside the
// double range everywhere.
bool FastPathHolds(const WallFrame& f) {
  auto tame = [](double v) { return std::isfinite(v) && std::fabs(v) < 1e100; };
  if (!(f.wallScale >= 1e-30 && f.distance >= 1e-30 && tame(f.wallScale) && tame(f.distance))) return false;
  const double yMax = (f.height + 1.0) / f.wallScale;
  if (!tame(yMax * yMax)) return false;
  for (size_t c = 0; c < f.xSquared.size(); ++c) {
    if (!tame(f.xSquared[c]) || !tame(f.q[c])) return false;
  }
  for (double v : f.curve->sample) {
    if (!tame(v)) return false;
  }
  return true;
}

}  // namespace

void DrawWall(const DistributionEditor& e, Image& client) {
  const int halfWidth = e.halfWidth();
  const int height = e.clientHeight;
  if (halfWidth <= 0 || height <= 0) return;
  Raster raster(client, halfWidth, 0, 2 * halfWidth, height);
  const int visibleRows = std::min(height, client.height);
  if (visibleRows <= 0 || client.width <= halfWidth) return;

  const CurveData curve(e);
  WallFrame f;
  f.curve = &curve;
  f.halfWidth = halfWidth;
  f.height = height;
  f.wallScale = e.wallScale;
  f.distance = e.wallDistance;
  f.dSquared = f.distance * f.distance;
  f.raster = &raster;
  auto addColumn = [&f](int i) {
    const double x = WallX(i, f.halfWidth, f.wallScale);
    f.xSquared.push_back(x * x);
    f.q.push_back(std::sqrt(x * x + f.dSquared));
    f.column.push_back(i);
  };
  for (int i = halfWidth / 2; i < halfWidth; ++i) addColumn(i);
  if (halfWidth / 2 > 0) addColumn(0);
  f.computed = static_cast<int>(f.column.size());
  if (f.column.size() % 2 != 0) addColumn(f.column.back());  // padding for pairs
  f.fast = FastPathHolds(f);

  // Scan line r is screen row height-1-r; only those inside the image are
  // drawn. Workers take scan lines 0 .. height/2 with their partners.
  const int firstVisible = height - visibleRows;
  const int pairs = height / 2 + 1;
  const long pixels = long{halfWidth} * visibleRows;
  const unsigned cores = std::max(1u, std::min(std::thread::hardware_concurrency(), 8u));
  const unsigned workers = pixels >= (1L << 16) ? cores : 1u;
  std::vector<std::thread> threads;
  for (unsigned w = 1; w < workers; ++w) {
    const int from = static_cast<int>(long{pairs} * w / workers);
    const int to = static_cast<int>(long{pairs} * (w + 1) / workers);
    threads.emplace_back(DrawRows, std::cref(f), from, to, firstVisible);
  }
  DrawRows(f, 0, static_cast<int>(long{pairs} / workers), firstVisible);
  for (std::thread& t : threads) t.join();
}
