// Draws every scene of gdi_scenes.h with the real GDI into a top-down 32-bit
// DIB section and writes the pixels to <folder>/<scene>.bgra: width x height
// little-endian 32-bit pixels, rows top-down, the fourth byte cleared.
//
// Built with MinGW-w64 and run under Wine by the raster's GDI comparison.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "../gdi_scenes.h"

namespace {

bool DrawScene(const GdiScene& scene, const std::string& folder) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = scene.width;
  info.bmiHeader.biHeight = -scene.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dc || !dib || !bits) return false;
  HGDIOBJ oldBitmap = SelectObject(dc, dib);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  const size_t count = static_cast<size_t>(scene.width) * static_cast<size_t>(scene.height);
  std::memset(bits, 0, count * 4);

  for (const GdiPrimitive& p : scene.primitives) {
    const COLORREF colour = RGB((p.colour >> 16) & 0xff, (p.colour >> 8) & 0xff, p.colour & 0xff);
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    switch (p.call) {
      case GdiCall::kLine:
        MoveToEx(dc, p.a, p.b, nullptr);
        LineTo(dc, p.c, p.d);
        break;
      case GdiCall::kRectangle:
        Rectangle(dc, p.a, p.b, p.c, p.d);
        break;
      case GdiCall::kEllipse:
        Ellipse(dc, p.a, p.b, p.c, p.d);
        break;
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  }
  GdiFlush();

  const std::string path = folder + "\\" + scene.name + ".bgra";
  FILE* out = std::fopen(path.c_str(), "wb");
  bool ok = out != nullptr;
  if (ok) {
    const auto* pixels = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < count && ok; ++i) {
      const uint32_t pixel = pixels[i] & 0x00ffffffu;
      ok = std::fwrite(&pixel, 4, 1, out) == 1;
    }
    ok = std::fclose(out) == 0 && ok;
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldBitmap);
  DeleteObject(dib);
  DeleteDC(dc);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gdi_reference <output folder>\n");
    return 2;
  }
  CreateDirectoryA(argv[1], nullptr);
  for (const GdiScene& scene : GdiScenes()) {
    if (!DrawScene(scene, argv[1])) {
      std::fprintf(stderr, "gdi_reference: scene %s failed\n", scene.name);
      return 1;
    }
  }
  return 0;
}
