// The yardstick for the Linux program's start-up: a bare Qt window of the
// same size with a menu bar and nothing else.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Bare Qt window"));
  QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
  file->addAction(QStringLiteral("&Open..."));
  file->addAction(QStringLiteral("E&xit"), &app, &QApplication::quit);
  window.menuBar()->addMenu(QStringLiteral("&Help"))->addAction(QStringLiteral("&About"));
  window.resize(800, 400 + window.menuBar()->sizeHint().height());
  window.show();
  return QApplication::exec();
}
