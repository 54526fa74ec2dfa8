#pragma once
// The number dialog of the Lamp menu on Win32 (template 131): a caption, one
// or two rows of a label and a field, OK and Cancel. A second row that is not
// asked for is hidden.

#include <windows.h>

#include <span>
#include <string_view>

#include "app/window.h"

// Runs the dialog modally over `owner`. True on OK, with the fields' texts
// as typed; false on Cancel, Escape or the close box, the fields unchanged.
bool RunNumberDialog(HWND owner, std::string_view caption, std::span<AskedField> fields);
