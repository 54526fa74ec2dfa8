#pragma once
// What Lamp > Properties shows, and what the status note adds for an opened
// file with errors: both from `check`'s reading of the document's source file.

#include <string>

#include "app/document.h"
#include "check/file_check.h"

// The box's text. For a lamp opened from a file: its path, its header and
// check's findings (FileCheckText), as the file reads now. For a drawn lamp:
// a line saying so, and its whole-lamp numbers.
std::string PropertiesText(const Document& document);

// Appends "2 errors found: Lamp > Properties" to `note` (after " — " when
// the note has text already) when the check found errors; else nothing.
void AppendErrorsNote(std::string& note, const FileCheck& check);
