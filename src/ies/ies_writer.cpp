// The LM-63 writer: the number format and the bytes of a file.
#include <charconv>
#include <cstddef>

#include "ies/ies_format.h"

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

// One value and its separator: the line end after every tenth value of a
// block, one space otherwise.
void AppendListValue(std::string& text, double value, int index) {
  text += FormatTrimmed(value);
  text += index % 10 == 9 ? "\r\n" : " ";
}

}  // namespace

std::string WriteIesText(const float* curve) {
  std::string text;
  text.reserve(4096);
  text += "IESNA:\r\n";
  text += "TILT=NONE\r\n";
  text += "1  -1  1  181  1  1  1  0.0  0.0  0.0\r\n";
  text += "1.00  1.00  0\r\n";
  for (int angle = 0; angle < 180; ++angle) {
    AppendListValue(text, static_cast<double>(static_cast<float>(angle)), angle);
  }
  text += "180.0\r\n0.0\r\n";
  for (int i = 0; i < kCurveSampleCount; ++i) {
    // The square of a float is exact in double; it is formatted unrounded.
    const double root = static_cast<double>(curve[i]);
    AppendListValue(text, root * root, i);
  }
  return text;
}
