#pragma once
// The number dialog of the Lamp menu on Qt: a caption, one labelled line edit
// per field (the first focused, its text selected), OK and Cancel.

#include <span>
#include <string_view>

#include "app/window.h"

class QWidget;

// Runs the dialog modally over `owner`. True on OK, with the fields' texts
// as typed; false on Cancel, Escape or the close box, the fields unchanged.
bool RunNumberDialog(QWidget* owner, std::string_view caption, std::span<AskedField> fields);
