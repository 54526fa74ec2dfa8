// Whole client images, DrawPolar and DrawWall together, as a table of hashes:
// one named row per scene (view_scenes.cpp). A row that fails writes its
// image as a PNG into the build folder's tests/render/failed/ so that a
// person can look at it.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <string>

#include "image_files.h"
#include "view_scenes.h"

namespace {

class SceneHash : public testing::TestWithParam<ViewScene> {};

TEST_P(SceneHash, WholeClientImage) {
  const ViewScene& scene = GetParam();
  const Image client = DrawScene(scene);
  const uint64_t hash = ImageHash(client);
  if (hash != scene.hash) {
    const std::string folder = RENDER_FAILURE_DIR;
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/" + scene.name + ".png";
    WritePng(client, path);
    char text[32];
    std::snprintf(text, sizeof text, "0x%016" PRIx64, hash);
    ADD_FAILURE() << scene.name << ": hash " << text << ", image in " << path;
  }
}

// Qt shows the image as Format_RGB32, which takes a pixel without 0xFF in
// its top byte for a see-through one: every pixel, drawn or not, has it.
TEST_P(SceneHash, EveryPixelIsOpaque) {
  const Image client = DrawScene(GetParam());
  size_t seeThrough = 0;
  for (uint32_t pixel : client.pixels) seeThrough += (pixel >> 24) != 0xFFu;
  EXPECT_EQ(seeThrough, 0u);
}

INSTANTIATE_TEST_SUITE_P(Scenes, SceneHash, testing::ValuesIn(ViewScenes()),
                         [](const testing::TestParamInfo<ViewScene>& row) { return std::string(row.param.name); });

}  // namespace
