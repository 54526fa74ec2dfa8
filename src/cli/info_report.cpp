#include "cli/info_report.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace {

void AppendFixed3(std::string& out, double value) {
  char buffer[400];  // enough for any double with three decimals
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                          std::chars_format::fixed, 3);
  if (error == std::errc()) out.append(buffer, end);
}

// For a double, or a float as the float it is: 8500 rather than the
// 8499.99956239952 that a float's square root squared gives.
template <typename Number>
void AppendShortest(std::string& out, Number value) {
  if (!std::isfinite(value)) {  // JSON has no infinity; intensities are finite anyway
    out += "null";
    return;
  }
  char buffer[32];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (error == std::errc()) out.append(buffer, end);
}

void AppendAngleText(std::string& out, const std::optional<double>& angle) {
  if (!angle) {
    out += "none";
    return;
  }
  AppendFixed3(out, *angle);
  out += " degrees";
}

void AppendJsonNumber(std::string& out, const std::optional<double>& value) {
  if (value) {
    AppendShortest(out, *value);
  } else {
    out += "null";
  }
}

const char* SymmetryKey(Symmetry symmetry) {
  switch (symmetry) {
    case Symmetry::kRotational: return "rotational";
    case Symmetry::kQuadrant: return "quadrant";
    case Symmetry::kBilateral0To180: return "bilateral-0-180";
    case Symmetry::kBilateral90To270: return "bilateral-90-270";
    case Symmetry::kNone: return "none";
  }
  return "none";
}

// The length of the well-formed UTF-8 sequence at the start of `s`, or 0.
size_t Utf8SequenceLength(std::string_view s) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(0);
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (s.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  while (!text.empty()) {
    const unsigned char c = static_cast<unsigned char>(text[0]);
    const size_t length = Utf8SequenceLength(text);
    if (length == 0) {
      out += "\\ufffd";
      text.remove_prefix(1);
      continue;
    }
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else {
      out.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  out += '"';
}

void AppendInfoText(std::string& out, std::string_view file, const LampNumbers& numbers) {
  out.append(file);
  out += "\n  planes          ";
  out += std::to_string(numbers.planes);
  out += " (";
  out += SymmetryText(numbers.symmetry);
  out += ")\n  peak intensity  ";
  AppendFixed3(out, static_cast<double>(numbers.peakCd));
  out += " cd at C ";
  AppendShortest(out, numbers.peakC);
  out += ", gamma ";
  AppendShortest(out, numbers.peakGamma);
  out += " degrees\n  luminous flux   ";
  AppendFixed3(out, numbers.fluxLm);
  out += " lm\n";
  if (numbers.ratedLumens && numbers.lightOutputRatio) {
    out += "  rated lamp flux ";
    AppendFixed3(out, *numbers.ratedLumens);
    out += " lm\n  light output ratio ";
    AppendFixed3(out, *numbers.lightOutputRatio);
    out += '\n';
  }
  out += "  beam angle      ";
  AppendAngleText(out, numbers.beamAngle);
  out += "\n  field angle     ";
  AppendAngleText(out, numbers.fieldAngle);
  out += '\n';
}

void AppendInfoJsonNumbers(std::string& out, const LampNumbers* numbers) {
  if (numbers == nullptr) {
    out +=
        "\"peak_cd\":null,\"peak_angle\":null,\"flux_lm\":null,\"beam_angle\":null,"
        "\"field_angle\":null,\"planes\":null,\"symmetry\":null,\"peak_c\":null,"
        "\"lamp_lumens\":null,\"lor\":null";
    return;
  }
  out += "\"peak_cd\":";
  AppendShortest(out, numbers->peakCd);
  out += ",\"peak_angle\":";
  AppendShortest(out, numbers->peakGamma);
  out += ",\"flux_lm\":";
  AppendShortest(out, numbers->fluxLm);
  out += ",\"beam_angle\":";
  AppendJsonNumber(out, numbers->beamAngle);
  out += ",\"field_angle\":";
  AppendJsonNumber(out, numbers->fieldAngle);
  out += ",\"planes\":";
  out += std::to_string(numbers->planes);
  out += ",\"symmetry\":\"";
  out += SymmetryKey(numbers->symmetry);
  out += "\",\"peak_c\":";
  AppendShortest(out, numbers->peakC);
  out += ",\"lamp_lumens\":";
  AppendJsonNumber(out, numbers->ratedLumens);
  out += ",\"lor\":";
  AppendJsonNumber(out, numbers->lightOutputRatio);
}

void AppendInfoJson(std::string& out, std::string_view file, const LampNumbers* numbers,
                    std::string_view message) {
  out += "{\"file\":";
  AppendJsonString(out, file);
  if (numbers == nullptr) {
    out += ",\"ok\":false,\"message\":";
    AppendJsonString(out, message);
  } else {
    out += ",\"ok\":true,\"message\":null";
  }
  out += ',';
  AppendInfoJsonNumbers(out, numbers);
  out += "}\n";
}
