#include "app/document.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <charconv>
#include <utility>

#include "files/editor_curve.h"
#include "files/eulumdat.h"
#include "files/ies_2019.h"
#include "files/ies_format.h"
#include "measure/lamp_numbers.h"

namespace {

constexpr const char* kDegree = "\xC2\xB0";  // U+00B0 DEGREE SIGN

// The bracketed name a keyword line starts with ("[TEST]"), or empty.
std::string_view KeywordOf(std::string_view line) {
  if (line.empty() || line.front() != '[') return {};
  const size_t close = line.find(']');
  return close == std::string_view::npos ? std::string_view() : line.substr(0, close + 1);
}

// The keywords that claim a measurement: true of the file as it was
// measured, not of a light the user has changed.
bool ClaimsMeasurement(std::string_view keyword) {
  constexpr std::array<std::string_view, 9> kClaims = {
      "[TEST]",     "[TESTLAB]",     "[TESTDATE]",        "[ISSUEDATE]",     "[DATE]",
      "[NEARFIELD]", "[FILEGENINFO]", "[_ABSOLUTELUMENS]", "[ABSOLUTELUMENS]"};
  return std::find(kClaims.begin(), kClaims.end(), keyword) != kClaims.end();
}

// The keyword lines without the measurement's claims (and the [MORE] lines
// that continue them).
std::vector<std::string> NamesOnly(const std::vector<std::string>& lines) {
  std::vector<std::string> kept;
  bool dropping = false;
  for (const std::string& line : lines) {
    const std::string_view keyword = KeywordOf(line);
    if (keyword != "[MORE]") dropping = ClaimsMeasurement(keyword);
    if (!dropping) kept.push_back(line);
  }
  return kept;
}

// The keywords an EULUMDAT file has a line for.
bool EulumdatHolds(std::string_view keyword) {
  return keyword == "[MANUFAC]" || keyword == "[TEST]" || keyword == "[LUMINAIRE]" ||
         keyword == "[LUMCAT]" || keyword == "[LAMP]";
}

// "a, b and c".
std::string Listed(const std::vector<std::string>& items) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? " and " : ", ";
    text += items[i];
  }
  return text;
}

// What `header` says that a file of `format` has no place for.
std::vector<std::string> Losses(const Photometry& header, SaveFormat format) {
  std::vector<std::string> lost;
  if (format == SaveFormat::kEulumdat) {
    std::vector<std::string> keywords;
    for (const std::string& line : header.keywords) {
      const std::string keyword(KeywordOf(line));
      const std::string name = keyword.empty() ? std::string("free text") : keyword;
      if (!EulumdatHolds(keyword) && std::find(keywords.begin(), keywords.end(), name) == keywords.end()) {
        keywords.push_back(name);
      }
    }
    if (!keywords.empty()) lost.push_back("the lines " + Listed(keywords));
    if (header.ballastFactor != 1.0f) lost.push_back("the ballast factor");
    return lost;
  }
  if (!header.eulumdat) return lost;
  const EulumdatFields& ldt = *header.eulumdat;
  if (std::any_of(ldt.directRatios.begin(), ldt.directRatios.end(), [](double r) { return r != 0.0; })) {
    lost.push_back("the direct ratios");
  }
  if (ldt.sizes[0] != 0.0 || ldt.sizes[1] != 0.0 || ldt.sizes[2] != 0.0) {
    lost.push_back("the luminaire's own size");
  }
  if (ldt.lampSets.size() > 1) lost.push_back("the lamp sets apart (they are written as one)");
  if (std::any_of(ldt.lampSets.begin(), ldt.lampSets.end(), [](const EulumdatLampSet& set) {
        return !set.colour.empty() || !set.colourRendering.empty();
      })) {
    lost.push_back("the lamps' colour and colour rendering");
  }
  if (ldt.tilt != 0.0) lost.push_back("the tilt during measurement");
  return lost;
}

// An LM-63 file in the first version's own layout: no version, no keywords.
bool InOwnLayout(const Photometry& table) {
  return (table.identification.empty() || table.identification == "IESNA:") &&
         table.keywords.empty();
}

// Whether the lamp holds the table's own angles: 0 to 180 in whole degrees
// and its horizontal angles, so nothing of it was interpolated.
bool KeepsTheAngles(const Photometry& table, const Lamp& lamp) {
  if (table.verticalAngles.size() != kCurveSampleCount || table.horizontalAngles != lamp.planeAngles) {
    return false;
  }
  for (size_t i = 0; i < kCurveSampleCount; ++i) {
    if (table.verticalAngles[i] != static_cast<float>(i)) return false;
  }
  return true;
}

// The lamp's C-angles round the circle in 0 <= C < 180: the listed planes
// and their mirror images by the symmetry.
std::vector<double> SectionAngles(const Lamp& lamp) {
  std::vector<double> angles;
  for (const float a : lamp.planeAngles) {
    for (const double c : {double{a}, 180.0 - a, 180.0 + a, 360.0 - a}) {
      const double wrapped = std::fmod(c + 360.0, 360.0);
      const double half = wrapped >= 180.0 ? wrapped - 180.0 : wrapped;
      // Only angles whose planes the lamp lists, after its symmetry folds them.
      if (!PlanesAt(lamp, half).empty()) angles.push_back(half);
    }
  }
  std::sort(angles.begin(), angles.end());
  angles.erase(std::unique(angles.begin(), angles.end()), angles.end());
  if (angles.empty()) angles.push_back(0.0);
  return angles;
}

// An angle as the status bar writes it, in every locale: "30°", "22.5°".
void AppendAngle(std::string& out, double angle) {
  char text[32];
  const auto [end, error] = std::to_chars(text, text + sizeof text, angle, std::chars_format::general, 6);
  if (error == std::errc()) out.append(text, end);
  out += kDegree;
}

}  // namespace

void Document::Open(std::string path, PhotometricFile file) {
  lamp_ = LampOfTable(file.table);
  sectionC_ = 0.0;
  turned_ = false;
  const bool resampled = !KeepsTheAngles(file.table, lamp_);
  saveFormat_ = file.format == FileFormat::kEulumdat ? SaveFormat::kEulumdat
                : InOwnLayout(file.table)              ? SaveFormat::kIes
                                                       : SaveFormat::kIes2019;
  // The header is all a save needs of the table; the lamp holds the light.
  file.table.candela.clear();
  file.table.candela.shrink_to_fit();
  file.table.verticalAngles.clear();
  source_ = Source{std::move(path), file.format, std::move(file.table), lamp_, resampled};
  namesCarried_ = true;
  scaled_.reset();
  toldFormats_ = 0;
}

void Document::StartNew(const Lamp& lamp) {
  lamp_ = lamp;
  sectionC_ = 0.0;
  turned_ = false;
  namesCarried_ = false;
  saveFormat_ = SaveFormat::kIes;
}

void Document::Scale(const Lamp& scaled) {
  const bool sources = LightIsTheSources();
  lamp_ = scaled;
  if (sources) scaled_ = scaled;
}

bool Document::LightIsTheSources() const {
  return source_ && (lamp_ == source_->opened || (scaled_ && lamp_ == *scaled_));
}

LightOrigin Document::Origin() const {
  LightOrigin origin;
  if (!LightIsTheSources()) {
    origin.drawn = true;
    return origin;
  }
  if (source_->table.identification.find("LM-63-2019") != std::string::npos) {
    origin.sourceType = source_->table.fileGenerationType;
  }
  origin.resampled = source_->resampled;
  origin.scaled = lamp_ != source_->opened;
  return origin;
}

Photometry Document::Carried() const {
  if (!source_) return Photometry{};
  if (LightIsTheSources()) return source_->table;
  if (!namesCarried_) return Photometry{};
  Photometry header = source_->table;
  header.keywords = NamesOnly(header.keywords);
  header.fileGenerationType = 1.0f;
  if (header.eulumdat) {
    header.eulumdat->directRatios = {};
    header.eulumdat->dateUser.clear();
  }
  return header;
}

void Document::TurnSection(int step) {
  if (lamp_.planes.size() == 1) {
    // Four copies of the one plane, no symmetry: each section its own.
    const Curve plane = lamp_.planes.front();
    lamp_.symmetry = Symmetry::kNone;
    lamp_.planeAngles = {0.0f, 90.0f, 180.0f, 270.0f};
    lamp_.planes.assign(4, plane);
  }
  turned_ = true;
  const std::vector<double> angles = SectionAngles(lamp_);
  size_t at = 0;
  while (at < angles.size() && angles[at] < sectionC_) ++at;
  const size_t n = angles.size();
  if (step > 0) {
    sectionC_ = angles[(at < n && angles[at] == sectionC_ ? at + 1 : at) % n];
  } else {
    sectionC_ = angles[(at + n - 1) % n];
  }
}

std::optional<Curve> Document::LeftCurve() const {
  if (!BySections()) return std::nullopt;
  const std::vector<size_t> right = PlanesAt(lamp_, sectionC_);
  const std::vector<size_t> left = PlanesAt(lamp_, sectionC_ + 180.0);
  if (left == right) return std::nullopt;  // the symmetry ties the halves
  return CurveAt(lamp_, sectionC_ + 180.0);
}

void Document::ShowSection(Curve& right, std::optional<Curve>& left) const {
  right = EditedCurve();
  left = LeftCurve();
}

void Document::TakeEditedCurve(const Curve& curve, const std::optional<Curve>& left) {
  if (!BySections()) {
    for (Curve& plane : lamp_.planes) plane = curve;
    return;
  }
  for (const size_t plane : PlanesAt(lamp_, sectionC_)) lamp_.planes[plane] = curve;
  if (!left) return;
  for (const size_t plane : PlanesAt(lamp_, sectionC_ + 180.0)) lamp_.planes[plane] = *left;
}

std::string Document::PlaneNote() const {
  if (lamp_.planes.size() < 2) return {};
  std::string note(FileNameOf(sourcePath()));
  if (!note.empty()) note += ": ";
  note += std::to_string(lamp_.planes.size()) + " planes";
  note += BySections() ? "; editing the " + SectionText() : ", all alike: drawn as one curve";
  return note;
}

std::string Document::SectionText() const {
  std::string text;
  AppendSectionText(text);
  return text;
}

void Document::AppendSectionText(std::string& out) const {
  if (!BySections()) return;
  out += "section C ";
  AppendAngle(out, sectionC_);
  out += " | ";
  AppendAngle(out, sectionC_ + 180.0);
}

std::string Document::NotWritten(SaveFormat format) {
  const unsigned bit = 1u << static_cast<unsigned>(format);
  if ((toldFormats_ & bit) != 0) return {};
  toldFormats_ |= bit;
  const std::vector<std::string> lost = Losses(Carried(), format);
  if (lost.empty()) return {};
  return "The file will not hold " + Listed(lost) + ": its format has no place for them.";
}

std::string Document::Bytes(SaveFormat format, std::string_view path) const {
  // A lamp whose planes are all equal is written as one plane.
  const Lamp lamp = lamp_.Simplified();
  const Photometry header = Carried();
  switch (format) {
    case SaveFormat::kIes2019:
      return WriteIes2019Text(lamp, header, TodayUtc(), {Origin(), MeasureLamp(lamp).fluxLm});
    case SaveFormat::kEulumdat: {
      const EulumdatFlux light{MeasureLamp(lamp).fluxLm, DownwardFluxPercent(lamp)};
      return WriteEulumdatText(lamp, header, {std::string(FileNameOf(path)), TodayUtc()}, light);
    }
    case SaveFormat::kIes:
      break;
  }
  // Relative photometry holds while the light is no more than the rated
  // lamps give; beyond it the file says absolute photometry.
  Photometry written = header;
  const double rated = static_cast<double>(written.lampCount) * written.lumensPerLamp;
  if (written.lumensPerLamp > 0.0f && rated < MeasureLamp(lamp).fluxLm) written.lumensPerLamp = -1.0f;
  return WriteIesText(lamp, written);
}
