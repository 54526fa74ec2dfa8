// LM-63-2019 keyword lines and file-generation types.
#include "files/lm63_2019_keywords.h"

#include <algorithm>
#include <charconv>

namespace {

// The keywords of LM-63-2002; LM-63-2019 adds [FILEGENINFO].
constexpr std::array<std::string_view, 20> kLm63Of2002Keywords = {
    "TEST",         "TESTLAB",   "TESTDATE",     "NEARFIELD", "MANUFAC",
    "LUMCAT",       "LUMINAIRE", "LAMPCAT",      "LAMP",      "BALLAST",
    "BALLASTCAT",   "MAINTCAT",  "DISTRIBUTION", "FLASHAREA", "COLORCONSTANT",
    "LAMPPOSITION", "ISSUEDATE", "OTHER",        "SEARCH",    "MORE"};

// A keyword line with the [MORE] lines that continue it.
using KeywordGroup = std::vector<std::string>;

std::string_view WithoutLeadingBlanks(std::string_view line) {
  const size_t text = line.find_first_not_of(" \t");
  return text == std::string_view::npos ? std::string_view() : line.substr(text);
}

// "[" prefix name "]". (Built by appending: GCC 12 warns falsely about
// "[" + std::string(...).)
std::string Bracketed(std::string_view prefix, std::string_view name) {
  std::string keyword(1, '[');
  keyword.append(prefix).append(name).push_back(']');
  return keyword;
}

// The line as LM-63-2019 may hold it: a keyword it does not define becomes a
// user keyword, a line without a keyword an [OTHER] line.
std::string Translated(std::string_view line) {
  const std::string_view keyword = KeywordOf(line);
  if (keyword.empty()) return "[OTHER] " + std::string(line);
  const std::string_view name = keyword.substr(1, keyword.size() - 2);
  if (Lm63Of2019Defines(name) || name.starts_with('_')) return std::string(line);
  return Bracketed("_", name).append(line.substr(keyword.size()));
}

std::vector<KeywordGroup> GroupKeywords(const std::vector<std::string>& lines) {
  std::vector<KeywordGroup> groups;
  for (const std::string& whole : lines) {
    const std::string_view line = WithoutLeadingBlanks(whole);
    if (line.empty()) continue;
    if (KeywordOf(line) == "[MORE]" && !groups.empty()) {
      groups.back().emplace_back(line);
    } else {
      groups.push_back({Translated(line)});
    }
  }
  return groups;
}

// Whether a required keyword's group gives no text ("[TEST] "): then
// Lumistra's stands in for it.
bool IsEmpty(const KeywordGroup& group) {
  const std::string& line = group.front();
  return group.size() == 1 &&
         line.find_first_not_of(" \t", KeywordOf(line).size()) == std::string::npos;
}

// Where a long line is cut: at most kLm63MaxLineLength - `reserved` bytes,
// not inside a UTF-8 character.
size_t CutAt(std::string_view text, size_t reserved) {
  const size_t most = kLm63MaxLineLength - reserved;
  size_t end = most;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return end > 0 ? end : most;  // no character boundary: cut the bytes as they are
}

// Appends `line`, going on in [MORE] lines where it is too long.
void AppendWrapped(std::vector<std::string>& out, std::string_view line) {
  constexpr std::string_view kMore = "[MORE] ";
  size_t reserved = 0;
  while (line.size() + reserved > kLm63MaxLineLength) {
    const size_t cut = CutAt(line, reserved);
    out.push_back((reserved > 0 ? std::string(kMore) : std::string()) +
                  std::string(line.substr(0, cut)));
    line.remove_prefix(cut);
    reserved = kMore.size();
  }
  out.push_back((reserved > 0 ? std::string(kMore) : std::string()) + std::string(line));
}

// The type's value as the float a reader stores.
float ValueOf(std::string_view text) {
  float value = 0.0f;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace

bool Lm63Of2002Defines(std::string_view name) {
  return std::ranges::find(kLm63Of2002Keywords, name) != kLm63Of2002Keywords.end();
}

bool Lm63Of2019Defines(std::string_view name) {
  return name == "FILEGENINFO" || Lm63Of2002Defines(name);
}

std::string_view KeywordOf(std::string_view line) {
  if (line.empty() || line.front() != '[') return {};
  const size_t close = line.find(']');
  return close == std::string_view::npos ? std::string_view() : line.substr(0, close + 1);
}

std::vector<std::string> Lm63Of2019KeywordLines(const std::vector<std::string>& source,
                                                std::string_view date,
                                                std::string_view fileGenInfo) {
  const std::vector<KeywordGroup> groups = GroupKeywords(source);
  const auto keywordOf = [](const KeywordGroup& group) { return KeywordOf(group.front()); };
  std::vector<std::string> lines;
  const auto append = [&lines](const KeywordGroup& group) {
    for (const std::string& line : group) AppendWrapped(lines, line);
  };
  const std::string fallbackTest = "Lumistra " + std::string(date);
  const std::array<std::string_view, 4> fallbacks = {fallbackTest, "Lumistra", date, "Lumistra"};
  std::vector<const KeywordGroup*> written;
  for (size_t i = 0; i < kLm63Of2019RequiredKeywords.size(); ++i) {
    const std::string keyword = Bracketed("", kLm63Of2019RequiredKeywords[i]);
    const auto group = std::ranges::find_if(
        groups, [&](const KeywordGroup& g) { return keywordOf(g) == keyword; });
    if (group != groups.end()) written.push_back(&*group);
    if (group == groups.end() || IsEmpty(*group)) {
      AppendWrapped(lines, keyword + " " + std::string(fallbacks[i]));
    } else {
      append(*group);
    }
  }
  bool hasFileGenInfo = false;
  for (const KeywordGroup& group : groups) {
    hasFileGenInfo = hasFileGenInfo || keywordOf(group) == "[FILEGENINFO]";
    if (std::ranges::find(written, &group) == written.end()) append(group);
  }
  if (!hasFileGenInfo) AppendWrapped(lines, "[FILEGENINFO] " + std::string(fileGenInfo));
  return lines;
}

std::string_view Lm63Of2019FileGenerationType(const LightOrigin& origin) {
  constexpr std::string_view kSimulation = "1.00010";
  constexpr std::string_view kUndefined = "1.00001";
  if (origin.drawn) return kSimulation;
  if (!origin.sourceType) return kUndefined;
  // The laboratory types are 1.ABC00: A accredited, B interpolated angles,
  // C lumen scaled; the first eight entries of the list.
  for (size_t i = 0; i < 8; ++i) {
    const std::string_view type = kLm63Of2019FileGenerationTypes[i];
    if (ValueOf(type) != *origin.sourceType) continue;
    std::string digits(type);
    if (origin.resampled) digits[3] = '1';
    if (origin.scaled) digits[4] = '1';
    return *std::ranges::find(kLm63Of2019FileGenerationTypes, digits);
  }
  return ValueOf(kSimulation) == *origin.sourceType ? kSimulation : kUndefined;
}
