#pragma once
// Named scenes of both views, each with the hash of the whole client image
// (DrawPolar then DrawWall): the table that the Linux test and the Windows
// build under Wine both check. Plain C++: compiled by both compilers.

#include <cstdint>
#include <initializer_list>
#include <utility>
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

// A stroke of pointer moves with the left button down, as a user draws it.
void Stroke(DistributionEditor& e, std::initializer_list<std::pair<int, int>> points);

// The lamp curve most scenes start from: one stroke down, out and up the right side.
void DrawALamp(DistributionEditor& e);

// FNV-1a over the pixels' red, green and blue bytes, row by row, and the size.
uint64_t ImageHash(const Image& image);
