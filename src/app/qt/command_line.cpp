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

CommandLine ReadCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Sketch the light distribution of a lamp and see the light it throws on a wall;\n"
      "open and save it as an IESNA LM-63 photometric file (.ies)."));
  parser.addHelpOption();  // -h, --help and Qt's --help-all
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("An .ies file to open."),
                               QStringLiteral("[FILE]"));

  const bool parsed = parser.parse(arguments);
  QString error = parser.errorText();
  if (parsed && parser.positionalArguments().size() > 1)
    error = QStringLiteral("Only one file can be opened.");
  if (!error.isEmpty()) {
    Print(stderr, error + QStringLiteral("\n\n") + parser.helpText());
    return {1, {}};
  }
  if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
    Print(stdout, parser.helpText());
    return {0, {}};
  }
  if (parser.isSet(QStringLiteral("version"))) {
    Print(stdout, QCoreApplication::applicationName() + QLatin1Char(' ') +
                      QCoreApplication::applicationVersion() + QLatin1Char('\n'));
    return {0, {}};
  }
  const QStringList files = parser.positionalArguments();
  return {std::nullopt, files.isEmpty() ? QString() : files.constFirst()};
}
