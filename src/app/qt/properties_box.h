#pragma once
// The Properties box: a modal box with a text read-only in a fixed-width
// font, its long lines wrapped and scrolled where it is longer than the box,
// and OK (Enter, Escape).

#include <string_view>

class QWidget;

// Runs the box modally over `owner` until it is closed; `text` is UTF-8.
void RunPropertiesBox(QWidget* owner, std::string_view text);
