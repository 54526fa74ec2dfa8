// The LM-63-2019 writer.
#include <chrono>
#include <cstdio>
#include <vector>

#include "files/ies_2019.h"
#include "files/ies_format.h"

namespace {

// `count` values, ten a line, the last line ended too.
void AppendValues(std::string& text, int count, auto valueAt) {
  for (int i = 0; i < count; ++i) {
    text += FormatTrimmed(valueAt(i));
    text += i % 10 == 9 || i + 1 == count ? "\r\n" : " ";
  }
}

std::string FileGenerationInfo(size_t planes) {
  return planes == 1 ? std::string("One vertical plane of 181 angles written by Lumistra")
                     : std::to_string(planes) + " vertical planes of 181 angles written by Lumistra";
}

}  // namespace

std::string WriteIes2019Text(const Lamp& lamp, const Photometry& source, std::string_view date,
                             const WrittenLight& light) {
  std::string text;
  text.reserve(8192 + lamp.planes.size() * 2048);
  text += "IES:LM-63-2019\r\n";
  for (const std::string& line :
       Lm63Of2019KeywordLines(source.keywords, date, FileGenerationInfo(lamp.planes.size()))) {
    text += line + "\r\n";
  }
  text += "TILT=NONE\r\n";

  const int lamps = source.lampCount >= 1 ? source.lampCount : 1;
  const int units = source.unitsType == 2 ? 2 : 1;
  // The rated lamp flux is kept while the light is no more than it; a light
  // beyond it is written in absolute photometry.
  const bool rated = source.lumensPerLamp > 0.0f &&
                     static_cast<double>(lamps) * source.lumensPerLamp >= light.fluxLm;
  text += std::to_string(lamps) + " " + FormatTrimmed(rated ? source.lumensPerLamp : -1.0) +
          " 1 181 " + std::to_string(lamp.planes.size()) + " 1 " + std::to_string(units) + " " +
          FormatTrimmed(source.width) + " " + FormatTrimmed(source.length) + " " +
          FormatTrimmed(source.height) + "\r\n";
  const float ballastFactor = source.ballastFactor > 0.0f ? source.ballastFactor : 1.0f;
  text += FormatTrimmed(ballastFactor) + " " +
          std::string(Lm63Of2019FileGenerationType(light.origin)) + " " +
          FormatTrimmed(source.inputWatts) + "\r\n";
  AppendValues(text, kCurveSampleCount,
               [](int i) { return static_cast<double>(static_cast<float>(i)); });
  AppendValues(text, static_cast<int>(lamp.planeAngles.size()), [&lamp](int h) {
    return static_cast<double>(lamp.planeAngles[static_cast<size_t>(h)]);
  });
  for (const Curve& plane : lamp.planes) {
    AppendValues(text, kCurveSampleCount, [&plane](int i) {
      const double root = static_cast<double>(plane[static_cast<size_t>(i)]);
      return root * root;
    });
  }
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
