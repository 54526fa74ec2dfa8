#include "app/qt/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace {

void Print(std::FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
  std::fflush(stream);
}

}  // namespace

CommandLine ReadCommandLine(const QStringList& arguments, bool onlyHelpAndVersion) {
  QCommandLineParser parser;
  // "-stylesheet" and "-reverse" are Qt's; read as bundled letters they
  // would hold -h and -v.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.setApplicationDescription(QStringLiteral(
      "Sketch the light distribution of a lamp and see the light it throws on a wall;\n"
      "open and save it as an IESNA LM-63 (.ies) or EULUMDAT (.ldt) photometric file."));
  // Not addHelpOption(): it adds --help-all, which would list Qt's options
  // as this program's own.
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Displays help on commandline options."));
  parser.addOption(help);
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("An .ies or .ldt file to open."),
                               QStringLiteral("[FILE]"));

  const bool parsed = parser.parse(arguments);
  QString error = parser.errorText();
  if (parsed && parser.positionalArguments().size() > 1)
    error = QStringLiteral("Only one file can be opened.");
  if (!error.isEmpty() && !onlyHelpAndVersion) {
    Print(stderr, error + QStringLiteral("\n\n") + parser.helpText());
    return {1, {}};
  }
  if (parser.isSet(help)) {
    Print(stdout, parser.helpText());
    return {0, {}};
  }
  if (parser.isSet(QStringLiteral("version"))) {
    Print(stdout, QCoreApplication::applicationName() + QLatin1Char(' ') +
                      QCoreApplication::applicationVersion() + QLatin1Char('\n'));
    return {0, {}};
  }
  if (onlyHelpAndVersion) return {};
  const QStringList files = parser.positionalArguments();
  return {std::nullopt, files.isEmpty() ? QString() : files.constFirst()};
}
