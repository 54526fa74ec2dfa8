// The LM-63 writer: the number format and the bytes of a file.
#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>

#include "files/ies_format.h"

std::string FormatTrimmed(double value) {
  // 320 characters hold the text of any double: the largest has 309 digits
  // before the point, then the sign, the point and six decimals. (A curve
  // sample's square, at most about 1.2e77, needs 85.)
  char text[320];
  const std::to_chars_result end =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
  std::string result(text, end.ptr);
  // "%f" always writes a point and six decimals, so this never reaches the
  // integer digits (not-finite values have no point and no trailing zero).
  while (!result.empty() && result.back() == '0') result.pop_back();
  if (!result.empty() && result.back() == '.') result.push_back('0');
  return result;
}

namespace {

Curve ToCurve(const float* samples) {
  Curve curve{};
  for (size_t i = 0; i < curve.size(); ++i) curve[i] = samples[i];
  return curve;
}

// One value and its separator: the line end after every tenth value of a
// block, one space otherwise.
void AppendListValue(std::string& text, double value, int index) {
  text += FormatTrimmed(value);
  text += index % 10 == 9 ? "\r\n" : " ";
}

// A lamp count or lumens figure as the header line writes it: whole
// numbers without a point ("1", "-1"), others as FormatTrimmed.
std::string HeaderNumber(double value) {
  if (value == std::trunc(value) && std::fabs(value) < 1e9) {
    return std::to_string(static_cast<long long>(value));
  }
  return FormatTrimmed(value);
}

// The ballast factor as the second line writes it: "1.00" for 1, as the
// first layout did.
std::string FactorText(float value) { return value == 1.0f ? "1.00" : FormatTrimmed(value); }

}  // namespace

std::string WriteIesText(const float* curve) { return WriteIesText(Lamp::OfCurve(ToCurve(curve)), Photometry{}); }

std::string WriteIesText(const Lamp& lamp, const Photometry& header) {
  std::string text;
  text.reserve(4096 + lamp.planes.size() * 2048);
  text += "IESNA:\r\n";
  for (const std::string& line : header.keywords) text += line + "\r\n";
  text += "TILT=NONE\r\n";
  // The multiplier is applied to the candela values, so it is written as 1.
  text += HeaderNumber(header.lampCount >= 1 ? header.lampCount : 1) + "  " +
          HeaderNumber(header.lumensPerLamp > 0.0f ? header.lumensPerLamp : -1.0) + "  1  181  " +
          std::to_string(lamp.planes.size()) + "  1  " + (header.unitsType == 2 ? "2" : "1") + "  " +
          FormatTrimmed(header.width) + "  " + FormatTrimmed(header.length) + "  " +
          FormatTrimmed(header.height) + "\r\n";
  // The layout has no file-generation type: its second factor, which older
  // readers multiply into the candela values, stays 1.
  text += FactorText(header.ballastFactor) + "  1.00  " + HeaderNumber(header.inputWatts) + "\r\n";
  for (int angle = 0; angle < 180; ++angle) {
    AppendListValue(text, static_cast<double>(static_cast<float>(angle)), angle);
  }
  text += "180.0\r\n";
  for (size_t h = 0; h < lamp.planeAngles.size(); ++h) {
    const bool last = h + 1 == lamp.planeAngles.size();
    text += FormatTrimmed(lamp.planeAngles[h]);
    text += last || h % 10 == 9 ? "\r\n" : " ";
  }
  for (size_t h = 0; h < lamp.planes.size(); ++h) {
    for (int i = 0; i < kCurveSampleCount; ++i) {
      // The square of a float is exact in double; it is formatted unrounded.
      const double root = static_cast<double>(lamp.planes[h][static_cast<size_t>(i)]);
      AppendListValue(text, root * root, i);
    }
    // Kept for compatibility: the last value is followed by one space and no
    // line end; a plane before it ends its line.
    if (h + 1 < lamp.planes.size()) {
      text.back() = '\r';
      text += '\n';
    }
  }
  return text;
}
