// The EULUMDAT reader and writer.
//
// Sections:
//   1. lines and numbers
//   2. the reader: header, lamp sets, angles, intensities, planes by symmetry
//   3. the writer
#include "files/eulumdat.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <vector>


namespace {

// ---------------------------------------------------------------------------
// 1. Lines and numbers.

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// A number as the format's writers put it: optional sign, digits with a
// full stop or a comma as the decimal point, an optional exponent. Never the
// locale's reading, and nothing else on the line.
bool ParseNumber(std::string_view text, double& value) {
  std::string digits(Trimmed(text));
  if (!digits.empty() && digits.front() == '+') digits.erase(0, 1);
  if (digits.find('.') == std::string::npos) {
    const size_t comma = digits.find(',');
    if (comma != std::string::npos) digits[comma] = '.';
  }
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, value);
  return !digits.empty() && error == std::errc() && stop == end && std::isfinite(value);
}

// An angle for a message, as short as its float allows: 97.5, 82.7.
std::string AngleText(double angle) {
  char text[32];
  const std::to_chars_result end = std::to_chars(text, text + sizeof text, static_cast<float>(angle));
  return std::string(text, end.ptr);
}

// The file's lines, taken in order; each read names its line in a failure.
class LineReader {
 public:
  explicit LineReader(std::string_view bytes) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
      bytes.remove_prefix(kByteOrderMark.size());
    }
    while (!bytes.empty()) {
      const size_t end = bytes.find('\n');
      lines_.push_back(bytes.substr(0, end));
      bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    }
  }

  // The next line without its line end and outer blanks.
  bool Text(const char* what, std::string& text) {
    if (next_ >= lines_.size()) {
      error = "it ends after line " + std::to_string(lines_.size()) + ", where line " +
              std::to_string(next_ + 1) + " should hold " + what + ".";
      return false;
    }
    text = Trimmed(lines_[next_++]);
    return true;
  }

  bool Number(const char* what, double& value) {
    std::string text;
    if (!Text(what, text)) return false;
    if (!ParseNumber(text, value)) {
      Fail(text, what);
      return false;
    }
    return true;
  }

  bool Number(const char* what, float& value) {
    double wide = 0.0;
    if (!Number(what, wide)) return false;
    if (!(std::fabs(wide) <= static_cast<double>(FLT_MAX))) {
      Fail(LastText(), what);
      return false;
    }
    value = static_cast<float>(wide);
    return true;
  }

  // A whole number from `least` to `most`.
  bool Count(const char* what, int least, int most, int& count) {
    double value = 0.0;
    if (!Number(what, value)) return false;
    if (!(value >= least && value <= most) || value != std::trunc(value)) {
      error = "line " + std::to_string(next_) + " gives " + what + " as " + LastText() +
              ", not a whole number from " + std::to_string(least) + " to " +
              std::to_string(most) + ".";
      return false;
    }
    count = static_cast<int>(value);
    return true;
  }

  // The number of the line read last, from 1.
  size_t LastLine() const { return next_; }

  // The line read last, shortened for a message.
  std::string LastText() const {
    std::string text(Trimmed(lines_[next_ - 1]).substr(0, 24));
    for (char& c : text) {
      if (c < 0x20 || c > 0x7E) c = '?';
    }
    return text;
  }

  std::string error;

 private:
  void Fail(const std::string& text, const char* what) {
    error = "line " + std::to_string(next_) +
            (text.empty() ? std::string(" is empty") : " has \"" + LastText() + "\"") +
            " where " + what + " should be.";
  }

  std::vector<std::string_view> lines_;
  size_t next_ = 0;
};

// ---------------------------------------------------------------------------
// 2. The reader.

// Counts beyond these are no real photometry: a plane every 0.1 degrees, a
// gamma angle every 0.1 degrees, twenty lamp sets as the format allows.
constexpr int kMaxPlanes = 3600;
constexpr int kMaxGammaAngles = 1801;
constexpr int kMaxLampSets = 20;

struct Header {
  int symmetry = 0;
  int planeCount = 0;  // Mc
  int gammaCount = 0;  // Ng
};

// How many planes the file stores for its symmetry.
size_t StoredPlaneCount(const Header& header) {
  const size_t mc = static_cast<size_t>(header.planeCount);
  switch (header.symmetry) {
    case 0: return mc;
    case 1: return 1;
    case 2: case 3: return mc / 2 + 1;
    default: return mc / 4 + 1;
  }
}

// The stored plane that gives each C angle under Isym 3. The planes from
// C 270 through 0 to C 90 are stored, the first at the C angle index 3 Mc / 4;
// any other C takes the plane at its mirror angle 180 - C, found by angle,
// because the C angles need not be evenly spaced. False, naming the line,
// when a mirror angle is not among the stored ones.
bool Isym3StoredPlanes(const std::vector<float>& angles, size_t firstLine,
                       std::vector<size_t>& storedPlane, std::string& error) {
  // Angles are written with a few decimals; 180 - C of a float is within
  // this of the float the file gives for it.
  constexpr double kSameAngle = 1e-3;
  const size_t mc = angles.size();
  storedPlane.resize(mc);
  for (size_t j = 0; j < mc; ++j) {
    size_t source = j;
    if (j > mc / 4 && j < 3 * mc / 4) {
      double mirror = 180.0 - static_cast<double>(angles[j]);
      if (mirror < 0.0) mirror += 360.0;
      const auto found = std::lower_bound(angles.begin(), angles.end(), mirror - kSameAngle,
                                          [](float a, double b) { return static_cast<double>(a) < b; });
      if (found == angles.end() || !(static_cast<double>(*found) <= mirror + kSameAngle)) {
        error = "line " + std::to_string(firstLine + j) + " gives the C angle " +
                AngleText(angles[j]) + ", whose mirror angle " + AngleText(mirror) +
                " the file does not list for symmetry indicator 3.";
        return false;
      }
      source = static_cast<size_t>(found - angles.begin());
    }
    storedPlane[j] = (source + mc / 4) % mc;
  }
  return true;
}

// The C angles that the symmetries rely on stand where they must: 0 first,
// ascending below 360, and 90, 180 and 270 at the quarter places.
bool CheckPlaneAngles(const Header& header, const std::vector<float>& angles, size_t firstLine,
                      std::string& error) {
  if (header.symmetry == 1) return true;  // one plane: the list says nothing
  const size_t mc = angles.size();
  for (size_t j = 0; j < mc; ++j) {
    const bool ascending = j == 0 ? angles[0] == 0.0f : angles[j] > angles[j - 1];
    if (!ascending || !(angles[j] < 360.0f)) {
      error = "line " + std::to_string(firstLine + j) +
              " breaks the C angles' order (0 first, ascending, below 360).";
      return false;
    }
  }
  const auto expect = [&](size_t j, float angle) {
    if (angles[j] == angle) return true;
    error = "line " + std::to_string(firstLine + j) + " should hold the C angle " +
            std::to_string(static_cast<int>(angle)) + " for symmetry indicator " +
            std::to_string(header.symmetry) + ".";
    return false;
  };
  if (header.symmetry == 2 || header.symmetry == 3) {
    if (!expect(mc / 2, 180.0f)) return false;
  }
  if (header.symmetry >= 3) {
    if (!expect(mc / 4, 90.0f)) return false;
  }
  return header.symmetry != 3 || expect(3 * mc / 4, 270.0f);
}

bool CheckGammaAngles(const std::vector<float>& angles, size_t firstLine, std::string& error) {
  for (size_t i = 0; i < angles.size(); ++i) {
    if (!(angles[i] >= 0.0f && angles[i] <= 180.0f) || (i > 0 && angles[i] <= angles[i - 1])) {
      error = "line " + std::to_string(firstLine + i) +
              " breaks the gamma angles' order (strictly ascending from 0 to 180).";
      return false;
    }
  }
  return true;
}

// Fills `out.horizontalAngles` and `out.candela` from the stored planes;
// `isym3Planes` gives the stored plane of each C angle under Isym 3.
void ExpandPlanes(const Header& header, const std::vector<float>& planeAngles,
                  const std::vector<size_t>& isym3Planes, const std::vector<float>& stored,
                  Photometry& out) {
  const size_t mc = planeAngles.size();
  const size_t ng = static_cast<size_t>(header.gammaCount);
  const auto add = [&](float angle, size_t storedPlane) {
    out.horizontalAngles.push_back(angle);
    const auto first = stored.begin() + static_cast<std::ptrdiff_t>(storedPlane * ng);
    out.candela.insert(out.candela.end(), first, first + static_cast<std::ptrdiff_t>(ng));
  };
  switch (header.symmetry) {
    case 1:
      add(0.0f, 0);
      return;
    case 2: case 4:
      for (size_t j = 0; j < StoredPlaneCount(header); ++j) add(planeAngles[j], j);
      return;
    case 0:
      for (size_t j = 0; j < mc; ++j) add(planeAngles[j], j);
      add(360.0f, 0);
      return;
    default:
      for (size_t j = 0; j < mc; ++j) add(planeAngles[j], isym3Planes[j]);
      add(360.0f, isym3Planes[0]);
      return;
  }
}

void AddKeyword(Photometry& out, const char* keyword, const std::string& text) {
  if (!text.empty()) out.keywords.push_back(std::string(keyword) + " " + text);
}

bool ReadFile(LineReader& in, Photometry& out) {
  Header header;
  std::string company, report, name, number, unusedText;
  EulumdatFields fields;
  double unused = 0.0;
  if (!in.Text("the company", company) ||
      !in.Count("the type indicator", -9, 9, fields.typeIndicator) ||
      !in.Count("the symmetry indicator", 0, 4, header.symmetry) ||
      !in.Count("the number of C-planes", 1, kMaxPlanes, header.planeCount) ||
      !in.Number("the distance between C-planes", unused) ||
      !in.Count("the number of gamma angles", 1, kMaxGammaAngles, header.gammaCount) ||
      !in.Number("the distance between gamma angles", unused) ||
      !in.Text("the measurement report number", report) ||
      !in.Text("the luminaire name", name) || !in.Text("the luminaire number", number) ||
      !in.Text("the file name", unusedText) || !in.Text("the date", fields.dateUser)) {
    return false;
  }
  const int evenBy = header.symmetry == 2 ? 2 : header.symmetry >= 3 ? 4 : 1;
  if (header.planeCount % evenBy != 0) {
    in.error = "its number of C-planes (line 4) is not a multiple of " + std::to_string(evenBy) +
               ", as symmetry indicator " + std::to_string(header.symmetry) + " needs.";
    return false;
  }
  for (double& size : fields.sizes) {
    if (!in.Number("a size in mm", size)) return false;
  }
  // The downward flux fraction and the light output ratio follow from the
  // intensities: read to check them, not kept.
  for (int line = 22; line <= 23; ++line) {
    if (!in.Number("a percentage", unused)) return false;
  }
  double conversion = 0.0;
  int lampSets = 0;
  if (!in.Number("the conversion factor", conversion)) return false;
  if (!(conversion > 0.0)) {
    in.error = "line " + std::to_string(in.LastLine()) + " gives the conversion factor as " +
               in.LastText() + ", not a number above 0.";
    return false;
  }
  if (!in.Number("the tilt", fields.tilt) ||
      !in.Count("the number of lamp sets", 1, kMaxLampSets, lampSets)) {
    return false;
  }
  double totalFlux = 0.0, watts = 0.0;
  int lamps = 0;
  bool absolute = false;
  for (int set = 0; set < lampSets; ++set) {
    EulumdatLampSet lampSet;
    if (!in.Count("a number of lamps", -9999, 9999, lampSet.count) ||
        !in.Text("a lamp type", lampSet.type) || !in.Number("a lamp flux", lampSet.flux)) {
      return false;
    }
    if (!(lampSet.flux > 0.0)) {
      in.error = "line " + std::to_string(in.LastLine()) + " gives a lamp flux as " + in.LastText() +
                 " lm, not a number above 0.";
      return false;
    }
    if (!in.Text("a colour", lampSet.colour) ||
        !in.Text("a colour rendering", lampSet.colourRendering) ||
        !in.Number("a wattage", lampSet.watts)) {
      return false;
    }
    if (set == 0) AddKeyword(out, "[LAMP]", lampSet.type);
    absolute = absolute || lampSet.count < 0;
    lamps += lampSet.count < 0 ? -lampSet.count : lampSet.count;
    totalFlux += lampSet.flux;
    watts += lampSet.watts;
    fields.lampSets.push_back(std::move(lampSet));
  }
  if (!(totalFlux <= FLT_MAX && std::fabs(watts) <= FLT_MAX)) {
    in.error = "its lamp sets (lines 26 to " + std::to_string(in.LastLine()) +
               ") give no usable flux, and its intensities are per 1000 lm of it.";
    return false;
  }
  for (double& ratio : fields.directRatios) {
    if (!in.Number("a direct ratio", ratio)) return false;
  }

  std::vector<float> planeAngles(static_cast<size_t>(header.planeCount));
  const size_t firstPlaneLine = in.LastLine() + 1;
  for (float& angle : planeAngles) {
    if (!in.Number("a C angle", angle)) return false;
  }
  if (!CheckPlaneAngles(header, planeAngles, firstPlaneLine, in.error)) return false;
  std::vector<size_t> isym3Planes;
  if (header.symmetry == 3 &&
      !Isym3StoredPlanes(planeAngles, firstPlaneLine, isym3Planes, in.error)) {
    return false;
  }
  out.verticalAngles.resize(static_cast<size_t>(header.gammaCount));
  const size_t firstGammaLine = in.LastLine() + 1;
  for (float& angle : out.verticalAngles) {
    if (!in.Number("a gamma angle", angle)) return false;
  }
  if (!CheckGammaAngles(out.verticalAngles, firstGammaLine, in.error)) return false;

  const double candelaPerValue = conversion * totalFlux / 1000.0;
  // Grown as the values are read, so a short file claiming many planes
  // takes no more memory than its own lines.
  std::vector<float> stored;
  const size_t storedCount = StoredPlaneCount(header) * out.verticalAngles.size();
  while (stored.size() < storedCount) {
    double value = 0.0;
    if (!in.Number("an intensity", value)) return false;
    if (value < 0.0) {
      in.error = "line " + std::to_string(in.LastLine()) + " gives the intensity " + in.LastText() +
                 ", below 0.";
      return false;
    }
    // + 0.0: a written -0 is no light, not a negative one.
    const double scaled = value * candelaPerValue + 0.0;
    if (!(std::fabs(scaled) <= static_cast<double>(FLT_MAX))) {
      in.error = "line " + std::to_string(in.LastLine()) + " gives an intensity too large to use.";
      return false;
    }
    stored.push_back(static_cast<float>(scaled));
  }
  ExpandPlanes(header, planeAngles, isym3Planes, stored, out);

  out.lampCount = lamps > 0 ? lamps : 1;
  out.lumensPerLamp = absolute ? -1.0f : static_cast<float>(totalFlux / out.lampCount);
  out.inputWatts = static_cast<float>(watts);
  AddKeyword(out, "[MANUFAC]", company);
  AddKeyword(out, "[TEST]", report);
  AddKeyword(out, "[LUMINAIRE]", name);
  AddKeyword(out, "[LUMCAT]", number);
  // The luminous area (lines 16 to 21) as LM-63's luminous opening, in
  // metres: its length and width, and the mean of its four heights. A width
  // of 0 makes line 16 a diameter, which LM-63 writes as a negative length
  // and width.
  const auto metres = [](double millimetres) {
    return static_cast<float>(std::clamp(millimetres / 1000.0, -double{FLT_MAX}, double{FLT_MAX}));
  };
  out.unitsType = 2;
  const bool circular = fields.sizes[4] == 0.0 && fields.sizes[3] > 0.0;
  out.length = circular ? -metres(fields.sizes[3]) : metres(fields.sizes[3]);
  out.width = circular ? out.length : metres(fields.sizes[4]);
  out.height = metres((fields.sizes[5] + fields.sizes[6] + fields.sizes[7] + fields.sizes[8]) / 4.0);
  out.eulumdat = std::move(fields);
  return true;
}

// ---------------------------------------------------------------------------
// 3. The writer.

// The shortest text that reads back as the same float, in fixed notation
// with a full stop: 100 -> "100", 0.25 -> "0.25". A value outside the
// float's normal range (the flux of a curve of huge or tiny samples) as the
// shortest double, so that it is not written as 0 or "inf".
std::string FormatNumber(double value) {
  char text[400];  // the longest double in fixed notation: 309 digits, or 0. and 324
  const double size = std::fabs(value);
  const bool asFloat = value == 0.0 || (size >= static_cast<double>(FLT_MIN) &&
                                        size <= static_cast<double>(FLT_MAX));
  const std::to_chars_result end =
      asFloat ? std::to_chars(text, text + sizeof text, static_cast<float>(value),
                              std::chars_format::fixed)
              : std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
  return std::string(text, end.ptr);
}

// The text after `keyword` in the first line that starts with it, or empty.
std::string KeywordText(const Photometry& source, std::string_view keyword) {
  for (const std::string& line : source.keywords) {
    if (line.compare(0, keyword.size(), keyword) == 0) {
      return std::string(Trimmed(std::string_view(line).substr(keyword.size())));
    }
  }
  return {};
}

// A text field: at most 78 bytes, the format's width, not cut inside a UTF-8
// character.
std::string TextField(std::string text) {
  constexpr size_t kWidth = 78;
  if (text.size() <= kWidth) return text;
  size_t end = kWidth;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text;
}

// The symmetry indicator of a lamp's symmetry.
int IsymOf(Symmetry symmetry) {
  switch (symmetry) {
    case Symmetry::kRotational: return 1;
    case Symmetry::kBilateral0To180: return 2;
    case Symmetry::kBilateral90To270: return 3;
    case Symmetry::kQuadrant: return 4;
    case Symmetry::kNone: return 0;
  }
  return 0;
}

// Every C angle of the circle in [0, 360), ascending: the listed planes and
// their mirror images.
std::vector<float> CircleAngles(const Lamp& lamp) {
  std::vector<float> circle;
  const auto add = [&circle](double angle) {
    if (angle >= 0.0 && angle < 360.0) circle.push_back(static_cast<float>(angle));
  };
  for (const float a : lamp.planeAngles) {
    switch (lamp.symmetry) {
      case Symmetry::kRotational: add(0.0); break;
      case Symmetry::kQuadrant: add(a); add(180.0 - a); add(180.0 + a); add(360.0 - a); break;
      case Symmetry::kBilateral0To180: add(a); add(360.0 - a); break;
      case Symmetry::kBilateral90To270: add(a); add(a <= 180.0f ? 180.0 - a : 540.0 - a); break;
      case Symmetry::kNone: add(a); break;
    }
  }
  std::sort(circle.begin(), circle.end());
  circle.erase(std::unique(circle.begin(), circle.end()), circle.end());
  return circle;
}

// The C angles Isym stores, in the order the file lists their planes:
// Isym 3 from C 270 round through 0 to C 90.
std::vector<float> StoredAngles(const std::vector<float>& circle, int isym) {
  std::vector<float> stored;
  for (const float c : circle) {
    const bool keep = isym == 0 || isym == 1 || (isym == 2 && c <= 180.0f) ||
                      (isym == 4 && c <= 90.0f) || (isym == 3 && c >= 270.0f);
    if (keep) stored.push_back(c);
  }
  if (isym == 3) {
    for (const float c : circle) {
      if (c <= 90.0f) stored.push_back(c);
    }
  }
  return stored;
}

// The distance between listed angles when they are even, else 0.
double EvenStep(const std::vector<float>& angles) {
  if (angles.size() < 2) return 0.0;
  const double step = static_cast<double>(angles[1]) - angles[0];
  for (size_t k = 1; k + 1 < angles.size(); ++k) {
    if (std::fabs(static_cast<double>(angles[k + 1]) - angles[k] - step) > 1e-4) return 0.0;
  }
  return step;
}

// The lamp sets to write and their total flux: the source's own where they
// fit the format and hold the light (an LOR of at most 100 %); else one set
// of the rated lamps; else one set of the light's own flux in absolute
// photometry (1000 lm for a lamp without light).
std::vector<EulumdatLampSet> LampSetsFor(const Photometry& source, double flux) {
  constexpr int kMaxCount = 9999;
  if (source.eulumdat && !source.eulumdat->lampSets.empty()) {
    double total = 0.0;
    bool fits = true;
    for (const EulumdatLampSet& set : source.eulumdat->lampSets) {
      total += set.flux;
      fits = fits && set.count >= -kMaxCount && set.count <= kMaxCount;
    }
    if (fits && total > 0.0 && total >= flux) return source.eulumdat->lampSets;
  }
  EulumdatLampSet set;
  for (const std::string& line : source.keywords) {
    if (line.rfind("[LAMP]", 0) == 0) {
      set.type = std::string(Trimmed(std::string_view(line).substr(6)));
      break;
    }
  }
  set.watts = source.inputWatts;
  const double rated = static_cast<double>(source.lampCount) * source.lumensPerLamp;
  if (source.lumensPerLamp > 0.0f && source.lampCount > 0 && source.lampCount <= kMaxCount &&
      rated >= flux) {
    set.count = source.lampCount;
    set.flux = rated;
  } else {
    // Absolute photometry. A flux beyond what a reader takes (a lamp of
    // intensities near the float range) is written smaller, with the
    // intensities per 1000 lm of it larger: the light read back is the same.
    constexpr double kLargestFlux = 1e30;
    set.count = -1;
    set.flux = flux > 0.0 ? std::min(flux, kLargestFlux) : 1000.0;
  }
  return {set};
}

// The luminous opening in mm, from LM-63's units (feet or metres).
double Millimetres(const Photometry& source, float size) {
  return static_cast<double>(size) * (source.unitsType == 2 ? 1000.0 : 304.8);
}

}  // namespace

EulumdatReadResult ReadEulumdatText(std::string_view bytes) {
  EulumdatReadResult result;
  if (bytes.size() > kMaxEulumdatBytes) {
    result.error = "it is larger than any EULUMDAT file (" +
                   std::to_string(kMaxEulumdatBytes / (1024 * 1024)) + " MB).";
    return result;
  }
  LineReader in(bytes);
  result.ok = ReadFile(in, result.photometry);
  if (!result.ok) {
    result.error = in.error;
    result.photometry = Photometry();
  }
  return result;
}

std::string WriteEulumdatText(const Lamp& lamp, const Photometry& source,
                              const EulumdatNames& names, const EulumdatFlux& light) {
  const std::vector<EulumdatLampSet> sets = LampSetsFor(source, light.lumens);
  double lampFlux = 0.0;
  for (const EulumdatLampSet& set : sets) lampFlux += set.flux;
  const std::string manufacturer = KeywordText(source, "[MANUFAC]");
  const std::string report = KeywordText(source, "[TEST]");
  const std::string luminaire = KeywordText(source, "[LUMINAIRE]");
  const int isym = lamp.planes.size() == 1 ? 1 : IsymOf(lamp.symmetry);
  const std::vector<float> circle = isym == 1 ? std::vector<float>{0.0f} : CircleAngles(lamp);
  const std::vector<float> stored = StoredAngles(circle, isym);
  const EulumdatFields fields = source.eulumdat.value_or(EulumdatFields{});
  std::array<double, 9> sizes = fields.sizes;
  if (!source.eulumdat) {
    // LM-63's negative sizes give a circle, whose diameter line 16 holds.
    const bool circular = source.width < 0.0f || source.length < 0.0f;
    sizes[3] = Millimetres(source, circular ? std::fmax(-source.length, -source.width) : source.length);
    sizes[4] = circular ? 0.0 : Millimetres(source, source.width);
    for (size_t k = 5; k < 9; ++k) sizes[k] = Millimetres(source, source.height);
  }

  std::string text;
  text.reserve(4096 + stored.size() * 2048);
  const auto line = [&text](const std::string& field) { text += field + "\r\n"; };
  line(TextField(manufacturer.empty() ? "Lumistra" : manufacturer));
  // Ityp: the source's, else a point source, symmetric about the vertical
  // axis or not.
  line(std::to_string(source.eulumdat ? fields.typeIndicator : isym == 1 ? 1 : 3));
  line(std::to_string(isym));
  line(std::to_string(circle.size()));       // Mc
  line(FormatNumber(EvenStep(circle)));      // Dc
  line("181");  // Ng
  line("1");    // Dg
  line(TextField(report.empty() ? "Lumistra" : report));
  line(TextField(luminaire.empty() ? names.fileName : luminaire));
  line(TextField(KeywordText(source, "[LUMCAT]")));
  line(TextField(names.fileName));
  line(TextField(fields.dateUser.empty() ? names.date + " / Lumistra" : fields.dateUser));
  for (const double size : sizes) line(FormatNumber(size));
  line(FormatNumber(light.downwardPercent));
  line(FormatNumber(100.0 * light.lumens / lampFlux));
  line("1");  // conversion factor
  line(FormatNumber(fields.tilt));
  line(std::to_string(sets.size()));
  for (const EulumdatLampSet& set : sets) {
    line(std::to_string(set.count));
    line(TextField(set.type));
    line(FormatNumber(set.flux));
    line(TextField(set.colour));
    line(TextField(set.colourRendering));
    line(FormatNumber(set.watts));
  }
  // The direct ratios need a room calculation that a drawn lamp has no data
  // for: 0 unless the source gave them.
  for (const double ratio : fields.directRatios) line(FormatNumber(ratio));
  for (const float c : circle) line(FormatNumber(c));
  for (int gamma = 0; gamma < kCurveSampleCount; ++gamma) line(FormatNumber(gamma));
  for (const float c : stored) {
    for (const float root : CurveAt(lamp, c)) {
      const double candela = static_cast<double>(root) * static_cast<double>(root);
      line(FormatNumber(candela * 1000.0 / lampFlux));
    }
  }
  return text;
}
