#pragma once
// The Properties box on Win32 (template 132): a read-only text in a
// fixed-width font, wrapped, with a vertical scroll bar, and OK.

#include <windows.h>

#include <string_view>

// Runs the box modally over `owner` until OK, Enter, Escape or the close box
// ends it; `text` is UTF-8 with lines ending in "\n".
void RunPropertiesDialog(HWND owner, std::string_view text);
