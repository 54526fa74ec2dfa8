#include "app/label_scale.h"

#include <cmath>

int LabelScale(double pixelRatio) {
  const double whole = std::floor(pixelRatio + 1e-6);
  return whole >= 1.0 && whole <= 16.0 ? static_cast<int>(whole) : 1;
}
