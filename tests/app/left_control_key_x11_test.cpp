// The left Control key on X11: the server's key map is asked, so the answer
// holds whichever window has the focus, and the right key does not count.
// Runs under Xvfb; the keys are pressed through the XTEST extension.
#include <QGuiApplication>
#include <QtTest>

#include "app/qt/left_control_key.h"

// Xlib after Qt: its macros would clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

class LeftControlKeyX11Test : public QObject {
  Q_OBJECT

  Display* display_ = nullptr;  // a connection of the test's own, as another program's

  void Press(KeySym key, bool down) {
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, key), down ? True : False, CurrentTime);
    XSync(display_, False);
  }

 private slots:
  void initTestCase() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) QSKIP("needs an X server");
    display_ = XOpenDisplay(nullptr);
    QVERIFY(display_ != nullptr);
  }

  void cleanupTestCase() {
    if (display_ != nullptr) XCloseDisplay(display_);
  }

  void keys_data() {
    QTest::addColumn<qulonglong>("key");
    QTest::addColumn<bool>("counts");
    QTest::newRow("left Control") << qulonglong{XK_Control_L} << true;
    QTest::newRow("right Control") << qulonglong{XK_Control_R} << false;
    QTest::newRow("left Shift") << qulonglong{XK_Shift_L} << false;
  }

  void keys() {
    QFETCH(qulonglong, key);
    QFETCH(bool, counts);
    const LeftControlKey leftControl;  // no window has the focus: the server still answers
    QVERIFY(!leftControl.IsDown());
    Press(key, true);
    const bool down = leftControl.IsDown();
    Press(key, false);
    QCOMPARE(down, counts);
    QVERIFY(!leftControl.IsDown());
  }
};

QTEST_MAIN(LeftControlKeyX11Test)
#include "left_control_key_x11_test.moc"
