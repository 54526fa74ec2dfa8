// The Linux program: one editor for the run, one main window, and the event
// loop until the window is destroyed.
#include <QApplication>

#include "app/qt/app_icon.h"
#include "app/qt/main_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // The program ends only by the quit that destroying the main window posts.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setWindowIcon(AppIcon());

  DistributionEditor editor;
  MainWindow window(editor, [](int exitCode) { QCoreApplication::exit(exitCode); });
  window.Start();
  return QApplication::exec();
}
