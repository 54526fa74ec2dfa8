#pragma once
// The Properties box on Win32 (template 132): a read-only text with scroll
// bars in a fixed-width font, and OK.

#include <windows.h>

#include <string_view>

// Runs the box modally over `owner` until OK, Enter, Escape or the close box
// ends it; `text` is UTF-8 with lines ending in "\n".
void RunPropertiesDialog(HWND owner, std::string_view text);
