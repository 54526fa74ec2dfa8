#pragma once
// `check` on one file: its format and edition, its findings (the format's
// rules, the flux it states against the flux its table gives, and what each
// renderer will do with it), its whole-lamp numbers and a header summary.
// The command line lists the findings; a window can show FileCheckText.
//
// The format: EULUMDAT when the file reads as one, or has no line starting
// with "TILT=" and a name ending in ".ldt"; LM-63 otherwise. (No LM-63 file
// reads as EULUMDAT, but an EULUMDAT text field may start with "TILT=".)
// Beyond the format's own rules:
//   flux-stated     EULUMDAT: the table's flux is more than 2 % away from
//                   the lamp flux times the light output ratio (warning)
//   lor-above-one   the table gives more than 2 % above the flux of its lamps
//                   (LM-63 rated lumens, EULUMDAT lamp flux) (warning)
//   unreadable      Lumistra's reader refuses a file the rules let pass, or
//                   the file cannot be opened (error)
//   unmeasurable    its planes cannot be measured together (error)

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/findings.h"
#include "measure/lamp_numbers.h"

struct HeaderField {
  std::string label;  // "Manufacturer"
  std::string value;
};

struct FileCheck {
  std::string format;  // "LM-63-2002", "EULUMDAT"; empty when the file could not be read
  std::vector<Finding> findings;
  std::optional<LampNumbers> numbers;  // when its table can be measured
  std::vector<HeaderField> header;     // format, names, dates, lumens, watts, size, planes

  bool HasError() const;
};

// `name` is the file's name, for the format's choice by extension.
FileCheck CheckFileText(std::string_view bytes, std::string_view name);

// The file at `path` (UTF-8); one that cannot be opened gives an
// "unreadable" error saying why.
FileCheck CheckFilePath(const std::string& path);

// The findings, one a line, errors first:
//   "  error    keyword-required  [TESTLAB] is missing: ..."
// or "  no findings".
void AppendFindingLines(std::string& out, const FileCheck& check);

// The header summary, one "label: value" a line, then the findings: what a
// Properties window shows.
std::string FileCheckText(const FileCheck& check);
