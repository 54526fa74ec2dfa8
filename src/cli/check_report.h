#pragma once
// How `check` shows a file's findings: a block for people, or one JSON
// object on one line for programs.

#include <string>
#include <string_view>

#include "check/file_check.h"

// Appends the block for `file`:
//   lamp.ies: LM-63-2002, 1 error, 1 warning
//     error    keyword-required  [TESTLAB] is missing: LM-63-2002 requires it ...
//     warning  renderer-planes   its 13 planes differ: Unreal averages them ...
// ("no findings" on the first line's end and no more lines for a clean file).
void AppendCheckText(std::string& out, std::string_view file, const FileCheck& check);

// Appends one JSON line (ending in "\n") with the keys file, format (null
// when the file could not be read), errors and warnings (arrays of objects
// with rule and message), then info's numbers (AppendInfoJsonNumbers).
void AppendCheckJson(std::string& out, std::string_view file, const FileCheck& check);
