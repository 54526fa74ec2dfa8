#include "app/properties_text.h"

#include <algorithm>
#include <optional>

#include "check/check_text.h"
#include "measure/lamp_numbers.h"

namespace {

constexpr const char* kDegree = "\xC2\xB0";  // U+00B0 DEGREE SIGN

std::string AngleText(const std::optional<double>& angle) {
  return angle ? NumberText(*angle) + kDegree : "none";
}

// The numbers `info` gives, in the "label: value" lines of a file's header.
std::string DrawnLampText(const Lamp& lamp) {
  const LampNumbers numbers = MeasureLamp(lamp);
  return "This lamp is drawn, not read from a file.\n\nPlanes: " + std::to_string(numbers.planes) +
         " (" + SymmetryText(numbers.symmetry) + ")\nPeak: " +
         NumberText(static_cast<double>(numbers.peakCd)) + " cd at C " +
         NumberText(static_cast<double>(numbers.peakC)) + kDegree + ", gamma " +
         NumberText(static_cast<double>(numbers.peakGamma)) + kDegree +
         "\nFlux: " + NumberText(numbers.fluxLm) + " lm\nBeam angle: " + AngleText(numbers.beamAngle) +
         "\nField angle: " + AngleText(numbers.fieldAngle) + "\n";
}

}  // namespace

std::string PropertiesText(const Document& document) {
  const std::string path(document.sourcePath());
  if (path.empty()) return DrawnLampText(document.lamp());
  return "File: " + path + "\n" + FileCheckText(CheckFilePath(path));
}

void AppendErrorsNote(std::string& note, const FileCheck& check) {
  const auto errors = std::ranges::count_if(
      check.findings, [](const Finding& finding) { return finding.severity == Severity::kError; });
  if (errors == 0) return;
  if (!note.empty()) note += " \xE2\x80\x94 ";  // U+2014 EM DASH
  note += std::to_string(errors) + (errors == 1 ? " error" : " errors") + " found: Lamp > Properties";
}
