// `check` on one file: the format's rules, the table's flux, the renderers'
// notes and the header summary.
#include "check/file_check.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <system_error>

#include "check/check_text.h"
#include "check/eulumdat_check.h"
#include "check/lm63_check.h"
#include "check/renderer_notes.h"
#include "files/eulumdat.h"
#include "files/file_commands.h"
#include "files/ies_format.h"
#include "files/utf8_path.h"

namespace {

// How far the table's flux may stray from the flux the file states.
constexpr double kFluxTolerance = 0.02;

// Larger files are no photometry (the largest real ones hold a few MB).
constexpr size_t kMaxCheckedBytes = 64 * 1024 * 1024;

bool HasTiltLine(std::string_view bytes) {
  return bytes.starts_with("TILT=") || bytes.find("\nTILT=") != std::string_view::npos;
}

// The file read by Lumistra's own reader, for the whole-lamp numbers.
struct ReadTable {
  std::optional<Photometry> table;
  std::string error;  // why the reader refused it, when it did
};

ReadTable ReadLm63Table(std::string_view bytes) {
  Lm63ReadResult read = ReadIesText(bytes);
  if (!read.ok) return {std::nullopt, read.error};
  if (!read.tableError.empty()) return {std::nullopt, read.tableError};
  return {std::move(read.photometry), {}};
}

ReadTable ReadEulumdatTable(std::string_view bytes) {
  EulumdatReadResult read = ReadEulumdatText(bytes);
  if (!read.ok) return {std::nullopt, read.error};
  return {std::move(read.photometry), {}};
}

std::string Lumens(double value) {
  return NumberText(std::round(value * 10.0) / 10.0) + " lm";
}

// The table's flux against the lamps' flux and, for EULUMDAT, against the
// flux the light output ratio states.
void CheckFlux(const LampNumbers& numbers, std::optional<double> lampFlux,
               std::optional<double> ratioPercent, Findings& findings) {
  if (!lampFlux || !(*lampFlux > 0.0)) return;
  const double flux = numbers.fluxLm;
  if (flux > *lampFlux * (1.0 + kFluxTolerance)) {
    findings.Warning("lor-above-one", "the table gives " + Lumens(flux) + ", more than the " +
                                          Lumens(*lampFlux) + " of its lamps (light output ratio " +
                                          NumberText(flux / *lampFlux) + ")");
  }
  if (!ratioPercent) return;
  const double stated = *lampFlux * *ratioPercent / 100.0;
  const bool off = stated > 0.0 ? std::fabs(flux - stated) > kFluxTolerance * stated : flux > 0.0;
  if (off) {
    findings.Warning("flux-stated", "the table gives " + Lumens(flux) + ", but the lamp flux " +
                                        Lumens(*lampFlux) + " times the light output ratio " +
                                        NumberText(*ratioPercent) + " % states " + Lumens(stated));
  }
}

// The text of `keyword` ("[MANUFAC]") with its [MORE] lines, or empty.
std::string KeywordValue(const Photometry& table, std::string_view keyword) {
  std::string value;
  bool inside = false;
  for (const std::string& line : table.keywords) {
    const std::string_view text = TrimBlanks(line);
    if (inside && text.starts_with("[MORE]")) {
      value.append(" ").append(TrimBlanks(text.substr(6)));
      continue;
    }
    if (inside) break;
    if (text.starts_with(keyword)) {
      value = TrimBlanks(text.substr(keyword.size()));
      inside = true;
    }
  }
  return value;
}

std::vector<HeaderField> HeaderSummary(const FileCheck& check, const Photometry& table,
                                       std::string_view eulumdatDate) {
  std::vector<HeaderField> header = {{"Format", check.format}};
  const auto add = [&header](std::string label, std::string value) {
    if (!value.empty()) header.push_back({std::move(label), std::move(value)});
  };
  const auto joined = [&table](std::string_view first, std::string_view second,
                               std::string_view between) {
    std::string a = KeywordValue(table, first), b = KeywordValue(table, second);
    return a.empty() || b.empty() ? a + b : a + std::string(between) + b;
  };
  add("Manufacturer", KeywordValue(table, "[MANUFAC]"));
  add("Luminaire", joined("[LUMINAIRE]", "[LUMCAT]", ", "));
  add("Lamp", joined("[LAMP]", "[LAMPCAT]", ", "));
  add("Test", joined("[TEST]", "[TESTLAB]", " by "));
  std::string dates = eulumdatDate.empty() ? joined("[TESTDATE]", "[ISSUEDATE]", ", issued ")
                                           : std::string(eulumdatDate);
  if (dates.empty()) dates = KeywordValue(table, "[DATE]");
  add("Dates", dates);
  std::string lumens = table.lumensPerLamp > 0.0f
                           ? std::to_string(table.lampCount) + " x " +
                                 Lumens(static_cast<double>(table.lumensPerLamp))
                           : "absolute photometry";
  if (check.numbers) lumens += "; the table gives " + Lumens(check.numbers->fluxLm);
  add("Lumens", lumens);
  add("Watts", NumberText(static_cast<double>(table.inputWatts)) + " W");
  if (table.width != 0.0f || table.length != 0.0f || table.height != 0.0f) {
    add("Size", NumberText(static_cast<double>(table.width)) + " x " +
                    NumberText(static_cast<double>(table.length)) + " x " +
                    NumberText(static_cast<double>(table.height)) +
                    (table.unitsType == 2 ? " m" : " ft") + " (width x length x height)");
  }
  if (check.numbers) add("Symmetry", SymmetryText(check.numbers->symmetry));
  add("Planes", std::to_string(table.planeCount()) + ", each of " +
                    std::to_string(table.verticalAngles.size()) + " vertical angles");
  return header;
}

const char* SeverityName(Severity severity) {
  return severity == Severity::kError ? "error" : "warning";
}

}  // namespace

bool FileCheck::HasError() const {
  return std::ranges::any_of(findings,
                             [](const Finding& f) { return f.severity == Severity::kError; });
}

FileCheck CheckFileText(std::string_view bytes, std::string_view name) {
  FileCheck check;
  Findings findings;
  // An EULUMDAT file whose text field starts with "TILT=" has a line as LM-63
  // files have, so a file that reads whole as EULUMDAT is EULUMDAT first.
  const bool namedLdt = WithSaveExtension(std::string(name), SaveFormat::kEulumdat) == name;
  const bool lm63 = !ReadEulumdatText(bytes).ok && (HasTiltLine(bytes) || !namedLdt);
  std::optional<Lm63Facts> lm63Facts;
  EulumdatFacts ldtFacts;
  ReadTable read;
  if (lm63) {
    lm63Facts = CheckLm63Text(bytes, findings);
    check.format = Lm63FormatName(lm63Facts->edition);
    // Lumistra reads type C alone; types A and B are measured by no one here.
    if (lm63Facts->photometricType == 1.0) read = ReadLm63Table(bytes);
  } else {
    ldtFacts = CheckEulumdatText(bytes, findings);
    check.format = "EULUMDAT";
    read = ReadEulumdatTable(bytes);
  }
  // The rules come first; the reader's word only where they let a file pass.
  if (!read.table && !read.error.empty() && !findings.HasError()) {
    findings.Error("unreadable", "Lumistra's reader refuses it: " + read.error);
  }
  if (read.table) {
    const LampMeasurement lamp = MeasureLamp(*read.table);
    check.numbers = lamp.numbers;
    if (!lamp.numbers && !findings.HasError()) {
      findings.Error("unmeasurable", "its planes cannot be measured together: " + lamp.error);
    }
  }
  if (check.numbers) {
    if (lm63) {
      CheckFlux(*check.numbers, check.numbers->ratedLumens, std::nullopt, findings);
    } else {
      CheckFlux(*check.numbers, ldtFacts.lampFlux, ldtFacts.lightOutputRatio, findings);
    }
  }
  if (lm63Facts) AddRendererNotes(*lm63Facts, read.table ? &*read.table : nullptr, findings);
  check.findings = findings.Take();
  if (read.table) check.header = HeaderSummary(check, *read.table, ldtFacts.date);
  return check;
}

FileCheck CheckFilePath(const std::string& path) {
  const auto unreadable = [](std::string why) {
    FileCheck check;
    check.findings.push_back({Severity::kError, "unreadable", "cannot be opened: " + why});
    return check;
  };
  if (const std::string_view why = WhyNotAFile(path); !why.empty())
    return unreadable(std::string(why));
  std::FILE* file = OpenUtf8(path, "rb");
  if (file == nullptr) return unreadable(std::generic_category().message(errno));
  std::string bytes, chunk(64 * 1024, '\0');
  size_t got = 0;
  while (bytes.size() <= kMaxCheckedBytes &&
         (got = std::fread(chunk.data(), 1, chunk.size(), file)) > 0) {
    bytes.append(chunk, 0, got);
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return unreadable("it could not be read");
  if (bytes.size() > kMaxCheckedBytes) return unreadable("it is larger than any photometric file");
  return CheckFileText(bytes, FileNameOf(path));
}

void AppendFindingLines(std::string& out, const FileCheck& check) {
  if (check.findings.empty()) {
    out += "  no findings\n";
    return;
  }
  size_t ruleWidth = 0;
  for (const Finding& finding : check.findings)
    ruleWidth = std::max(ruleWidth, finding.rule.size());
  for (const Severity severity : {Severity::kError, Severity::kWarning}) {
    for (const Finding& finding : check.findings) {
      if (finding.severity != severity) continue;
      std::string severityName = SeverityName(severity);
      out += "  " + severityName + std::string(9 - severityName.size(), ' ') + finding.rule +
             std::string(ruleWidth + 2 - finding.rule.size(), ' ') + finding.message + "\n";
    }
  }
}

std::string FileCheckText(const FileCheck& check) {
  std::string text;
  for (const HeaderField& field : check.header) text += field.label + ": " + field.value + "\n";
  text += "\nFindings:\n";
  AppendFindingLines(text, check);
  return text;
}
