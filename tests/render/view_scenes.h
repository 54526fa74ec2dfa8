#pragma once
// Named scenes of both views, each with the hash of the whole client image
// (DrawPolar then DrawWall): the table that the Linux test and the Windows
// build under Wine both check. Plain C++: compiled by both compilers.

#include <cstdint>
#include <vector>

#include "editor/distribution_editor.h"
#include "render/image.h"

struct ViewScene {
  const char* name;
  void (*setup)(DistributionEditor&);
  uint64_t hash;
};

const std::vector<ViewScene>& ViewScenes();

// The client image of `scene`, both halves drawn.
Image DrawScene(const ViewScene& scene);

// FNV-1a over the pixels' red, green and blue bytes, row by row, and the size.
uint64_t ImageHash(const Image& image);
