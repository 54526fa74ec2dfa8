// The views built for Windows by MinGW-w64, run under Wine: every scene of
// view_scenes.cpp must give the same whole-image hash as on Linux, so that
// both programs show the same pixels. Prints one line per scene; the exit
// code counts the scenes that differ.
#include <cinttypes>
#include <cstdio>

#include "../view_scenes.h"

int main() {
  int differing = 0;
  for (const ViewScene& scene : ViewScenes()) {
    const uint64_t hash = ImageHash(DrawScene(scene));
    const bool same = hash == scene.hash;
    differing += same ? 0 : 1;
    std::printf("%-28s 0x%016" PRIx64 " %s\n", scene.name, hash, same ? "same" : "DIFFERENT");
  }
  return differing;
}
