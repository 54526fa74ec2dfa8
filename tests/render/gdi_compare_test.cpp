// The raster against the real GDI: every scene of gdi_scenes.cpp drawn by
// both, every pixel compared. GDI's pixels come from gdi_reference.exe run
// under Wine by the fixture test gdi_reference_draws_scenes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "gdi_scenes.h"
#include "image_files.h"
#include "render/raster.h"

namespace {

Image DrawWithRaster(const GdiScene& scene) {
  Image image(scene.width, scene.height);
  Raster raster(image, 0, 0, scene.width, scene.height);
  for (const GdiPrimitive& p : scene.primitives) {
    raster.SelectPen(p.colour);
    switch (p.call) {
      case GdiCall::kLine:
        raster.MoveTo(p.a, p.b);
        raster.LineTo(p.c, p.d);
        break;
      case GdiCall::kRectangle:
        raster.Rectangle(p.a, p.b, p.c, p.d);
        break;
      case GdiCall::kEllipse:
        raster.Ellipse(p.a, p.b, p.c, p.d);
        break;
    }
  }
  return image;
}

bool ReadGdiPixels(const GdiScene& scene, Image& image) {
  image = Image(scene.width, scene.height);
  std::ifstream in(std::string(GDI_PIXELS_DIR) + "/" + scene.name + ".bgra", std::ios::binary);
  in.read(reinterpret_cast<char*>(image.pixels.data()),
          static_cast<std::streamsize>(image.pixels.size() * sizeof(uint32_t)));
  return static_cast<bool>(in);
}

class GdiComparison : public testing::TestWithParam<GdiScene> {};

TEST_P(GdiComparison, RasterLightsTheSamePixelsAsGdi) {
  const GdiScene& scene = GetParam();
  Image gdi;
  ASSERT_TRUE(ReadGdiPixels(scene, gdi)) << "no GDI pixels for " << scene.name;
  const Image ours = DrawWithRaster(scene);

  int differing = 0;
  Image diff(scene.width, scene.height);
  for (size_t i = 0; i < ours.pixels.size(); ++i) {
    const uint32_t a = ours.pixels[i] & 0xffffffu, b = gdi.pixels[i] & 0xffffffu;
    if (a == b) {
      diff.pixels[i] = a ? 0x404040u : 0;
      continue;
    }
    diff.pixels[i] = b == 0 ? 0xff0000u : (a == 0 ? 0x00ff00u : 0xffff00u);
    if (++differing <= 20 && scene.toleratedDifferences == 0) {
      ADD_FAILURE() << scene.name << ": pixel (" << i % static_cast<size_t>(scene.width) << ", "
                    << i / static_cast<size_t>(scene.width) << ") raster " << std::hex << a << " GDI " << b;
    }
  }
  if (differing > scene.toleratedDifferences) {
    const std::string folder = RENDER_FAILURE_DIR;
    std::filesystem::create_directories(folder);
    WritePng(ours, folder + "/" + scene.name + ".raster.png");
    WritePng(gdi, folder + "/" + scene.name + ".gdi.png");
    WritePng(diff, folder + "/" + scene.name + ".diff.png");
  }
  EXPECT_LE(differing, scene.toleratedDifferences) << scene.name << ": images in " << RENDER_FAILURE_DIR
                          << " (diff: red only the raster, green only GDI, yellow other colour)";
}

INSTANTIATE_TEST_SUITE_P(Scenes, GdiComparison, testing::ValuesIn(GdiScenes()),
                         [](const testing::TestParamInfo<GdiScene>& row) { return std::string(row.param.name); });

}  // namespace
