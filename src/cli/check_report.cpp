#include "cli/check_report.h"

#include "cli/info_report.h"

namespace {

std::string Count(size_t count, std::string_view noun) {
  return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

size_t CountOf(const FileCheck& check, Severity severity) {
  size_t count = 0;
  for (const Finding& finding : check.findings) count += finding.severity == severity ? 1 : 0;
  return count;
}

void AppendFindingsJson(std::string& out, const FileCheck& check, Severity severity) {
  out += '[';
  bool first = true;
  for (const Finding& finding : check.findings) {
    if (finding.severity != severity) continue;
    out += first ? "{\"rule\":" : ",{\"rule\":";
    AppendJsonString(out, finding.rule);
    out += ",\"message\":";
    AppendJsonString(out, finding.message);
    out += '}';
    first = false;
  }
  out += ']';
}

}  // namespace

void AppendCheckText(std::string& out, std::string_view file, const FileCheck& check) {
  out.append(file);
  out += ": " + (check.format.empty() ? std::string("unreadable") : check.format);
  if (check.findings.empty()) {
    out += ", no findings\n";
    return;
  }
  out += ", " + Count(CountOf(check, Severity::kError), "error") + ", " +
         Count(CountOf(check, Severity::kWarning), "warning") + "\n";
  AppendFindingLines(out, check);
}

void AppendCheckJson(std::string& out, std::string_view file, const FileCheck& check) {
  out += "{\"file\":";
  AppendJsonString(out, file);
  out += ",\"format\":";
  if (check.format.empty()) {
    out += "null";
  } else {
    AppendJsonString(out, check.format);
  }
  out += ",\"errors\":";
  AppendFindingsJson(out, check, Severity::kError);
  out += ",\"warnings\":";
  AppendFindingsJson(out, check, Severity::kWarning);
  out += ',';
  AppendInfoJsonNumbers(out, check.numbers ? &*check.numbers : nullptr);
  out += "}\n";
}
