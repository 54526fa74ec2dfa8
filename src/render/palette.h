#pragma once
// The pens both views draw with, and the colour of the ring labels. Every
// figure is an outline: the hollow brush is the only brush, so Raster has no
// brush to select.

#include <cstdint>

#include "render/raster.h"

inline constexpr uint32_t penDarkBlue = Rgb(0, 0, 160);     // fine angle grid
inline constexpr uint32_t penGrey = Rgb(160, 160, 160);     // coarse angle grid and rings
inline constexpr uint32_t penDarkGreen = Rgb(0, 180, 0);    // curve polyline
inline constexpr uint32_t penGreen = Rgb(0, 255, 0);        // sample markers
inline constexpr uint32_t labelColour = Rgb(160, 160, 160);  // ring labels
