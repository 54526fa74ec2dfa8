// The Linux program: the command line, one editor for the run, one main
// window, and the event loop until the window is destroyed.
#include <QApplication>
#include <algorithm>

#include "app/qt/app_icon.h"
#include "app/qt/command_line.h"
#include "app/qt/main_window.h"

int main(int argc, char* argv[]) {
  QCoreApplication::setApplicationName(QStringLiteral("lumistra"));
  QCoreApplication::setApplicationVersion(QStringLiteral(LUMISTRA_VERSION));

  // --help and --version are read under a console application object,
  // which needs no display: they work over ssh and in scripts. Without an
  // option there is nothing to read, and no object to start.
  if (std::any_of(argv + 1, argv + argc, [](const char* arg) { return arg[0] == '-'; })) {
    QCoreApplication console(argc, argv);
    const CommandLine early = ReadCommandLine(QCoreApplication::arguments(), true);
    if (early.exitCode) return *early.exitCode;
  }

  // Qt takes its own options (-session from a desktop restoring its session,
  // -style, -platform ...) out of the arguments; the rest are this program's.
  QApplication app(argc, argv);
  const CommandLine commandLine = ReadCommandLine(QCoreApplication::arguments());
  if (commandLine.exitCode) return *commandLine.exitCode;
  const QString file = commandLine.file;

  QGuiApplication::setDesktopFileName(QStringLiteral(LUMISTRA_APP_ID));  // its desktop entry
  // The program ends only by the quit that destroying the main window posts.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setWindowIcon(AppIcon());

  DistributionEditor editor;
  MainWindow window(editor, [](int exitCode) { QCoreApplication::exit(exitCode); });
  window.Start();
  if (!file.isEmpty()) window.OpenStartFile(file);
  return QApplication::exec();
}
