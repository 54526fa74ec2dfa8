#include "app/status_text.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "measure/curve_numbers.h"
#include "measure/lamp_numbers.h"
#include "render/wall_geometry.h"

namespace {

constexpr const char* kDegree = "\xC2\xB0";    // U+00B0 DEGREE SIGN
constexpr const char* kNone = "\xE2\x80\x93";  // U+2013 EN DASH

// std::to_chars writes the "C" locale's form whatever the program's locale.
void AppendNumber(std::string& out, double value, std::chars_format format, int precision) {
  char buffer[32];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
  if (error == std::errc()) out.append(buffer, end);
}

// Four significant digits, as "%.4g" rounds them: 1234, 0.1235, 1.235e+07;
// from 10^4 to below 10^7 as plain figures, which a designer reads at a
// glance (13510, not 1.351e+04).
void AppendFour(std::string& out, double value) {
  char buffer[32];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 4);
  if (error != std::errc()) return;
  double rounded = 0.0;
  std::from_chars(buffer, end, rounded);
  const double size = std::fabs(rounded);
  if (size >= 1e4 && size < 1e7) {
    AppendNumber(out, rounded, std::chars_format::fixed, 0);
  } else {
    out.append(buffer, end);
  }
}

void AppendWhole(std::string& out, int value) {
  char buffer[16];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (error == std::errc()) out.append(buffer, end);
}

void AppendAngle(std::string& out, const std::optional<double>& angle) {
  if (angle) {
    AppendNumber(out, *angle, std::chars_format::fixed, 1);
    out += kDegree;
  } else {
    out += kNone;
  }
}

double Squared(double root) {
  return root * root;
}

void FillDiagramPointer(const DistributionEditor& editor, std::string& out) {
  const DistributionEditor::PressSample press = editor.PressSampleAt(editor.lastX, editor.lastY);
  // The curve of the half the pointer is on.
  const bool left = static_cast<double>(editor.lastX) < static_cast<double>(editor.centerX);
  const Curve& curve = editor.leftCurve && left ? *editor.leftCurve : editor.curve;
  AppendWhole(out, press.index);
  out += kDegree;
  out += "  curve ";
  AppendFour(out, Squared(curve[static_cast<size_t>(press.index)]));
  out += " cd  pointer ";
  AppendFour(out, Squared(press.value));
  out += " cd";
}

// Pixel (column, scanLine) of the wall half, as the picture maps it.
void FillWallPointer(const DistributionEditor& editor, const Document& document, int column,
                     int scanLine, std::string& out) {
  const double x = WallX(column, editor.halfWidth(), editor.wallScale);
  const double y = WallY(scanLine, editor.clientHeight, editor.wallScale);
  out += "x ";
  AppendFour(out, x);
  out += " m  y ";
  AppendFour(out, y);
  out += " m  E ";
  // A lamp by sections is lit from every plane; otherwise from the editor's
  // curve, read live during a stroke.
  AppendFour(out, document.BySections()
                      ? WallIlluminance(document.lamp(), document.sectionC(), x, y, editor.wallDistance)
                      : WallIlluminance(editor.curve, x, y, editor.wallDistance));
  out += " lx";
}

void FillPointer(const DistributionEditor& editor, const Document& document, bool pointerInside,
                 std::string& out) {
  const int half = editor.halfWidth();
  const int x = editor.lastX;
  const int y = editor.lastY;
  // A captured pointer may lie anywhere; the odd last column is in neither half.
  if (!pointerInside || y < 0 || y >= editor.clientHeight || x < 0 || x >= 2 * half) return;
  if (x < half) {
    FillDiagramPointer(editor, out);
  } else {
    FillWallPointer(editor, document, x - half, editor.clientHeight - 1 - y, out);
  }
}

void AppendCurveNumbers(std::string& out, double flux,
                        const std::optional<double>& beam, const std::optional<double>& field) {
  out += "  flux ";
  AppendFour(out, flux);
  out += " lm  beam ";
  AppendAngle(out, beam);
  out += "  field ";
  AppendAngle(out, field);
}

// A lamp of one plane is the editor's curve, read live during a stroke; a
// lamp of several planes gives the whole lamp's numbers, as `info` does.
void FillCurve(const DistributionEditor& editor, const Lamp& lamp, std::string& out) {
  out += "peak ";
  if (lamp.planes.size() < 2) {
    const CurveNumbers numbers = MeasureCurve(editor.curve);
    AppendFour(out, numbers.peakCd);
    out += " cd at ";
    AppendWhole(out, numbers.peakAngle);
    out += kDegree;
    AppendCurveNumbers(out, numbers.fluxLm, numbers.beamAngle, numbers.fieldAngle);
    return;
  }
  const LampNumbers numbers = MeasureLamp(lamp);
  AppendFour(out, numbers.peakCd);
  out += " cd at C ";
  AppendFour(out, numbers.peakC);
  out += kDegree;
  out += " ";
  AppendWhole(out, static_cast<int>(numbers.peakGamma));
  out += kDegree;
  AppendCurveNumbers(out, numbers.fluxLm, numbers.beamAngle, numbers.fieldAngle);
}

void FillLamp(const DistributionEditor& editor, const Document& document, std::string& out) {
  if (document.BySections()) {
    document.AppendSectionText(out);
    out += "  ";
  }
  out += "light ";
  AppendFour(out, editor.wallDistance);
  out += " m from the wall";
}

}  // namespace

void FillStatusTexts(const DistributionEditor& editor, const Document& document,
                     bool pointerInside, StatusTexts& texts) {
  const Lamp& lamp = document.lamp();
  texts.pointer.clear();
  texts.curve.clear();
  texts.lamp.clear();
  FillPointer(editor, document, pointerInside, texts.pointer);
  FillCurve(editor, lamp, texts.curve);
  FillLamp(editor, document, texts.lamp);
  if (const std::string_view kept = KeepFluxStatus(document.drawingOptions()); !kept.empty()) {
    texts.lamp += "  ";
    texts.lamp += kept;
  }
}

StatusTexts StatusTextsFor(const DistributionEditor& editor, const Document& document,
                           bool pointerInside) {
  StatusTexts texts;
  FillStatusTexts(editor, document, pointerInside, texts);
  return texts;
}
