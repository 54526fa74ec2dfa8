// The LM-63-2019 writer.
#include <array>
#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

#include "ies/ies_2019.h"
#include "ies/ies_format.h"
#include "ies/lm63_2019_keywords.h"
#include "measure/curve_numbers.h"

namespace {

// `count` values, ten a line, the last line ended too.
void AppendValues(std::string& text, int count, auto valueAt) {
  for (int i = 0; i < count; ++i) {
    text += FormatTrimmed(valueAt(i));
    text += i % 10 == 9 || i + 1 == count ? "\r\n" : " ";
  }
}

}  // namespace

std::string WriteIes2019Text(const Curve& curve, const Photometry& source, std::string_view date) {
  // A drawn lamp's table is the default one, which has no planes; an opened
  // file's curve is resampled onto the whole degrees.
  const bool drawn = source.horizontalAngles.empty();
  const std::optional<float> sourceType =
      source.identification.find("LM-63-2019") != std::string::npos
          ? std::optional<float>(source.fileGenerationType)
          : std::nullopt;
  const std::string_view fileGenerationType = Lm63Of2019FileGenerationType(
      {.sourceType = sourceType, .drawn = drawn, .resampled = !drawn, .scaled = false});

  std::string text;
  text.reserve(8192);
  text += "IES:LM-63-2019\r\n";
  for (const std::string& line : Lm63Of2019KeywordLines(
           source.keywords, date, "One vertical plane of 181 angles written by Lumistra")) {
    text += line + "\r\n";
  }
  text += "TILT=NONE\r\n";

  const int lamps = source.lampCount >= 1 ? source.lampCount : 1;
  const int units = source.unitsType == 2 ? 2 : 1;
  // The rated lamp flux is kept while the curve gives no more light than
  // it; a curve scaled beyond it is written in absolute photometry.
  const bool rated = source.lumensPerLamp > 0.0f &&
                     static_cast<double>(lamps) * source.lumensPerLamp >= MeasureCurve(curve).fluxLm;
  text += std::to_string(lamps) + " " + FormatTrimmed(rated ? source.lumensPerLamp : -1.0) +
          " 1 181 1 1 " +
          std::to_string(units) + " " + FormatTrimmed(source.width) + " " +
          FormatTrimmed(source.length) + " " + FormatTrimmed(source.height) + "\r\n";
  const float ballastFactor = source.ballastFactor > 0.0f ? source.ballastFactor : 1.0f;
  text += FormatTrimmed(ballastFactor) + " " + std::string(fileGenerationType) + " " +
          FormatTrimmed(source.inputWatts) + "\r\n";
  AppendValues(text, kCurveSampleCount,
               [](int i) { return static_cast<double>(static_cast<float>(i)); });
  text += "0.0\r\n";
  AppendValues(text, kCurveSampleCount, [&curve](int i) {
    const double root = static_cast<double>(curve[static_cast<size_t>(i)]);
    return root * root;
  });
  return text;
}

std::string TodayUtc() {
  const std::chrono::year_month_day today{
      std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(today.year()),
                static_cast<unsigned>(today.month()), static_cast<unsigned>(today.day()));
  return text;
}
