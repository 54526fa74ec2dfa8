#pragma once
// The About box and the help box: small modal boxes laid out from their
// templates in dialog units, each closed by its OK button, Enter or Escape.

class QWidget;

enum class InfoBox { kAbout, kHelp };

// Runs the box modally over `owner` until it is closed.
void RunInfoBox(QWidget* owner, InfoBox which);
