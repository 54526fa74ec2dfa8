// The LM-63 rules.
//
// Sections:
//   1. the version line and the keyword lines
//   2. the numbers after TILT=: tilt data, header, angles, candela values
#include "check/lm63_check.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "check/check_text.h"
#include "files/lm63_2019_keywords.h"

namespace {

// ---------------------------------------------------------------------------
// 1. The version line and the keyword lines.

struct Edition {
  std::string_view line;
  int year;
};

constexpr std::array<Edition, 4> kEditions = {{
    {"IESNA91", 1991},
    {"IESNA:LM-63-1995", 1995},
    {"IESNA:LM-63-2002", 2002},
    {"IES:LM-63-2019", 2019},
}};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Whether a first line tries to name an edition: "IESNA:LM-63-...",
// "IES:LM-63-..." or "IESNA" and two digits. Any other line is the free
// text that an LM-63-1986 file starts with.
bool TriesToNameAnEdition(std::string_view line) {
  return line.starts_with("IESNA:LM-63") || line.starts_with("IES:LM-63") ||
         (line.size() == 7 && line.starts_with("IESNA") && IsDigit(line[5]) && IsDigit(line[6]));
}

int ReadEdition(std::string_view first, Findings& findings) {
  const std::string_view trimmed = TrimBlanks(first);
  for (const Edition& edition : kEditions) {
    if (trimmed != edition.line) continue;
    if (trimmed.size() != first.size()) {
      findings.Warning("version-line",
                       "line 1 has blanks around " + std::string(trimmed) +
                           "; readers that compare the whole line miss the edition");
    }
    return edition.year;
  }
  if (TriesToNameAnEdition(trimmed)) {
    findings.Error("version-line",
                   "line 1 " + Quote(trimmed) +
                       " names no LM-63 edition (IESNA91, IESNA:LM-63-1995, IESNA:LM-63-2002 "
                       "or IES:LM-63-2019)");
  }
  return 1986;
}

std::string_view WithoutLeadingBlanks(std::string_view line) {
  const size_t text = line.find_first_not_of(" \t");
  return text == std::string_view::npos ? std::string_view() : line.substr(text);
}

bool Defines(int edition, std::string_view name) {
  return edition == 2019 ? Lm63Of2019Defines(name) : Lm63Of2002Defines(name);
}

// The keywords an edition requires: [TEST] since 1991, and since 2002 also
// the laboratory, the issue date and the manufacturer.
std::vector<std::string_view> RequiredKeywords(int edition) {
  if (edition >= 2002)
    return {kLm63Of2019RequiredKeywords.begin(), kLm63Of2019RequiredKeywords.end()};
  if (edition >= 1991) return {"TEST"};
  return {};
}

// Lines [first, tilt) of `lines` are the keyword lines.
void CheckKeywordLines(const std::vector<std::string_view>& lines, size_t first, size_t tilt,
                       int edition, Findings& findings) {
  if (edition == 1986) return;  // free text
  const std::string name = Lm63FormatName(edition);
  std::vector<std::string_view> seen, empty;
  for (size_t i = first; i < tilt; ++i) {
    const std::string_view line = lines[i];
    const std::string_view text = WithoutLeadingBlanks(line);
    if (text.empty()) {
      findings.AddRepeated(Severity::kWarning, "keyword-line",
                           [&] { return LineName(i + 1) + " is blank among the keyword lines"; });
      continue;
    }
    const std::string_view keyword = KeywordOf(text);
    if (keyword.empty()) {
      findings.AddRepeated(Severity::kError, "keyword-line", [&] {
        return LineName(i + 1) + " " + Quote(text) + " is no keyword line: " + name +
               " starts every line before TILT= with a [KEYWORD]";
      });
      continue;
    }
    if (text.size() != line.size()) {
      findings.AddRepeated(Severity::kWarning, "keyword-line", [&] {
        return LineName(i + 1) + " has blanks before " + std::string(keyword);
      });
    }
    const std::string_view bare = keyword.substr(1, keyword.size() - 2);
    if (bare == "MORE" && seen.empty()) {
      findings.Error("keyword-more", LineName(i + 1) + ": [MORE] continues no keyword");
    }
    if (edition >= 2002 && !bare.starts_with('_') && !Defines(edition, bare)) {
      findings.Error("keyword-undefined",
                     LineName(i + 1) + ": " + std::string(keyword) + " is no " + name +
                         " keyword; a user keyword starts with _ ([_" + std::string(bare) + "])");
    }
    seen.push_back(bare);
    if (TrimBlanks(text.substr(keyword.size())).empty()) empty.push_back(bare);
  }
  for (const std::string_view required : RequiredKeywords(edition)) {
    if (const auto at = std::find(empty.begin(), empty.end(), required); at != empty.end()) {
      findings.Warning("keyword-empty", "[" + std::string(required) + "] gives no text, though " +
                                            name + " requires it");
    }
    if (std::find(seen.begin(), seen.end(), required) == seen.end()) {
      findings.Error("keyword-required", "[" + std::string(required) + "] is missing: " + name +
                                             " requires it before TILT= (" + LineName(tilt + 1) +
                                             ")");
    }
  }
}

void CheckLineLengths(const std::vector<std::string_view>& lines, int edition, Findings& findings) {
  if (edition < 2002) return;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].size() <= kLm63MaxLineLength) continue;
    findings.AddRepeated(Severity::kError, "line-length", [&] {
      return LineName(i + 1) + " has " + std::to_string(lines[i].size()) + " characters; " +
             Lm63FormatName(edition) + " allows " + std::to_string(kLm63MaxLineLength);
    });
  }
}

// ---------------------------------------------------------------------------
// 2. The numbers after TILT=.

bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == ',';
}

std::vector<NumberToken> Tokens(const std::vector<std::string_view>& lines, size_t first) {
  std::vector<NumberToken> tokens;
  for (size_t i = first; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    while (!line.empty()) {
      size_t start = 0;
      while (start < line.size() && IsSeparator(line[start])) ++start;
      size_t end = start;
      while (end < line.size() && !IsSeparator(line[end])) ++end;
      if (end > start) tokens.push_back({line.substr(start, end - start), i + 1});
      line.remove_prefix(end);
    }
  }
  return tokens;
}

bool IsWhole(double value) {
  return value == std::trunc(value);
}

// The numbers in file order; a fault (the end, or a word where a number
// should be) is reported once and ends the reading.
class NumberStream {
 public:
  NumberStream(const std::vector<NumberToken>& tokens, size_t lastLine, Lm63Facts& facts,
               Findings& findings)
      : tokens_(tokens), lastLine_(lastLine), facts_(facts), findings_(findings) {}

  // The next number; `what` names it for a message ("the photometric type").
  bool Next(const std::function<std::string()>& what, double& value) {
    if (next_ == tokens_.size()) {
      findings_.Error("counts", "the file ends at " + LineName(lastLine_) + " before " + what());
      return false;
    }
    const NumberToken& token = tokens_[next_++];
    if (!ParseNumber(token.text, value)) {
      findings_.Error("number", LineName(token.line) + " has " + Quote(token.text) + " where " +
                                    what() + " should be");
      return false;
    }
    if (!facts_.firstExponentForm && token.text.find_first_of("eE") != std::string_view::npos) {
      facts_.firstExponentForm = token;
    }
    return true;
  }

  bool Next(std::string_view what, double& value) {
    return Next([what] { return std::string(what); }, value);
  }

  // `count` numbers into `values`.
  bool List(size_t count, std::string_view what, std::vector<double>& values) {
    values.resize(count);
    for (size_t i = 0; i < count; ++i) {
      const auto name = [&] {
        return std::string(what) + " " + std::to_string(i + 1) + " of " + std::to_string(count);
      };
      if (!Next(name, values[i])) return false;
    }
    return true;
  }

  const NumberToken& Last() const { return tokens_[next_ - 1]; }
  size_t Left() const { return tokens_.size() - next_; }
  const NumberToken* Peek() const { return next_ < tokens_.size() ? &tokens_[next_] : nullptr; }

 private:
  const std::vector<NumberToken>& tokens_;
  size_t next_ = 0;
  size_t lastLine_;
  Lm63Facts& facts_;
  Findings& findings_;
};

// TILT=INCLUDE: the lamp-to-luminaire geometry, the number of pairs, the
// angles and the multiplying factors.
bool CheckTiltData(NumberStream& numbers, Findings& findings) {
  double geometry = 0.0, pairs = 0.0;
  if (!numbers.Next("the tilt data's lamp-to-luminaire geometry", geometry)) return false;
  if (geometry != 1.0 && geometry != 2.0 && geometry != 3.0) {
    findings.Error("tilt", LineName(numbers.Last().line) +
                               " gives the lamp-to-luminaire geometry " + NumberText(geometry) +
                               ", not 1, 2 or 3");
  }
  if (!numbers.Next("the number of tilt angles", pairs)) return false;
  if (!(pairs >= 1.0 && IsWhole(pairs)) || pairs > static_cast<double>(numbers.Left())) {
    findings.Error("tilt", LineName(numbers.Last().line) + " gives " + NumberText(pairs) +
                               " tilt angles, not a whole number the numbers after it can hold");
    return false;
  }
  std::vector<double> values;
  const size_t count = static_cast<size_t>(pairs);
  return numbers.List(count, "tilt angle", values) && numbers.List(count, "tilt factor", values);
}

// The header's thirteen numbers, by their place.
enum HeaderPlace {
  kLamps,
  kLumens,
  kMultiplier,
  kVerticalCount,
  kHorizontalCount,
  kPhotometricType,
  kUnits,
  kWidth,
  kLength,
  kHeight,
  kBallast,
  kFileGeneration,
  kWatts,
  kHeaderSize
};

std::array<std::string_view, kHeaderSize> HeaderNames(int edition) {
  return {"the number of lamps",
          "the lumens per lamp",
          "the candela multiplier",
          "the number of vertical angles",
          "the number of horizontal angles",
          "the photometric type",
          "the units type",
          "the width",
          "the length",
          "the height",
          "the ballast factor",
          edition == 2019 ? "the file-generation type" : "the ballast-lamp photometric factor",
          "the input watts"};
}

void CheckHeaderValues(const std::array<double, kHeaderSize>& h,
                       const std::array<size_t, kHeaderSize>& line, int edition,
                       Findings& findings) {
  const auto at = [&](HeaderPlace place) { return LineName(line[place]) + " gives "; };
  if (!(h[kLamps] >= 1.0 && IsWhole(h[kLamps]))) {
    findings.Error("lamp-count",
                   at(kLamps) + NumberText(h[kLamps]) + " lamps, not a whole number from 1");
  }
  if (!(h[kLumens] > 0.0 || h[kLumens] == -1.0)) {
    findings.Error("lumens", at(kLumens) + NumberText(h[kLumens]) +
                                 " lumens per lamp, neither positive nor -1 (absolute photometry)");
  }
  if (!(h[kMultiplier] > 0.0)) {
    findings.Error("multiplier", at(kMultiplier) + "the candela multiplier " +
                                     NumberText(h[kMultiplier]) + ", not a positive number");
  }
  const double type = h[kPhotometricType];
  if (type != 1.0 && type != 2.0 && type != 3.0) {
    findings.Error("photometric-type", at(kPhotometricType) + "the photometric type " +
                                           NumberText(type) + ", not 1 (C), 2 (B) or 3 (A)");
  }
  if (h[kUnits] != 1.0 && h[kUnits] != 2.0) {
    findings.Error("units", at(kUnits) + "the units type " + NumberText(h[kUnits]) +
                                ", not 1 (feet) or 2 (metres)");
  }
  for (const HeaderPlace place : {kBallast, kFileGeneration}) {
    if (place == kFileGeneration && edition == 2019) continue;  // one of ten types
    if (!(h[place] > 0.0)) {
      findings.Error("ballast-factor",
                     at(place) + "the factor " + NumberText(h[place]) + ", not a positive number");
    }
  }
}

bool IsFileGenerationType(double value) {
  for (const std::string_view type : kLm63Of2019FileGenerationTypes) {
    double known = 0.0;
    if (ParseNumber(type, known) && known == value) return true;
  }
  return false;
}

// The first place where `angles` do not ascend, or nothing.
std::optional<size_t> NotAscendingAt(const std::vector<double>& angles) {
  for (size_t i = 1; i < angles.size(); ++i) {
    if (!(angles[i] > angles[i - 1])) return i;
  }
  return std::nullopt;
}

bool OneOf(double value, std::initializer_list<double> allowed) {
  return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
}

// The first and last angles each photometric type allows, and for type C
// the horizontal angles that give a symmetry: 0 alone, 0 to 90, 0 to 180,
// 90 to 270, or 0 to 360 (the editions before 2002 end anywhere above 180).
void CheckAngleRanges(int type, int edition, const std::vector<double>& vertical,
                      const std::vector<double>& horizontal, size_t verticalLine,
                      size_t horizontalLine, Findings& findings) {
  const double v0 = vertical.front(), v1 = vertical.back();
  const double h0 = horizontal.front(), h1 = horizontal.back();
  const auto range = [](double a, double b) { return NumberText(a) + " to " + NumberText(b); };
  if (type == 1 ? !(OneOf(v0, {0, 90}) && OneOf(v1, {90, 180}))
                : !(OneOf(v0, {-90, 0}) && v1 == 90.0)) {
    findings.Error("vertical-range", LineName(verticalLine) + ": the vertical angles run from " +
                                         range(v0, v1) +
                                         (type == 1 ? "; type C needs 0 or 90 to 90 or 180"
                                                    : "; types A and B need -90 or 0 to 90"));
  }
  if (type != 1) {
    if (!(OneOf(h0, {-90, 0}) && h1 == 90.0)) {
      findings.Error("horizontal-range", LineName(horizontalLine) +
                                             ": the horizontal angles run from " + range(h0, h1) +
                                             "; types A and B need -90 or 0 to 90");
    }
    return;
  }
  const bool fullCircle = edition >= 2002 ? h1 == 360.0 : h1 > 180.0 && h1 <= 360.0;
  const bool symmetric =
      (h0 == 0.0 && (OneOf(h1, {0, 90, 180}) || fullCircle)) || (h0 == 90.0 && h1 == 270.0);
  if (!symmetric) {
    findings.Error("horizontal-range", LineName(horizontalLine) +
                                           ": the horizontal angles run from " + range(h0, h1) +
                                           ", which gives no symmetry (0, 0 to 90, 0 to 180, " +
                                           "90 to 270 or 0 to 360)");
  }
}

void CheckAscending(const std::vector<double>& angles, std::string_view which, size_t line,
                    Findings& findings) {
  if (const std::optional<size_t> at = NotAscendingAt(angles)) {
    findings.Error("angles-ascending", LineName(line) + ": the " + std::string(which) + " angle " +
                                           NumberText(angles[*at]) + " follows " +
                                           NumberText(angles[*at - 1]) +
                                           "; the angles must ascend");
  }
}

// What follows the candela values: nothing, or END alone.
void CheckAfterTable(NumberStream& numbers, Lm63Facts& facts, Findings& findings) {
  const NumberToken* next = numbers.Peek();
  if (next == nullptr || (numbers.Left() == 1 && next->text == "END")) return;
  facts.textAfterTable = *next;
  double value = 0.0;
  if (ParseNumber(next->text, value)) {
    findings.Warning("counts", LineName(next->line) + " holds " + std::to_string(numbers.Left()) +
                                   " numbers more than the counts ask for");
  }
}

void CheckNumbers(const std::vector<NumberToken>& tokens, size_t lastLine, Lm63Facts& facts,
                  Findings& findings) {
  NumberStream numbers(tokens, lastLine, facts, findings);
  if (facts.tilt == "INCLUDE" && !CheckTiltData(numbers, findings)) return;

  std::array<double, kHeaderSize> header{};
  std::array<size_t, kHeaderSize> lines{};
  const std::array<std::string_view, kHeaderSize> names = HeaderNames(facts.edition);
  for (size_t i = 0; i < kHeaderSize; ++i) {
    if (!numbers.Next(names[i], header[i])) return;
    lines[i] = numbers.Last().line;
    if (i == kFileGeneration) facts.fileGenerationText = numbers.Last().text;
  }
  CheckHeaderValues(header, lines, facts.edition, findings);
  facts.photometricType = header[kPhotometricType];
  if (facts.edition == 2019) {
    facts.fileGenerationType = header[kFileGeneration];
    if (!IsFileGenerationType(header[kFileGeneration])) {
      findings.Error("file-generation-type", LineName(lines[kFileGeneration]) +
                                                 " gives the file-generation type " +
                                                 std::string(facts.fileGenerationText) +
                                                 ", none of the ten LM-63-2019 defines");
    }
  }

  const double nv = header[kVerticalCount], nh = header[kHorizontalCount];
  const double left = static_cast<double>(numbers.Left());
  if (!(nv >= 1.0 && nh >= 1.0 && IsWhole(nv) && IsWhole(nh)) || nv + nh + nv * nh > left) {
    findings.Error("counts", LineName(lines[kVerticalCount]) + " asks for " + NumberText(nv) +
                                 " vertical and " + NumberText(nh) +
                                 " horizontal angles and a candela value for each pair; "
                                 "the file holds " +
                                 NumberText(left) + " numbers after its header");
    return;
  }
  std::vector<double> vertical, horizontal;
  if (!numbers.List(static_cast<size_t>(nv), "vertical angle", vertical)) return;
  const size_t verticalLine = numbers.Last().line;
  if (!numbers.List(static_cast<size_t>(nh), "horizontal angle", horizontal)) return;
  const size_t horizontalLine = numbers.Last().line;
  CheckAscending(vertical, "vertical", verticalLine, findings);
  CheckAscending(horizontal, "horizontal", horizontalLine, findings);
  const double type = header[kPhotometricType];
  if (!NotAscendingAt(vertical) && !NotAscendingAt(horizontal) && OneOf(type, {1, 2, 3})) {
    CheckAngleRanges(static_cast<int>(type), facts.edition, vertical, horizontal, verticalLine,
                     horizontalLine, findings);
  }

  const size_t values = static_cast<size_t>(nv) * static_cast<size_t>(nh);
  for (size_t i = 0; i < values; ++i) {
    double candela = 0.0;
    if (!numbers.Next([&] { return "candela value " + std::to_string(i + 1); }, candela)) return;
    if (candela < 0.0) {
      findings.AddRepeated(Severity::kError, "negative-intensity", [&] {
        return LineName(numbers.Last().line) + " gives the candela value " +
               std::string(numbers.Last().text);
      });
    }
  }
  CheckAfterTable(numbers, facts, findings);
}

}  // namespace

std::string Lm63FormatName(int edition) {
  return "LM-63-" + std::to_string(edition);
}

Lm63Facts CheckLm63Text(std::string_view bytes, Findings& findings) {
  Lm63Facts facts;
  const std::vector<std::string_view> lines = SplitLines(bytes);
  size_t tilt = 0;
  while (tilt < lines.size() && !lines[tilt].starts_with("TILT=")) ++tilt;
  facts.edition = lines.empty() ? 1986 : ReadEdition(lines.front(), findings);
  if (tilt == lines.size()) {
    findings.Error("tilt", "no line starts with TILT=, which ends the keyword lines");
    return facts;
  }
  CheckKeywordLines(lines, facts.edition == 1986 ? 0 : 1, tilt, facts.edition, findings);
  CheckLineLengths(lines, facts.edition, findings);
  facts.tilt = std::string(TrimBlanks(lines[tilt].substr(5)));
  if (facts.tilt.empty()) {
    findings.Error("tilt", LineName(tilt + 1) + ": TILT= names neither NONE, INCLUDE nor a file");
  }
  CheckNumbers(Tokens(lines, tilt + 1), lines.size(), facts, findings);
  return facts;
}
