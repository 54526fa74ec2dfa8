#pragma once
// The logarithmic rings of the polar diagram: which decades, which radii,
// and their labels. A ring marks the root intensity m * 10^k (m = 1, 2, 5)
// and lies m * 10^k * polarScale pixels from the pole.

#include <cmath>
#include <cstdio>
#include <string_view>

#include "render/hold_single.h"

namespace polar_rings {

// ln 10 in single precision, 2.3025851.
inline const float kLnTen = static_cast<float>(std::log(10.0));

// k0 = trunc(-trunc(ln s) / ln 10): the twenty decades drawn are k0-10 .. k0+9.
// Returns false for a scale without a finite logarithm.
inline bool DecadeBase(float polarScale, int& k0) {
  const double logScale = std::log(double{polarScale});
  if (!std::isfinite(logScale)) return false;
  const double e0 = -std::trunc(logScale);
  k0 = static_cast<int>(std::trunc(e0 / kLnTen));
  return true;
}

struct Ring {
  int multiplier;  // 1, 2 or 5
  int exponent;    // k
  float radius;    // pixels, held in single precision
};

// Calls draw(ring) for every ring of more than 40 pixels radius, in drawing
// order: decades ascending, multipliers 1, 2, 5 within each.
template <class Draw>
void ForEachDrawnRing(float polarScale, Draw&& draw) {
  int k0 = 0;
  if (!DecadeBase(polarScale, k0)) return;
  for (int k = k0 - 10; k <= k0 + 9; ++k) {
    const float p = HoldSingle(std::exp(k * double{kLnTen}));
    for (int m : {1, 2, 5}) {
      const float r = HoldSingle(m * double{p} * polarScale);
      if (r > 40.0f) draw(Ring{m, k, r});
    }
  }
}

// The label, "m E+k" or "m E-k", written into `buffer`; returns its text.
inline std::string_view Label(const Ring& ring, char (&buffer)[24]) {
  const int length = std::snprintf(buffer, sizeof buffer, ring.exponent >= 0 ? "%d E+%d" : "%d E%d",
                                   ring.multiplier, ring.exponent);
  return length > 0 ? std::string_view(buffer, static_cast<size_t>(length)) : std::string_view();
}

}  // namespace polar_rings
