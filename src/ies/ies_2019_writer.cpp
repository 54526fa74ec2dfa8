// The LM-63-2019 writer.
#include <array>
#include <chrono>
#include <cstdio>
#include <vector>

#include "ies/ies_2019.h"
#include "ies/ies_format.h"

namespace {

// The bracketed name a keyword line starts with ("[TEST]"), or empty.
std::string_view KeywordOf(std::string_view line) {
  if (line.empty() || line.front() != '[') return {};
  const size_t close = line.find(']');
  return close == std::string_view::npos ? std::string_view() : line.substr(0, close + 1);
}

// A keyword line with the [MORE] lines that continue it.
using KeywordGroup = std::vector<std::string>;

std::vector<KeywordGroup> GroupKeywords(const std::vector<std::string>& lines) {
  std::vector<KeywordGroup> groups;
  for (const std::string& line : lines) {
    const std::string_view keyword = KeywordOf(line);
    if (keyword == "[MORE]" && !groups.empty()) {
      groups.back().push_back(line);
    } else if (!keyword.empty()) {
      groups.push_back({line});
    } else if (line.find_first_not_of(" \t") != std::string::npos) {
      groups.push_back({"[OTHER] " + line});
    }
  }
  return groups;
}

// `count` values, ten a line, the last line ended too.
void AppendValues(std::string& text, int count, auto valueAt) {
  for (int i = 0; i < count; ++i) {
    text += FormatTrimmed(valueAt(i));
    text += i % 10 == 9 || i + 1 == count ? "\r\n" : " ";
  }
}

}  // namespace

std::string WriteIes2019Text(const Lamp& lamp, const Photometry& source, std::string_view date) {
  const std::string lumistraTest = "Lumistra " + std::string(date);
  const std::array<std::pair<std::string_view, std::string>, 4> required = {{
      {"[TEST]", lumistraTest},
      {"[TESTLAB]", "Lumistra"},
      {"[ISSUEDATE]", std::string(date)},
      {"[MANUFAC]", "Lumistra"},
  }};
  const std::vector<KeywordGroup> groups = GroupKeywords(source.keywords);
  const auto findGroup = [&groups](std::string_view keyword) -> const KeywordGroup* {
    for (const KeywordGroup& group : groups) {
      if (KeywordOf(group.front()) == keyword) return &group;
    }
    return nullptr;
  };
  // A required keyword with no text ("[TEST] ") counts as missing.
  const auto findFilled = [&findGroup](std::string_view keyword) -> const KeywordGroup* {
    const KeywordGroup* group = findGroup(keyword);
    if (group == nullptr || group->size() > 1 ||
        group->front().find_first_not_of(" \t", keyword.size()) != std::string::npos) {
      return group;
    }
    return nullptr;
  };

  std::string text;
  text.reserve(8192);
  text += "IES:LM-63-2019\r\n";
  for (const auto& [keyword, fallback] : required) {
    const KeywordGroup* group = findFilled(keyword);
    if (group == nullptr) {
      text += std::string(keyword) + " " + fallback + "\r\n";
    } else {
      for (const std::string& line : *group) text += line + "\r\n";
    }
  }
  for (const KeywordGroup& group : groups) {
    const std::string_view keyword = KeywordOf(group.front());
    bool isRequired = false;
    for (const auto& entry : required) isRequired = isRequired || entry.first == keyword;
    // The first of a required keyword's groups is written in front; an
    // empty one gives way to Lumistra's text.
    if (isRequired && findGroup(keyword) == &group) continue;
    for (const std::string& line : group) text += line + "\r\n";
  }
  if (findGroup("[FILEGENINFO]") == nullptr) {
    text += lamp.planes.size() == 1
                ? "[FILEGENINFO] One vertical plane of 181 angles written by Lumistra\r\n"
                : "[FILEGENINFO] " + std::to_string(lamp.planes.size()) +
                      " vertical planes of 181 angles written by Lumistra\r\n";
  }
  text += "TILT=NONE\r\n";

  const int lamps = source.lampCount >= 1 ? source.lampCount : 1;
  const int units = source.unitsType == 2 ? 2 : 1;
  text += std::to_string(lamps) + " " + FormatTrimmed(source.lumensPerLamp) + " 1 181 " +
          std::to_string(lamp.planes.size()) + " 1 " +
          std::to_string(units) + " " + FormatTrimmed(source.width) + " " +
          FormatTrimmed(source.length) + " " + FormatTrimmed(source.height) + "\r\n";
  // Ballast factor 1; file generation type 1.00010, a computer simulation.
  text += "1.0 1.00010 " + FormatTrimmed(source.inputWatts) + "\r\n";
  AppendValues(text, kCurveSampleCount,
               [](int i) { return static_cast<double>(static_cast<float>(i)); });
  AppendValues(text, static_cast<int>(lamp.planeAngles.size()),
               [&lamp](int h) { return static_cast<double>(lamp.planeAngles[static_cast<size_t>(h)]); });
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
