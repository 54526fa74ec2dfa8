#pragma once
// The Linux program's command line: `lumistra [FILE]`, with --help and
// --version, beside the options Qt takes itself. --help and --version are
// read before the window system is reached, so both answer on any terminal,
// with or without a desktop session; the rest once Qt has removed its own.

#include <QString>
#include <QStringList>
#include <optional>

struct CommandLine {
  std::optional<int> exitCode;  // set: the program ends at once with this code
  QString file;                 // the file to open once the window is shown; empty for none
};

// Reads the arguments (the program's name first). --help and --version
// print to standard output and end with 0; an unknown option or a second
// file prints the reason and the usage to standard error and ends with 1.
// Needs an application object for the program's name in the usage line.
// With `onlyHelpAndVersion` the rest is left alone: before Qt has taken its
// own options (-session, -style, -platform ...) they would count as unknown.
CommandLine ReadCommandLine(const QStringList& arguments, bool onlyHelpAndVersion = false);
