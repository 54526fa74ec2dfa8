#include "render/wall_view.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <span>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "render/band_workers.h"
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
//     where SSE2 is there, four where the CPU has AVX2 and eight where it has
//     AVX-512 (section 4). Only the angle differs: it comes from a table of
//     atan(k / 256) and a short Taylor series (no division), within 1e-9
//     degrees of std::atan2. The level is monotone in |v|, so when it lies
//     farther from the next whole level than that angle error can move it,
//     it is the level std::atan2 gives; otherwise the pixel is computed again
//     with std::atan2 (hardly any pixel for a smooth or a random curve, none
//     of a 3840 x 2160 client two at a time; a third of them for samples
//     jumping between 0 and 1e35). The paths of four and eight make that
//     check in single precision, with a margin for it (wall_wide_rows.inc).
//   - Scan lines r and H - r have y and -y: R^3 and the arctangent are
//     computed once for both.
//   - The rows are shared among the machine's cores inside the call.
//   - Geometry outside the range where these bounds are safe (a scale or a
//     distance that is not a positive normal number, columns or rows far
//     out) takes the exact formula for every pixel.
//
// A whole lamp whose planes differ: each column looks along its own C-angle
// (wall_geometry.h), fixed for the call, between two listed planes with
// weight t; then
//   vl, vu = the two planes' root intensities at gamma, as v above
//   I = (1 - t) vl^2 + t vu^2 (vl^2 where t = 0),  E = I D / R^3.
// Columns i and halfWidth - i no longer share their pixels, but they still
// share R and gamma: those are computed once for both, then the two columns'
// intensities. The check of the table angle holds with |vl| and |vu| moving
// by at most their bounds: sqrt(I) moves by at most their sum. The vector
// paths take the level's square root in single precision, and the check
// allows for that too.

namespace {

constexpr float kToDegrees = kWallRadToDeg;
constexpr double kPi = std::numbers::pi;

// ---- 1. arctangent ------------------------------------------------------------

constexpr int kAtanSteps = 256;

// atan(t) near t_k = k / 256 as a quartic in h = t - t_k, one array per
// coefficient so that the vector paths can gather them.
struct AtanTable {
  std::array<double, kAtanSteps + 1> value{}, first{}, second{}, third{}, fourth{};
  AtanTable() {
    for (int step = 0; step <= kAtanSteps; ++step) {
      const double t = double(step) / kAtanSteps, w = 1.0 / (1.0 + t * t);
      const auto k = static_cast<size_t>(step);
      value[k] = std::atan(t);
      first[k] = w;
      second[k] = -t * w * w;
      third[k] = (3 * t * t - 1) / 3 * w * w * w;
      fourth[k] = t * (1 - t * t) * w * w * w * w;
    }
  }
};

const AtanTable& Atans() {
  static const AtanTable table;
  return table;
}

// atan(t) for t in [0, 1]; |h| <= 1/512, so the series' rest is below 1e-13.
inline double AtanUnit(const AtanTable& table, double t) {
  const int step = static_cast<int>(t * kAtanSteps + 0.5);
  const auto k = static_cast<size_t>(step);
  const double h = t - double(step) / kAtanSteps;
  return table.value[k] +
         h * (table.first[k] + h * (table.second[k] + h * (table.third[k] + h * table.fourth[k])));
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
  std::array<double, 181> slope{};  // sample[j + 1] - sample[j], as Interpolate takes it
  std::array<double, 181> vError{};

  explicit CurveData(const Curve& curve) {
    for (size_t j = 0; j < 181; ++j) sample[j] = curve[j];
    sample[181] = sample[180];
    for (size_t j = 0; j < 181; ++j) slope[j] = sample[j + 1] - sample[j];
    for (size_t j = 0; j < 181; ++j) {
      double steepest = 0, size = 0;
      for (size_t n = (j == 0 ? 0 : j - 1); n <= std::min<size_t>(j + 2, 180); ++n) {
        size = std::max(size, std::fabs(sample[n]));
        if (n > 0) steepest = std::max(steepest, std::fabs(sample[n] - sample[n - 1]));
      }
      vError[j] = steepest * kAngleError + size * 1e-15;
    }
  }
};

inline int DegreeIndex(double gamma) { return WallDegreeIndex(gamma); }

inline double Interpolate(const CurveData& c, double gamma, int j) {
  return WallInterpolate(c.sample[static_cast<size_t>(j)], c.sample[static_cast<size_t>(j + 1)], gamma, j);
}

inline double LevelOfIntensity(double intensity, double distance, double rCubed) {
  return 255.0 * std::sqrt(intensity * distance / rCubed);
}

inline double Level(double v, double distance, double rCubed) { return LevelOfIntensity(v * v, distance, rCubed); }

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

// The planes of a lamp one after another, each laid out as CurveData lays
// out its curve: degree j of plane p at p * kStride + j.
struct LampData {
  static constexpr int kStride = 182;
  std::vector<double> sample, slope, vError;

  explicit LampData(const Lamp& lamp) {
    for (const Curve& plane : lamp.planes) {
      const CurveData one(plane);
      sample.insert(sample.end(), one.sample.begin(), one.sample.end());
      slope.insert(slope.end(), one.slope.begin(), one.slope.end());
      slope.push_back(0.0);
      vError.insert(vError.end(), one.vError.begin(), one.vError.end());
      vError.push_back(0.0);
    }
  }
};

// The planes each computed column looks along (WallBracket): the first
// entries of the two planes, and the weights of the lower (keep = 1 - t) and
// the upper one (t). Neighbouring columns mostly share their planes: runEnd
// is the first column from c on that does not.
struct ColumnPlanes {
  std::vector<int> lower, upper;
  std::vector<double> keep, t;
  std::vector<size_t> runEnd;

  void Add(const PlaneBracket& bracket) {
    lower.push_back(static_cast<int>(bracket.lower) * LampData::kStride);
    upper.push_back(static_cast<int>(bracket.upper) * LampData::kStride);
    keep.push_back(1.0 - bracket.t);
    t.push_back(bracket.t);
  }

  // After the last Add.
  void FindRuns() {
    runEnd.assign(lower.size(), lower.size());
    for (size_t c = lower.size(); c-- > 1;) {
      const bool same = lower[c - 1] == lower[c] && upper[c - 1] == upper[c];
      runEnd[c - 1] = same ? runEnd[c] : c;
    }
  }
};

inline double RootAt(const std::vector<double>& sample, int first, double gamma, int j) {
  const auto at = static_cast<size_t>(first + j);
  return WallInterpolate(sample[at], sample[at + 1], gamma, j);
}

inline uint32_t ExactLampPixel(const LampData& lamp, const ColumnPlanes& planes, size_t c, double xSquared,
                               double q, double ySquared, double minusY, double dSquared, double distance) {
  const double rCubed = RCubed(xSquared + ySquared + dSquared);
  const double gamma = WallAngle(q, minusY);
  const int j = DegreeIndex(gamma);
  const double intensity = WallBlend(RootAt(lamp.sample, planes.lower[c], gamma, j),
                                     RootAt(lamp.sample, planes.upper[c], gamma, j), planes.t[c]);
  return Grey(LevelOfIntensity(intensity, distance, rCubed));
}

// ---- 3. a row of pixels -----------------------------------------------------------

// What one call shares among its rows. Columns are the computed ones: from
// the middle of the half to its right end, then column 0; padded to a
// multiple of sixteen (the widest vector, of singles).
struct WallFrame {
  const CurveData* curve = nullptr;  // one curve, or
  const LampData* lamp = nullptr;    // a lamp whose planes differ, with
  ColumnPlanes right, mirror;        // the planes of columns i and halfWidth - i
  std::vector<double> xSquared, q;
  std::vector<int> column;  // the half's column of each computed column
  int computed = 0;         // computed columns without the padding
  int halfWidth = 0, height = 0;
  double wallScale = 0, distance = 0, dSquared = 0;
  WallPath path = WallPath::Exact;  // how every row of this call is computed
  Raster* raster = nullptr;
};

double RowY(const WallFrame& f, int scanLine) { return WallY(scanLine, f.height, f.wallScale); }

// Scratch of one worker, reused for every row.
struct RowScratch {
  std::vector<double> rCubed, ratio, v, vError, whole;  // ratio, then its arctangent
  std::vector<uint8_t> sure;  // per pair: bit 0 and 1 set where whole is the level
  std::vector<uint32_t> line;
  std::vector<double> levelFactor;  // 255 sqrt(D / R^3)
  // The computed columns' pixels; for a lamp followed by their mirrors'.
  std::vector<uint32_t> computedPixels;
  // The wide paths' levels (for a lamp their squares, both sides) and their margins.
  std::vector<float> level, levelMargin;
  explicit RowScratch(const WallFrame& f)
      : rCubed(f.xSquared.size()), ratio(f.xSquared.size()), v(f.xSquared.size()), vError(f.xSquared.size()),
        whole(f.xSquared.size()), sure(f.xSquared.size() / 2), line(static_cast<size_t>(f.halfWidth)),
        levelFactor(f.xSquared.size()), computedPixels(f.xSquared.size() * (f.lamp ? 2 : 1)),
        level(computedPixels.size()), levelMargin(computedPixels.size()) {}
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
  auto pixelOf = [&](const ColumnPlanes& planes, size_t c) {
    if (f.lamp) return ExactLampPixel(*f.lamp, planes, c, f.xSquared[c], f.q[c], y * y, -y, f.dSquared, f.distance);
    return ExactPixel(*f.curve, f.xSquared[c], f.q[c], y * y, -y, f.dSquared, f.distance);
  };
  for (size_t c = 0; c < static_cast<size_t>(f.computed); ++c) {
    const int i = f.column[c];
    const uint32_t pixel = pixelOf(f.right, c);
    s.line[static_cast<size_t>(i)] = pixel;
    const int mirror = f.halfWidth - i;
    if (i > 0 && mirror < f.halfWidth) s.line[static_cast<size_t>(mirror)] = f.lamp ? pixelOf(f.mirror, c) : pixel;
  }
  f.raster->SetScanLine(scanLine, s.line);
}

// Places the computed columns' pixels into the scan line `line`: the run
// from the middle on (computed column c at middle + c), of which the first
// `direct` are there already and the others in `pixels`; column 0; and on
// the left the mirror image of the run, from `mirrored` for a lamp (columns
// halfWidth - i), from the run itself for one curve (mirrored empty).
void PlaceComputedColumns(const WallFrame& f, size_t direct, std::span<const uint32_t> pixels,
                          std::span<const uint32_t> mirrored, std::span<uint32_t> line) {
  const auto middle = static_cast<size_t>(f.halfWidth / 2);
  const size_t run = static_cast<size_t>(f.halfWidth) - middle;
  std::copy(pixels.begin() + direct, pixels.begin() + run, line.begin() + middle + direct);
  if (middle > 0) line[0] = pixels[run];
  // Column middle + c mirrors onto halfWidth - middle - c = run - c, for every
  // c but the one at column 0 (from `first` on). Where the two runs overlap
  // (the one or two columns next to the centre) both give the same pixel;
  // copying the run's own mirror image leaves those to a plain loop, since
  // reverse_copy's ranges may not overlap.
  const size_t first = middle > 0 ? 0 : 1;
  if (!mirrored.empty()) {
    std::reverse_copy(mirrored.begin() + first, mirrored.begin() + run, line.begin() + 1);
    return;
  }
  const size_t apart = middle > 1 ? middle - 1 : 0;  // line[1 .. apart] lie before the run
  std::reverse_copy(line.begin() + middle + run - apart, line.begin() + middle + run, line.begin() + 1);
  for (size_t k = apart + 1; k <= run - first; ++k) line[k] = line[middle + run - k];
}

// ---- 4. the same rows four or eight pixels at a time -------------------------
//
// wall_wide_rows.inc holds the body once; it is compiled for AVX2 (four
// doubles a vector) and for AVX-512 (eight), each under its own target
// pragma, and each is called only when the CPU reports its instructions, so
// the program still runs on any x86-64. A lane the check sends back to the
// formula takes ExactPixel compiled for plain x86-64: AVX-512 brings fused
// multiply-adds, which would round the formula's steps differently, and the
// AVX-512 body is compiled with contraction off for the same reason. A lamp's
// rows are compiled a third time, one pixel at a time with plain arithmetic,
// for CPUs without either set.

#if defined(__GNUC__)
#define LUMISTRA_NOINLINE __attribute__((noinline))
#define LUMISTRA_ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define LUMISTRA_NOINLINE
#define LUMISTRA_ALWAYS_INLINE inline
#endif

LUMISTRA_NOINLINE uint32_t FormulaPixel(const CurveData& c, double xSquared, double q, double ySquared,
                                        double minusY, double dSquared, double distance) {
  return ExactPixel(c, xSquared, q, ySquared, minusY, dSquared, distance);
}

LUMISTRA_NOINLINE uint32_t FormulaLampPixel(const LampData& lamp, const ColumnPlanes& planes, size_t c,
                                            double xSquared, double q, double ySquared, double minusY,
                                            double dSquared, double distance) {
  return ExactLampPixel(lamp, planes, c, xSquared, q, ySquared, minusY, dSquared, distance);
}

// One pixel a vector, for a lamp's rows on any CPU: the vector operations of
// the wide paths on plain doubles, with their x86 results where a value is
// out of range (the minimum and maximum give the second value for NaN; a
// truncation out of the int range gives INT_MIN).
namespace plain {

struct Ops {
  static constexpr size_t kWidth = 1;
  using D = double;
  using I = int;
  using M = bool;
  static D Set(double v) { return v; }
  static D Load(const double* p) { return *p; }
  static void Store(double* p, D v) { *p = v; }
  static I LoadInts(const int* p) { return *p; }
  static I AddInts(I a, I b) { return a + b; }
  static D Add(D a, D b) { return a + b; }
  static D Sub(D a, D b) { return a - b; }
  static D Mul(D a, D b) { return a * b; }
  static D Div(D a, D b) { return a / b; }
  static D Sqrt(D v) { return std::sqrt(v); }
  static D Min(D a, D b) { return a < b ? a : b; }
  static D Max(D a, D b) { return a > b ? a : b; }
  static D Abs(D v) { return std::fabs(v); }
  static D HoldSingle(D v) { return ::HoldSingle(v); }
  static I Trunc(D v) {
    return v > -2147483649.0 && v < 2147483648.0 ? static_cast<int>(v) : std::numeric_limits<int>::min();
  }
  static D ToDouble(I i) { return i; }
  static M AtLeast(D a, D b) { return a >= b; }
  static D Select(M m, D ifSet, D otherwise) { return m ? ifSet : otherwise; }
  static unsigned EqualBits(I a, I b) { return a == b ? 1u : 0u; }
  static int CommonIndex(I index) { return index; }
  static D Lookup(const double* base, I index, int) { return base[index]; }
  static void StoreGrey(uint32_t* p, I b) {
    const auto level = static_cast<uint32_t>(b);
    *p = Rgb(level, level, level);
  }
  // Single precision: F, and FI for its truncations.
  static constexpr size_t kSingles = 1;
  using F = float;
  using FI = int;
  static void StoreSingles(float* p, D v) { *p = static_cast<float>(v); }  // v within the float range
  static F LoadSingles(const float* p) { return *p; }
  static F SetSingle(float v) { return v; }
  static F Add(F a, F b) { return a + b; }
  static F Sub(F a, F b) { return a - b; }
  static F Mul(F a, F b) { return a * b; }
  static F Min(F a, F b) { return a < b ? a : b; }
  static F Sqrt(F v) { return std::sqrt(v); }
  static FI Trunc(F v) {
    return v > -2147483649.0f && v < 2147483648.0f ? static_cast<int>(v) : std::numeric_limits<int>::min();
  }
};

#include "render/wall_wide_rows.inc"

}  // namespace plain

#if defined(__x86_64__) && defined(__GNUC__)
#define LUMISTRA_WALL_WIDE 1

#pragma GCC push_options
#pragma GCC target("avx2")
namespace avx2 {

struct Ops {
  static constexpr size_t kWidth = 4;
  using D = __m256d;
  using I = __m128i;
  using M = __m256d;
  static D Set(double v) { return _mm256_set1_pd(v); }
  static D Load(const double* p) { return _mm256_loadu_pd(p); }
  static void Store(double* p, D v) { _mm256_storeu_pd(p, v); }
  static I LoadInts(const int* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
  static I AddInts(I a, I b) { return _mm_add_epi32(a, b); }
  static D Add(D a, D b) { return _mm256_add_pd(a, b); }
  static D Sub(D a, D b) { return _mm256_sub_pd(a, b); }
  static D Mul(D a, D b) { return _mm256_mul_pd(a, b); }
  static D Div(D a, D b) { return _mm256_div_pd(a, b); }
  static D Sqrt(D v) { return _mm256_sqrt_pd(v); }
  static D Min(D a, D b) { return _mm256_min_pd(a, b); }
  static D Max(D a, D b) { return _mm256_max_pd(a, b); }
  static D Abs(D v) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), v); }
  static D HoldSingle(D v) { return _mm256_cvtps_pd(_mm256_cvtpd_ps(v)); }
  static I Trunc(D v) { return _mm256_cvttpd_epi32(v); }
  static D ToDouble(I i) { return _mm256_cvtepi32_pd(i); }
  static M AtLeast(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_GE_OQ); }
  static D Select(M m, D ifSet, D otherwise) { return _mm256_blendv_pd(otherwise, ifSet, m); }
  static unsigned EqualBits(I a, I b) {
    return static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(a, b))));
  }
  // The lanes of `index` as one number when they are all equal, else -1.
  // Along a row the angle's degree and the arctangent's table step change
  // only every few columns, so most lookups read one entry, which a
  // broadcast does faster than a gather.
  static int CommonIndex(I index) {
    const int first = _mm_cvtsi128_si32(index);
    return _mm_movemask_epi8(_mm_cmpeq_epi32(index, _mm_set1_epi32(first))) == 0xFFFF ? first : -1;
  }
  // base[index], `common` being CommonIndex(index). The masked gather,
  // because the plain one starts from an undefined register that GCC 12
  // warns about.
  static D Lookup(const double* base, I index, int common) {
    if (common >= 0) return _mm256_broadcast_sd(base + common);
    const __m256d all = _mm256_castsi256_pd(_mm256_set1_epi64x(-1));
    return _mm256_mask_i32gather_pd(_mm256_setzero_pd(), base, index, all, 8);
  }
  // Grey pixels of levels b.
  static void StoreGrey(uint32_t* p, I b) {
    const __m128i grey = _mm_or_si128(_mm_or_si128(b, _mm_slli_epi32(b, 8)),
                                      _mm_or_si128(_mm_slli_epi32(b, 16), _mm_set1_epi32(static_cast<int>(kOpaque))));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), grey);
  }
  // Single precision: F, and FI for its truncations.
  static constexpr size_t kSingles = 8;
  using F = __m256;
  using FI = __m256i;
  static void StoreSingles(float* p, D v) { _mm_storeu_ps(p, _mm256_cvtpd_ps(v)); }
  static F LoadSingles(const float* p) { return _mm256_loadu_ps(p); }
  static F SetSingle(float v) { return _mm256_set1_ps(v); }
  static F Add(F a, F b) { return _mm256_add_ps(a, b); }
  static F Sub(F a, F b) { return _mm256_sub_ps(a, b); }
  static F Mul(F a, F b) { return _mm256_mul_ps(a, b); }
  static F Min(F a, F b) { return _mm256_min_ps(a, b); }
  static F Sqrt(F v) { return _mm256_sqrt_ps(v); }
  static FI Trunc(F v) { return _mm256_cvttps_epi32(v); }
  static unsigned EqualBits(FI a, FI b) {
    return static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(a, b))));
  }
  static void StoreGrey(uint32_t* p, FI b) {
    const __m256i grey =
        _mm256_or_si256(_mm256_or_si256(b, _mm256_slli_epi32(b, 8)),
                        _mm256_or_si256(_mm256_slli_epi32(b, 16), _mm256_set1_epi32(static_cast<int>(kOpaque))));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), grey);
  }
};

#include "render/wall_wide_rows.inc"

}  // namespace avx2
#pragma GCC pop_options

#pragma GCC push_options
#pragma GCC target("avx2,avx512f,avx512dq")
// AVX-512 brings fused multiply-adds, and GCC contracts a product and a sum
// into one by default, which rounds once where the AVX2 body and the formula
// round twice. Contraction off keeps this body's pixels those of the AVX2
// body. (Clang fuses only within one expression, and every step here is its
// own call.)
#ifndef __clang__
#pragma GCC optimize("fp-contract=off")
#endif
// GCC 12's AVX-512 intrinsics start from a register they leave undefined on
// purpose, and then warn that it is or may be used uninitialized.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
namespace avx512 {

struct Ops {
  static constexpr size_t kWidth = 8;
  using D = __m512d;
  using I = __m256i;
  using M = __mmask8;
  static D Set(double v) { return _mm512_set1_pd(v); }
  static D Load(const double* p) { return _mm512_loadu_pd(p); }
  static void Store(double* p, D v) { _mm512_storeu_pd(p, v); }
  static I LoadInts(const int* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
  static I AddInts(I a, I b) { return _mm256_add_epi32(a, b); }
  static D Add(D a, D b) { return _mm512_add_pd(a, b); }
  static D Sub(D a, D b) { return _mm512_sub_pd(a, b); }
  static D Mul(D a, D b) { return _mm512_mul_pd(a, b); }
  static D Div(D a, D b) { return _mm512_div_pd(a, b); }
  static D Sqrt(D v) { return _mm512_sqrt_pd(v); }
  static D Min(D a, D b) { return _mm512_min_pd(a, b); }
  static D Max(D a, D b) { return _mm512_max_pd(a, b); }
  static D Abs(D v) { return _mm512_andnot_pd(_mm512_set1_pd(-0.0), v); }
  static D HoldSingle(D v) { return _mm512_cvtps_pd(_mm512_cvtpd_ps(v)); }
  static I Trunc(D v) { return _mm512_cvttpd_epi32(v); }
  static D ToDouble(I i) { return _mm512_cvtepi32_pd(i); }
  static M AtLeast(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_GE_OQ); }
  static D Select(M m, D ifSet, D otherwise) { return _mm512_mask_blend_pd(m, otherwise, ifSet); }
  static unsigned EqualBits(I a, I b) {
    return static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(a, b))));
  }
  static int CommonIndex(I index) {
    const int first = _mm256_cvtsi256_si32(index);
    return _mm256_movemask_epi8(_mm256_cmpeq_epi32(index, _mm256_set1_epi32(first))) == -1 ? first : -1;
  }
  static D Lookup(const double* base, I index, int common) {
    if (common >= 0) return _mm512_set1_pd(base[common]);
    return _mm512_mask_i32gather_pd(_mm512_setzero_pd(), 0xFF, index, base, 8);
  }
  static void StoreGrey(uint32_t* p, I b) {
    const __m256i grey =
        _mm256_or_si256(_mm256_or_si256(b, _mm256_slli_epi32(b, 8)),
                        _mm256_or_si256(_mm256_slli_epi32(b, 16), _mm256_set1_epi32(static_cast<int>(kOpaque))));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), grey);
  }
  static constexpr size_t kSingles = 16;
  using F = __m512;
  using FI = __m512i;
  static void StoreSingles(float* p, D v) { _mm256_storeu_ps(p, _mm512_cvtpd_ps(v)); }
  static F LoadSingles(const float* p) { return _mm512_loadu_ps(p); }
  static F SetSingle(float v) { return _mm512_set1_ps(v); }
  static F Add(F a, F b) { return _mm512_add_ps(a, b); }
  static F Sub(F a, F b) { return _mm512_sub_ps(a, b); }
  static F Mul(F a, F b) { return _mm512_mul_ps(a, b); }
  static F Min(F a, F b) { return _mm512_min_ps(a, b); }
  static F Sqrt(F v) { return _mm512_sqrt_ps(v); }
  static FI Trunc(F v) { return _mm512_cvttps_epi32(v); }
  static unsigned EqualBits(FI a, FI b) { return _mm512_cmpeq_epi32_mask(a, b); }
  static void StoreGrey(uint32_t* p, FI b) {
    const __m512i grey =
        _mm512_or_si512(_mm512_or_si512(b, _mm512_slli_epi32(b, 8)),
                        _mm512_or_si512(_mm512_slli_epi32(b, 16), _mm512_set1_epi32(static_cast<int>(kOpaque))));
    _mm512_storeu_si512(p, grey);
  }
};

#include "render/wall_wide_rows.inc"

}  // namespace avx512
#pragma GCC diagnostic pop
#pragma GCC pop_options

bool CpuHas(WallPath path) {
  if (path == WallPath::FourWide) return __builtin_cpu_supports("avx2");
  if (path == WallPath::EightWide) {
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512f") &&
           __builtin_cpu_supports("avx512dq");
  }
  return true;
}
#else
bool CpuHas(WallPath path) { return path != WallPath::FourWide && path != WallPath::EightWide; }
#endif

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
    const std::span<const int> pair(rows.data(), count);
    const double y = RowY(f, rows[0]);
    switch (f.path) {
#if defined(LUMISTRA_WALL_WIDE)
      case WallPath::EightWide:
        f.lamp ? avx512::LampRows(f, table, y, pair, scratch) : avx512::WideRows(f, table, y, pair, scratch);
        break;
      case WallPath::FourWide:
        f.lamp ? avx2::LampRows(f, table, y, pair, scratch) : avx2::WideRows(f, table, y, pair, scratch);
        break;
#endif
      case WallPath::TwoWide:
        f.lamp ? plain::LampRows(f, table, y, pair, scratch) : FastRows(f, table, y, pair, scratch);
        break;
      default:
        for (int scanLine : pair) ExactRow(f, scanLine, scratch);
        break;
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
  const auto samples = f.lamp ? std::span<const double>(f.lamp->sample) : std::span<const double>(f.curve->sample);
  return std::all_of(samples.begin(), samples.end(), tame);
}

// What lights the wall: one curve, or a lamp whose planes differ (with its
// samples laid out as LampData) seen at section sectionC.
struct Light {
  const CurveData* curve = nullptr;
  const Lamp* lamp = nullptr;
  const LampData* lampData = nullptr;
  double sectionC = 0;
};

void DrawLight(const DistributionEditor& e, const Light& light, Image& client, WallPath path) {
  const int halfWidth = e.halfWidth();
  const int height = e.clientHeight;
  if (halfWidth <= 0 || height <= 0) return;
  Raster raster(client, halfWidth, 0, 2 * halfWidth, height);
  const int visibleRows = std::min(height, client.height);
  if (visibleRows <= 0 || client.width <= halfWidth) return;

  WallFrame f;
  f.curve = light.curve;
  f.lamp = light.lampData;
  f.halfWidth = halfWidth;
  f.height = height;
  f.wallScale = e.wallScale;
  f.distance = e.wallDistance;
  f.dSquared = f.distance * f.distance;
  f.raster = &raster;
  auto planesOf = [&](int i) {
    return WallBracket(*light.lamp, WallPlaneAngle(light.sectionC, WallX(i, f.halfWidth, f.wallScale), f.distance));
  };
  auto addColumn = [&](int i) {
    const double x = WallX(i, f.halfWidth, f.wallScale);
    f.xSquared.push_back(x * x);
    f.q.push_back(std::sqrt(x * x + f.dSquared));
    f.column.push_back(i);
    if (!f.lamp) return;
    const int mirror = f.halfWidth - i;
    f.right.Add(planesOf(i));
    f.mirror.Add(planesOf(i > 0 && mirror < f.halfWidth ? mirror : i));
  };
  for (int i = halfWidth / 2; i < halfWidth; ++i) addColumn(i);
  if (halfWidth / 2 > 0) addColumn(0);
  f.computed = static_cast<int>(f.column.size());
  while (f.column.size() % 16 != 0) addColumn(f.column.back());  // padding for whole vectors
  f.right.FindRuns();
  f.mirror.FindRuns();
  if (path == WallPath::Automatic) {
    path = CpuHas(WallPath::EightWide) ? WallPath::EightWide
           : CpuHas(WallPath::FourWide) ? WallPath::FourWide
                                        : WallPath::TwoWide;
  }
  if (!WallPathAvailable(path)) path = WallPath::TwoWide;
  f.path = FastPathHolds(f) ? path : WallPath::Exact;

  // Scan line r is screen row height-1-r; only those inside the image are
  // drawn. Workers take scan lines 0 .. height/2 with their partners.
  const int firstVisible = height - visibleRows;
  const int pairs = height / 2 + 1;
  const unsigned bands = BandsFor(int64_t{halfWidth} * visibleRows, int64_t{1} << 16);
  RunBands(bands, [&](unsigned band) {
    DrawRows(f, static_cast<int>(int64_t{pairs} * band / bands), static_cast<int>(int64_t{pairs} * (band + 1) / bands),
             firstVisible);
  });
}

}  // namespace

bool WallPathAvailable(WallPath path) { return CpuHas(path); }

void DrawWall(const DistributionEditor& e, Image& client) { DrawWall(e, client, WallPath::Automatic); }

void DrawWall(const DistributionEditor& e, Image& client, WallPath path) {
  const CurveData curve(e.curve);
  DrawLight(e, Light{.curve = &curve}, client, path);
}

void DrawWall(const DistributionEditor& e, const Lamp& lamp, double sectionC, Image& client) {
  DrawWall(e, lamp, sectionC, client, WallPath::Automatic);
}

void DrawWall(const DistributionEditor& e, const Lamp& lamp, double sectionC, Image& client, WallPath path) {
  if (lamp.planes.empty() || lamp.AllPlanesEqual()) {
    const CurveData curve(lamp.planes.empty() ? Curve{} : lamp.planes.front());
    DrawLight(e, Light{.curve = &curve}, client, path);
    return;
  }
  const LampData samples(lamp);
  DrawLight(e, Light{.lamp = &lamp, .lampData = &samples, .sectionC = sectionC}, client, path);
}
