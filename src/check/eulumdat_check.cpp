// The EULUMDAT rules.
#include "check/eulumdat_check.h"

#include <cmath>
#include <vector>

#include "check/check_text.h"

namespace {

constexpr size_t kTextWidth = 78;

bool InRange(double value, double least, double most) {
  return value >= least && value <= most;
}

// The file's lines, taken in order, one field a line. The first fault that
// breaks the layout (the end, a word where a number should be) is reported
// once and ends the reading.
class FieldReader {
 public:
  FieldReader(std::string_view bytes, Findings& findings) : findings_(findings) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    lines_ = SplitLines(bytes);
  }

  // The next line without its outer blanks; false at the end of the file.
  bool Next(std::string_view what, std::string_view& text) {
    if (next_ == lines_.size()) {
      findings_.Error("layout", "the file ends after " + LineName(lines_.size()) + ", where " +
                                    LineName(next_ + 1) + " should hold " + std::string(what));
      return false;
    }
    text = TrimBlanks(lines_[next_++]);
    return true;
  }

  bool Text(std::string_view what, std::string_view& text) {
    if (!Next(what, text)) return false;
    if (text.size() > kTextWidth) {
      findings_.AddRepeated(Severity::kError, "text-length", [&] {
        return LineName(next_) + " holds " + std::to_string(text.size()) + " characters of " +
               std::string(what) + "; the format allows " + std::to_string(kTextWidth);
      });
    }
    return true;
  }

  bool Number(std::string_view what, double& value) {
    std::string_view text;
    if (!Next(what, text)) return false;
    if (ParseNumber(text, value, DecimalComma::kAccepted)) return true;
    findings_.Error("layout", LineName(next_) + " has " + Quote(text) + " where " +
                                  std::string(what) + " should be");
    return false;
  }

  // Whether `count` more lines are there; when not, says so.
  bool Holds(size_t count, std::string_view what) {
    if (count <= lines_.size() - next_) return true;
    findings_.Error("layout", "the file ends after " + LineName(lines_.size()) + ", before its " +
                                  std::to_string(count) + " " + std::string(what));
    return false;
  }

  // Numbers that must be whole and at least `least` to read on: the counts.
  bool Count(std::string_view what, double least, double& value) {
    if (!Number(what, value)) return false;
    constexpr double kMost = 1e7;  // far more than lines any real file has
    if (InRange(value, least, kMost) && value == std::trunc(value)) return true;
    findings_.Error("counts", LineName(next_) + " gives " + std::string(what) + " as " +
                                  NumberText(value) + ", not a whole number from " +
                                  NumberText(least) + " to " + NumberText(kMost));
    return false;
  }

  size_t Line() const { return next_; }  // the line read last, from 1

  // The first line after the last one read that is not blank, or 0.
  size_t NextNonBlank() const {
    for (size_t i = next_; i < lines_.size(); ++i) {
      if (!TrimBlanks(lines_[i]).empty()) return i + 1;
    }
    return 0;
  }

 private:
  std::vector<std::string_view> lines_;
  size_t next_ = 0;
  Findings& findings_;
};

// How many planes the file stores for symmetry `isym` of `mc` planes.
size_t StoredPlanes(int isym, size_t mc) {
  switch (isym) {
    case 1:
      return 1;
    case 2:
    case 3:
      return mc / 2 + 1;
    case 4:
      return mc / 4 + 1;
    default:
      return mc;
  }
}

// The C angles: 0 first, ascending below 360, 90, 180 and 270 where the
// symmetry's stored planes need them, and steps of Dc when Dc is given.
void CheckPlaneAngles(int isym, double dc, const std::vector<double>& c, size_t firstLine,
                      Findings& findings) {
  if (isym == 1) return;  // one plane: the list says nothing
  const size_t mc = c.size();
  const size_t multiple = isym == 2 ? 2 : isym >= 3 ? 4 : 1;
  if (mc % multiple != 0) {
    findings.Error("symmetry-planes",
                   "symmetry indicator " + std::to_string(isym) + " needs Mc to be a multiple of " +
                       std::to_string(multiple) + ", but line 4 gives " + std::to_string(mc));
    return;
  }
  for (size_t j = 0; j < mc; ++j) {
    if (j == 0 ? c[0] != 0.0 : !(c[j] > c[j - 1]) || !(c[j] < 360.0)) {
      findings.Error("angles-ascending", LineName(firstLine + j) + " gives the C angle " +
                                             NumberText(c[j]) +
                                             "; they run from 0, ascending, below 360");
      return;
    }
  }
  const auto expect = [&](size_t j, double angle) {
    if (c[j] == angle) return;
    findings.Error("symmetry-planes", LineName(firstLine + j) + " gives the C angle " +
                                          NumberText(c[j]) + " where symmetry indicator " +
                                          std::to_string(isym) + " stores C " + NumberText(angle));
  };
  if (isym == 2 || isym == 3) expect(mc / 2, 180.0);
  if (isym >= 3) expect(mc / 4, 90.0);
  if (isym == 3) expect(3 * mc / 4, 270.0);
  if (dc > 0.0 && (std::fabs(dc * static_cast<double>(mc) - 360.0) > 1e-3 ||
                   std::fabs(c.back() + dc - 360.0) > 1e-3)) {
    findings.Error("plane-distance", "line 5 gives Dc " + NumberText(dc) + ", but the " +
                                         std::to_string(mc) + " C angles from " +
                                         LineName(firstLine) + " do not step by it");
  }
}

void CheckGammaAngles(double dg, const std::vector<double>& g, size_t firstLine,
                      Findings& findings) {
  for (size_t i = 0; i < g.size(); ++i) {
    if (!InRange(g[i], 0.0, 180.0) || (i > 0 && !(g[i] > g[i - 1]))) {
      findings.Error("angles-ascending", LineName(firstLine + i) + " gives the gamma angle " +
                                             NumberText(g[i]) +
                                             "; they ascend from 0 to at most 180");
      return;
    }
  }
  for (size_t i = 1; dg > 0.0 && i < g.size(); ++i) {
    if (std::fabs(g[i] - g[i - 1] - dg) > 1e-3) {
      findings.Error("gamma-distance", "line 7 gives Dg " + NumberText(dg) + ", but " +
                                           LineName(firstLine + i) + " steps from " +
                                           NumberText(g[i - 1]) + " to " + NumberText(g[i]));
      return;
    }
  }
}

// Lines 22 and 23.
void CheckPercent(const FieldReader& in, std::string_view what, double value, Findings& findings) {
  if (InRange(value, 0.0, 100.0)) return;
  findings.Error("ratio-range", LineName(in.Line()) + " gives " + std::string(what) + " as " +
                                    NumberText(value) + " %, outside 0 to 100 %");
}

// Lines 26 on: the lamp sets. False when the layout broke.
bool ReadLampSets(FieldReader& in, EulumdatFacts& facts, Findings& findings) {
  double sets = 0.0;
  if (!in.Count("lamp sets", 1.0, sets)) return false;
  double total = 0.0;
  for (double set = 0; set < sets; ++set) {
    double count = 0.0, flux = 0.0, watts = 0.0;
    std::string_view text;
    if (!in.Number("a number of lamps", count)) return false;
    if (count == 0.0 || count != std::trunc(count)) {
      findings.Error("lamp-count", LineName(in.Line()) + " gives " + NumberText(count) +
                                       " lamps, not a whole number other than 0");
    }
    if (!in.Text("a lamp type", text) || !in.Number("a lamp flux", flux)) return false;
    if (!(flux > 0.0)) {
      findings.Error("lamp-flux", LineName(in.Line()) + " gives the lamp flux " + NumberText(flux) +
                                      " lm, not a positive number");
    }
    total += flux;
    if (!in.Text("a colour", text) || !in.Text("a colour rendering", text) ||
        !in.Number("a wattage", watts)) {
      return false;
    }
  }
  facts.lampFlux = total;
  return true;
}

bool ReadNumbers(FieldReader& in, size_t count, std::string_view what, std::vector<double>& out) {
  if (!in.Holds(count, what)) return false;
  out.resize(count);
  for (double& value : out) {
    if (!in.Number("one of the " + std::string(what), value)) return false;
  }
  return true;
}

void CheckFile(FieldReader& in, EulumdatFacts& facts, Findings& findings) {
  std::string_view text;
  double ityp = 0.0, isym = 0.0, mc = 0.0, dc = 0.0, ng = 0.0, dg = 0.0, unused = 0.0;
  if (!in.Text("the company", text) || !in.Number("the type indicator", ityp)) return;
  if (!(InRange(ityp, 0.0, 3.0) && ityp == std::trunc(ityp))) {
    findings.Error("type-indicator",
                   "line 2 gives the type indicator " + NumberText(ityp) + ", not 0, 1, 2 or 3");
  }
  if (!in.Number("the symmetry indicator", isym)) return;
  if (!(InRange(isym, 0.0, 4.0) && isym == std::trunc(isym))) {
    findings.Error("symmetry-indicator",
                   "line 3 gives the symmetry indicator " + NumberText(isym) + ", not 0 to 4");
    return;
  }
  if (!in.Count("C-planes (Mc)", 1.0, mc) || !in.Number("the distance between C-planes", dc) ||
      !in.Count("gamma angles (Ng)", 1.0, ng) ||
      !in.Number("the distance between gamma angles", dg)) {
    return;
  }
  for (const char* what : {"the measurement report number", "the luminaire name",
                           "the luminaire number", "the file name", "the date and user"}) {
    if (!in.Text(what, text)) return;
  }
  facts.date = std::string(text);
  for (int line = 13; line <= 21; ++line) {
    if (!in.Number("a size in mm", unused)) return;
  }
  double downward = 0.0, ratio = 0.0, conversion = 0.0;
  if (!in.Number("the downward flux fraction", downward)) return;
  CheckPercent(in, "the downward flux fraction", downward, findings);
  if (!in.Number("the light output ratio", ratio)) return;
  CheckPercent(in, "the light output ratio", ratio, findings);
  facts.lightOutputRatio = ratio;
  if (!in.Number("the conversion factor", conversion)) return;
  if (!(conversion > 0.0)) {
    findings.Error("conversion-factor", "line 24 gives the conversion factor " +
                                            NumberText(conversion) + ", not a positive number");
  }
  if (!in.Number("the tilt", unused) || !ReadLampSets(in, facts, findings)) return;
  std::vector<double> values;
  if (!ReadNumbers(in, 10, "direct ratios", values)) return;

  const int symmetry = static_cast<int>(isym);
  std::vector<double> c, gamma;
  const size_t cLine = in.Line() + 1;
  if (!ReadNumbers(in, static_cast<size_t>(mc), "C angles", c)) return;
  const size_t gammaLine = in.Line() + 1;
  if (!ReadNumbers(in, static_cast<size_t>(ng), "gamma angles", gamma)) return;
  CheckPlaneAngles(symmetry, dc, c, cLine, findings);
  CheckGammaAngles(dg, gamma, gammaLine, findings);

  const size_t intensities = StoredPlanes(symmetry, c.size()) * gamma.size();
  for (size_t i = 0; i < intensities; ++i) {
    double value = 0.0;
    if (!in.Number("an intensity", value)) return;
    if (value < 0.0) {
      findings.AddRepeated(Severity::kError, "negative-intensity", [&] {
        return LineName(in.Line()) + " gives the intensity " + NumberText(value) + " cd/klm";
      });
    }
  }
  if (const size_t extra = in.NextNonBlank(); extra != 0) {
    findings.Warning("counts",
                     LineName(extra) + " follows the last intensity that Mc, Ng and Isym ask for");
  }
}

}  // namespace

EulumdatFacts CheckEulumdatText(std::string_view bytes, Findings& findings) {
  EulumdatFacts facts;
  FieldReader in(bytes, findings);
  CheckFile(in, facts, findings);
  return facts;
}
