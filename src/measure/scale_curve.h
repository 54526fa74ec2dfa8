#pragma once
// A curve scaled by one factor: every intensity times the factor, so each
// sample (the root of an intensity) times the factor's square root. A lamp
// is scaled to a flux or a peak plane by plane with it (lamp_shaping.h).

#include <optional>

#include "editor/curve.h"

// The curve with every intensity times `factor`; nothing when the factor is
// not a positive finite number or a sample would leave the float range.
std::optional<Curve> ScaledByFactor(const Curve& curve, double factor);
