// Writes PNGs of both views for a person to look at:
//   render_preview <folder>
// A default editor with a drawn curve, the same zoomed and panned, and a wide client.
#include <cstdio>
#include <string>

#include "editor/distribution_editor.h"
#include "image_files.h"
#include "view_scenes.h"
#include "render/polar_view.h"
#include "render/wall_view.h"

namespace {


bool Save(const DistributionEditor& e, const std::string& path) {
  Image client(e.clientWidth, e.clientHeight);
  DrawPolar(e, client);
  DrawWall(e, client);
  const bool ok = WritePng(client, path);
  std::printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : ".";
  DistributionEditor e;
  DrawALamp(e);
  bool ok = Save(e, folder + "/preview_default.png");

  DistributionEditor zoomed;
  DrawALamp(zoomed);
  zoomed.OnPointerMove(260, 250);
  for (int i = 0; i < 3; ++i) zoomed.OnWheel(120, false);
  zoomed.OnPointerMove(600, 200);
  zoomed.OnWheel(-120, false);
  ok = Save(zoomed, folder + "/preview_zoomed.png") && ok;

  DistributionEditor wide;
  wide.OnResize(1280, 520);
  ok = Save(wide, folder + "/preview_empty_wide.png") && ok;
  return ok ? 0 : 1;
}
