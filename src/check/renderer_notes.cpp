#include "check/renderer_notes.h"

#include <algorithm>
#include <cmath>

#include "check/check_text.h"

namespace {

// A file-generation type this far from 1 changes the light visibly: the
// simulation and undefined types (1.00010, 1.00001) and the lumen-scaled
// digit alone stay below it.
constexpr double kVisibleFactor = 0.005;

bool PlanesDiffer(const Photometry& table) {
  const size_t count = table.verticalAngles.size();
  for (size_t h = 1; h < table.planeCount(); ++h) {
    if (!std::equal(table.plane(h), table.plane(h) + count, table.plane(0))) return true;
  }
  return false;
}

}  // namespace

void AddRendererNotes(const Lm63Facts& facts, const Photometry* table, Findings& findings) {
  if (!facts.tilt.empty() && facts.tilt != "NONE") {
    findings.Warning("renderer-tilt", "TILT=" + facts.tilt +
                                          ": Unreal and Unity load only TILT=NONE and refuse "
                                          "this file");
  }
  if (facts.firstExponentForm) {
    findings.Warning("renderer-exponent", LineName(facts.firstExponentForm->line) + " writes " +
                                              Quote(facts.firstExponentForm->text) +
                                              " in exponent form, which Unity cannot read");
  }
  if (facts.textAfterTable) {
    findings.Warning("renderer-trailing",
                     LineName(facts.textAfterTable->line) + " holds " +
                         Quote(facts.textAfterTable->text) +
                         " after the candela values; Unreal accepts nothing there but END");
  }
  if (facts.fileGenerationType && std::fabs(*facts.fileGenerationType - 1.0) >= kVisibleFactor) {
    const double percent = (*facts.fileGenerationType - 1.0) * 100.0;
    findings.Warning("renderer-file-generation",
                     "Blender Cycles, three.js and Babylon.js multiply the file-generation type " +
                         facts.fileGenerationText +
                         " into the candela: " + NumberText(std::fabs(percent)) + " % " +
                         (percent > 0 ? "brighter" : "darker") + " there than in Unreal and Unity");
  }
  if (table != nullptr && table->planeCount() > 1 && PlanesDiffer(*table)) {
    findings.Warning("renderer-planes",
                     "its " + std::to_string(table->planeCount()) +
                         " planes differ: Unreal averages them into one round beam, and three.js "
                         "(with glTF's EXT_lights_ies there) takes the first plane alone");
  }
}
