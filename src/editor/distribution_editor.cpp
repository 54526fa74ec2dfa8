#include "editor/distribution_editor.h"

#include <algorithm>
#include <cmath>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define LUMISTRA_SWEEP_AVX2 1
#endif

#include "editor/store_clamped.h"

namespace {

// ---------------------------------------------------------------------------
// 1. Constants and bounds
// ---------------------------------------------------------------------------

// Degrees to radians and back, as single-precision constants used in double
// arithmetic.
constexpr float kDegToRad = 0.017453292f;
constexpr float kRadToDeg = 57.295776f;

// Zoom factor per unit of wheel amount is e^kWheelStep; one notch of 120 is e^0.24.
constexpr float kWheelStep = 0.002f;

float StoreOrigin(double value) {
  return StoreClamped(value, -DistributionEditor::kMaxOriginOffset,
                      DistributionEditor::kMaxOriginOffset);
}

int32_t ClampClientSide(int32_t side) {
  return std::clamp(side, int32_t{1}, DistributionEditor::kMaxClientSide);
}

// Sine and cosine of every whole degree's ray, computed once: a stroke's
// sweep tests all 181 degrees on every pointer move. Padded with zeros to a
// whole number of four-degree groups.
constexpr int kPaddedRays = (DistributionEditor::kSampleCount + 3) / 4 * 4;

struct RayTable {
  std::array<double, kPaddedRays> sine{};
  std::array<double, kPaddedRays> cosine{};
  RayTable() {
    for (int i = 0; i < DistributionEditor::kSampleCount; ++i) {
      const double a = i * static_cast<double>(kDegToRad);
      sine[i] = std::sin(a);
      cosine[i] = std::cos(a);
    }
  }
};

const RayTable kRays;

// Whole degree of the direction of an offset from the origin, rounded half
// up; a point and its mirror across the vertical axis share it.
int AngleIndex(double dx, double dy) {
  const double theta = std::atan2(std::fabs(dx), dy);  // 0..pi, 0 for (0, 0)
  const double degrees = theta * static_cast<double>(kRadToDeg) + 0.5;
  return std::clamp(static_cast<int>(degrees), 0, 180);
}

}  // namespace

// ---------------------------------------------------------------------------
// 2. Resize and reset
// ---------------------------------------------------------------------------

void DistributionEditor::OnResize(int32_t width, int32_t height) {
  width = ClampClientSide(width);
  height = ClampClientSide(height);
  const int32_t oldW = clientWidth;
  const int32_t oldH = clientHeight;
  clientWidth = width;
  clientHeight = height;

  // Each scale is divided by the old geometric mean and multiplied by the new
  // one in two stored steps: that double rounding is the defined result.
  // Both products fit in 32 bits, since each side is at most 32767.
  const double k = 1.0 / std::sqrt(static_cast<double>(oldW * oldH));
  polarScale = StoreClamped(polarScale * k, kMinScale, kMaxScale);
  centerX = StoreOrigin(width * static_cast<double>(centerX) / oldW);
  centerY = StoreOrigin(height * static_cast<double>(centerY) / oldH);
  wallScale = StoreClamped(wallScale * k, kMinScale, kMaxScale);
  const double s = std::sqrt(static_cast<double>(width * height));
  polarScale = StoreClamped(polarScale * s, kMinScale, kMaxScale);
  wallScale = StoreClamped(wallScale * s, kMinScale, kMaxScale);
}

void DistributionEditor::ResetCurve() {
  curve.fill(0.0f);
  leftCurve.reset();
}

Curve& DistributionEditor::CurveOnSide(double dx) {
  return dx < 0.0 && leftCurve ? *leftCurve : curve;
}

// ---------------------------------------------------------------------------
// 3. Pointer moves: stroke, sweep, hover, pan
// ---------------------------------------------------------------------------

namespace {

// Everything a stroke segment needs, in double precision. P0 and P1 are the
// offsets of the previous and the current position from the origin.
struct Segment {
  double p0x, p0y;
  double ex, ey;  // P1 - P0
};

float RadiusSample(double dx, double dy, float polarScale) {
  // Bounded origin, pointer and scale keep this below the float range.
  return static_cast<float>(std::sqrt(dx * dx + dy * dy) / polarScale);
}

// Writes sample `index` if the ray with direction (u, c) meets the segment
// ahead of the origin. A ray parallel to the segment has divisor 0 and is
// passed over, as is a meeting point outside the segment or behind the origin.
void SweepRay(const Segment& seg, double u, double c, float polarScale, float& sample) {
  const double divisor = seg.ey * u - seg.ex * c;
  if (divisor == 0.0) return;
  const double t = (seg.p0x * c - seg.p0y * u) / divisor;
  if (!(t >= 0.0 && t <= 1.0)) return;
  const double qx = seg.p0x + t * seg.ex;
  const double qy = seg.p0y + t * seg.ey;
  if (!(u * qx + c * qy > 0.0)) return;
  sample = RadiusSample(qx, qy, polarScale);
}

// The rays right of the origin set `right`, their mirrors `left` (the same
// curve while both halves show one).
void SweepAllRays(const Segment& seg, float polarScale, Curve& right, Curve& left) {
  for (int i = 0; i < DistributionEditor::kSampleCount; ++i) {
    const double s = kRays.sine[i];
    const double c = kRays.cosine[i];
    SweepRay(seg, s, c, polarScale, right[static_cast<size_t>(i)]);
    SweepRay(seg, -s, c, polarScale, left[static_cast<size_t>(i)]);
  }
}

#if defined(LUMISTRA_SWEEP_AVX2)

// The same sweep four degrees at a time, where the CPU has AVX2. Each lane
// takes SweepRay's operations in SweepRay's order (no fused multiply-add),
// so it writes the same samples. A group of four rays on one side that
// surely misses is passed over before any division: surely, because t is
// further outside 0..1 than the division's rounding could bring it back, or
// because the rays meet the segment's line behind the origin and the line
// passes the origin too far off for rounding to change that side.
struct SweepLanes {
  __m256d p0x, p0y, ex, ey, scale;
  __m256d behindSign;  // the sign of p0 x e where the behind test is sure, else 0
};

__attribute__((target("avx2"))) inline int SweepGroup(const SweepLanes& l, __m256d u, __m256d c, float* sample) {
  const __m256d zero = _mm256_setzero_pd(), signBit = _mm256_set1_pd(-0.0), slack = _mm256_set1_pd(1e-9);
  const __m256d divisor = _mm256_sub_pd(_mm256_mul_pd(l.ey, u), _mm256_mul_pd(l.ex, c));
  const __m256d numerator = _mm256_sub_pd(_mm256_mul_pd(l.p0x, c), _mm256_mul_pd(l.p0y, u));
  // t = numerator / divisor as seen with a positive divisor.
  const __m256d signedNumerator = _mm256_xor_pd(numerator, _mm256_and_pd(divisor, signBit));
  const __m256d size = _mm256_andnot_pd(signBit, divisor);
  const __m256d margin = _mm256_mul_pd(slack, size);
  __m256d possible = _mm256_and_pd(_mm256_cmp_pd(divisor, zero, _CMP_NEQ_OQ),
                                   _mm256_cmp_pd(signedNumerator, _mm256_sub_pd(zero, margin), _CMP_GE_OQ));
  possible = _mm256_and_pd(possible, _mm256_cmp_pd(signedNumerator, _mm256_add_pd(size, margin), _CMP_LE_OQ));
  // Behind the origin: p0 x e and the divisor of opposite signs, the divisor not tiny.
  const __m256d opposite = _mm256_cmp_pd(_mm256_mul_pd(l.behindSign, divisor), zero, _CMP_LT_OQ);
  possible = _mm256_andnot_pd(opposite, possible);
  if (_mm256_movemask_pd(possible) == 0) return 0;

  const __m256d t = _mm256_div_pd(numerator, divisor);
  const __m256d qx = _mm256_add_pd(l.p0x, _mm256_mul_pd(t, l.ex));
  const __m256d qy = _mm256_add_pd(l.p0y, _mm256_mul_pd(t, l.ey));
  __m256d hit = _mm256_and_pd(_mm256_cmp_pd(divisor, zero, _CMP_NEQ_OQ),
                              _mm256_and_pd(_mm256_cmp_pd(t, zero, _CMP_GE_OQ),
                                            _mm256_cmp_pd(t, _mm256_set1_pd(1.0), _CMP_LE_OQ)));
  hit = _mm256_and_pd(hit, _mm256_cmp_pd(_mm256_add_pd(_mm256_mul_pd(u, qx), _mm256_mul_pd(c, qy)), zero,
                                         _CMP_GT_OQ));
  const int hits = _mm256_movemask_pd(hit);
  if (hits == 0) return 0;
  const __m256d radius = _mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(qx, qx), _mm256_mul_pd(qy, qy)));
  _mm_storeu_ps(sample, _mm256_cvtpd_ps(_mm256_div_pd(radius, l.scale)));
  return hits;
}

__attribute__((target("avx2"))) void SweepAllRaysAvx2(const Segment& seg, float polarScale, Curve& right,
                                                      Curve& left) {
  SweepLanes l{};
  l.p0x = _mm256_set1_pd(seg.p0x);
  l.p0y = _mm256_set1_pd(seg.p0y);
  l.ex = _mm256_set1_pd(seg.ex);
  l.ey = _mm256_set1_pd(seg.ey);
  l.scale = _mm256_set1_pd(double{polarScale});
  // The line's distance from the origin is |p0 x e| / |e|; rounding moves the
  // meeting point along a ray by far less than 1e-6 (|p0| + |e|).
  const double cross = seg.p0x * seg.ey - seg.p0y * seg.ex;
  const double length = std::fabs(seg.ex) + std::fabs(seg.ey);
  const double reach = std::fabs(seg.p0x) + std::fabs(seg.p0y) + length;
  l.behindSign = _mm256_setzero_pd();
  if (std::fabs(cross) > 1e-6 * length * reach) l.behindSign = _mm256_set1_pd(cross > 0 ? 1.0 : -1.0);
  const __m256d signBit = _mm256_set1_pd(-0.0);
  for (int i = 0; i < kPaddedRays; i += 4) {
    const __m256d s = _mm256_loadu_pd(&kRays.sine[static_cast<size_t>(i)]);
    const __m256d c = _mm256_loadu_pd(&kRays.cosine[static_cast<size_t>(i)]);
    alignas(16) float rightValues[4], leftValues[4];
    const int rightHits = SweepGroup(l, s, c, rightValues);
    const int leftHits = SweepGroup(l, _mm256_xor_pd(s, signBit), c, leftValues);
    for (int k = 0; k < 4 && i + k < DistributionEditor::kSampleCount; ++k) {
      const size_t degree = static_cast<size_t>(i + k);
      if (rightHits >> k & 1) right[degree] = rightValues[k];
      if (leftHits >> k & 1) left[degree] = leftValues[k];
    }
  }
}

#endif

// Every degree, the right-hand ray before its mirror: where both meet the
// segment of one curve, the left-hand value stays.
void Sweep(const Segment& seg, float polarScale, Curve& right, Curve& left) {
#if defined(LUMISTRA_SWEEP_AVX2)
  static const bool hasAvx2 = __builtin_cpu_supports("avx2");
  if (hasAvx2) {
    SweepAllRaysAvx2(seg, polarScale, right, left);
    return;
  }
#endif
  SweepAllRays(seg, polarScale, right, left);
}

}  // namespace

void DistributionEditor::OnPointerMove(int32_t x, int32_t y) {
  // Differences of positions are taken in double: exact, and free of integer
  // overflow for any pair of 32-bit positions.
  const double moveX = static_cast<double>(x) - lastX;
  const double moveY = static_cast<double>(y) - lastY;

  if (drawing == 1 && (moveX != 0.0 || moveY != 0.0)) {
    const Segment seg{lastX - static_cast<double>(centerX), lastY - static_cast<double>(centerY),
                      moveX, moveY};
    const double p1x = seg.p0x + moveX;
    const double p1y = seg.p0y + moveY;
    // The end point first: the sweep below replaces it wherever a ray of its
    // degree reaches the segment.
    CurveOnSide(p1x)[AngleIndex(p1x, p1y)] = RadiusSample(p1x, p1y, polarScale);
    Sweep(seg, polarScale, curve, leftCurve ? *leftCurve : curve);
  }

  // The hover flag is frozen during a stroke, so the release always ends it.
  if (drawing == 0) overWall = x >= halfWidth() ? 1 : 0;

  // The pan runs after the stroke so the segment is measured from the origin
  // as it was before this move.
  if (panning == 1) {
    centerX = StoreOrigin(centerX + moveX);
    centerY = StoreOrigin(centerY + moveY);
  }

  lastX = x;
  lastY = y;
}

DistributionEditor::PressSample DistributionEditor::PressSampleAt(int32_t x, int32_t y) const {
  const double dx = x - static_cast<double>(centerX);
  const double dy = y - static_cast<double>(centerY);
  return {AngleIndex(dx, dy), RadiusSample(dx, dy, polarScale)};
}

void DistributionEditor::OnLeftButton(bool down) {
  if (overWall != 0) return;  // a press over the wall neither starts nor ends a stroke
  drawing = down ? 1 : 0;
  if (down) {
    const PressSample press = PressSampleAt(lastX, lastY);
    CurveOnSide(lastX - static_cast<double>(centerX))[static_cast<size_t>(press.index)] = press.value;
  }
}

// ---------------------------------------------------------------------------
// 4. Wheel: diagram zoom, wall zoom, light distance
// ---------------------------------------------------------------------------

void DistributionEditor::OnWheel(int32_t amount, bool leftControlHeld) {
  const double exponent = static_cast<double>(kWheelStep) * amount;
  if (overWall == 0) {
    // Zoom about (lastX, lastY): the point of the diagram under it stays.
    const double f = std::exp(-exponent);
    const double unbounded = polarScale / f;
    const float scale = StoreClamped(unbounded, kMinScale, kMaxScale);
    if (scale == polarScale) return;  // amount 0, or already at a bound
    // Where a bound cut the zoom short, the origin follows the zoom that was
    // actually made.
    const bool cut = unbounded < kMinScale || unbounded > kMaxScale;
    const double r = cut ? static_cast<double>(scale) / polarScale : 1.0 / f;
    centerX = StoreOrigin(lastX - (lastX - static_cast<double>(centerX)) * r);
    centerY = StoreOrigin(lastY - (lastY - static_cast<double>(centerY)) * r);
    polarScale = scale;
  } else if (leftControlHeld) {
    // A positive amount brings the light closer to the wall.
    wallDistance = StoreClamped(wallDistance / std::exp(exponent), kMinDistance, kMaxDistance);
  } else {
    // The wall view has no origin of its own: it zooms about the point
    // opposite the light.
    wallScale = StoreClamped(wallScale / std::exp(-exponent), kMinScale, kMaxScale);
  }
}
