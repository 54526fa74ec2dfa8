// Writes PNGs of both views for a person to look at:
//   render_preview <folder>
// A default editor with a drawn curve, the same zoomed and panned, and a wide client.
#include <cstdio>
#include <string>

#include "editor/distribution_editor.h"
#include "image_files.h"
#include "render/polar_view.h"
#include "render/wall_view.h"

namespace {

// A stroke of pointer moves with the left button down, as a user draws it.
void Stroke(DistributionEditor& e, std::initializer_list<std::pair<int, int>> points) {
  auto it = points.begin();
  e.OnPointerMove(it->first, it->second);
  e.OnLeftButton(true);
  for (++it; it != points.end(); ++it) e.OnPointerMove(it->first, it->second);
  e.OnLeftButton(false);
}

void DrawACurve(DistributionEditor& e) {
  Stroke(e, {{200, 330}, {250, 320}, {300, 280}, {330, 220}, {320, 180}, {280, 150}, {230, 140}, {200, 142}});
}

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
  DrawACurve(e);
  bool ok = Save(e, folder + "/preview_default.png");

  DistributionEditor zoomed;
  DrawACurve(zoomed);
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
