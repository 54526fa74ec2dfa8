#pragma once
// A curve scaled to a chosen flux or peak: every intensity times one factor,
// so each sample (the root of an intensity) times the factor's square root.
// For renderers that take candela literally, a curve scaled to the lamp's
// lumens gives absolute photometry.

#include <optional>

#include "editor/curve.h"

// The curve whose zonal flux (MeasureCurve) is `lumens`; nothing when the
// curve has no flux, or `lumens` is not a positive finite number, or a
// sample would leave the float range.
std::optional<Curve> ScaledToFlux(const Curve& curve, double lumens);

// The curve whose peak intensity is `candela`, under the same conditions.
std::optional<Curve> ScaledToPeak(const Curve& curve, double candela);


// The curve with every intensity times `factor`; nothing when the factor is
// not a positive finite number or a sample would leave the float range.
std::optional<Curve> ScaledByFactor(const Curve& curve, double factor);
