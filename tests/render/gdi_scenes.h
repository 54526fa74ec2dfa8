#pragma once
// Named groups of drawing calls that both the GDI reference program (built
// for Windows) and the raster test replay, so their pixels can be compared.
// Plain C++ only: this file is compiled by both compilers.

#include <cstdint>
#include <vector>

enum class GdiCall { kLine, kRectangle, kEllipse };

// kLine: MoveTo(a, b) then LineTo(c, d). kRectangle, kEllipse: box (a, b, c, d).
struct GdiPrimitive {
  GdiCall call;
  int a, b, c, d;
  uint32_t colour;  // 0x00RRGGBB, a distinct pen per primitive
};

struct GdiScene {
  const char* name;
  int width, height;
  std::vector<GdiPrimitive> primitives;
  // Pixels the raster may light differently from GDI; see the scene's comment.
  int toleratedDifferences = 0;
};

std::vector<GdiScene> GdiScenes();
