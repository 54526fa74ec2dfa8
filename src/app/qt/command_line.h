#pragma once
// The Linux program's command line: `lumistra [FILE]`, with --help and
// --version. Read before the window system is reached, so both answer on
// any terminal, with or without a desktop session.

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
CommandLine ReadCommandLine(const QStringList& arguments);
