// The Linux program: the command line, one editor for the run, one main
// window, and the event loop until the window is destroyed.
#include <QApplication>
#include <QTimer>

#include "app/qt/app_icon.h"
#include "app/qt/command_line.h"
#include "app/qt/main_window.h"

int main(int argc, char* argv[]) {
  QCoreApplication::setApplicationName(QStringLiteral("lumistra"));
  QCoreApplication::setApplicationVersion(QStringLiteral(LUMISTRA_VERSION));

  // The command line is read under a console application object, which
  // needs no display: --help and --version work over ssh and in scripts.
  QString file;
  {
    QCoreApplication console(argc, argv);
    const CommandLine commandLine = ReadCommandLine(QCoreApplication::arguments());
    if (commandLine.exitCode) return *commandLine.exitCode;
    file = commandLine.file;
  }

  QApplication app(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral(LUMISTRA_APP_ID));  // its desktop entry
  // The program ends only by the quit that destroying the main window posts.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setWindowIcon(AppIcon());

  DistributionEditor editor;
  MainWindow window(editor, [](int exitCode) { QCoreApplication::exit(exitCode); });
  window.Start();
  // The file opens from the event loop, once the window is placed and shown,
  // so a message about it stands over the window.
  if (!file.isEmpty()) QTimer::singleShot(0, &window, [&window, file] { window.OpenFile(file); });
  return QApplication::exec();
}
