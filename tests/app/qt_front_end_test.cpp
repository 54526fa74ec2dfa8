// The Linux program driven by real Qt events: menu, commands, dialogs, strokes,
// the wheel with either Control key, closing. Mouse events go through the
// window system layer (QTest's QWindow functions), so double clicks and the
// implicit grab behave as on a desktop.
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

#include "app/qt/client_area.h"
#include "app/qt/main_window.h"
#include "app/status_text.h"
#include "app/ui_text.h"

namespace {

// The main window, recording the halves it is asked to render and the exit
// code it ends the program with.
class RecordingMainWindow final : public MainWindow {
 public:
  explicit RecordingMainWindow(DistributionEditor& editor)
      : MainWindow(editor, [this](int code) { exitCode = code; }) {}

  void RenderHalves(Halves halves) override {
    static const char* const kNames[] = {"none", "left", "right", "both"};
    renders << QString::fromLatin1(kNames[static_cast<int>(halves)]);
    MainWindow::RenderHalves(halves);
  }

  QStringList renders;
  int exitCode = -1;
};

// Calls `answer` with the next modal dialog that opens (of `kind`, when
// given), from inside that dialog's own event loop.
void AnswerNextModal(std::function<void(QWidget*)> answer, const char* kind = nullptr) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, answer, kind] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() || (kind && !modal->inherits(kind))) return;
    timer->stop();
    timer->deleteLater();
    answer(modal);
  });
  timer->start();
}

// The texts of a box's labels from top to bottom.
QStringList LabelTexts(const QWidget* box) {
  QList<QLabel*> labels = box->findChildren<QLabel*>();
  labels.removeIf([](const QLabel* label) { return label->text().isEmpty(); });
  std::sort(labels.begin(), labels.end(),
            [](const QLabel* a, const QLabel* b) { return a->y() < b->y(); });
  QStringList texts;
  for (const QLabel* label : labels) texts << label->text();
  return texts;
}

bool CurveIsZero(const DistributionEditor& editor) {
  return std::all_of(editor.curve.begin(), editor.curve.end(), [](float s) { return s == 0.0f; });
}

}  // namespace

class QtFrontEndTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<DistributionEditor> editor_;
  std::unique_ptr<RecordingMainWindow> window_;
  QStringList startRenders_;

  ClientArea& client() { return window_->client(); }
  double ratio() { return client().devicePixelRatioF(); }

  // A window position from a client-area device position; QTest positions
  // are logical and relative to the top-level window.
  QPoint At(double deviceX, double deviceY) {
    const QPoint logical(static_cast<int>(std::floor(deviceX / ratio())),
                         static_cast<int>(std::floor(deviceY / ratio())));
    return client().mapTo(window_.get(), logical);
  }
  // A window position at this offset in device pixels from the diagram's pole.
  QPoint FromPole(double dx, double dy) { return At(editor_->centerX + dx, editor_->centerY + dy); }

  QAction* MenuAction(const char* text) {
    for (QAction* popup : window_->menuBar()->actions())
      for (QAction* item : popup->menu()->actions())
        if (item->text() == QLatin1String(text)) return item;
    return nullptr;
  }

  void SendWheel(int amount, QPoint angleDelta = {}, Qt::KeyboardModifiers modifiers = {}) {
    const QPointF where(client().width() * 0.75, client().height() * 0.5);
    if (angleDelta.isNull()) angleDelta = QPoint(0, amount);
    QWheelEvent wheel(where, client().mapToGlobal(where), QPoint(), angleDelta,
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&client(), &wheel);
  }

  // A Control key event with the native codes of an X11 keyboard: keycode 37
  // and keysym Control_L for the left key, 105 and Control_R for the right.
  void SendControl(QEvent::Type type, bool left) {
    QKeyEvent key(type, Qt::Key_Control,
                  type == QEvent::KeyPress ? Qt::ControlModifier : Qt::NoModifier,
                  left ? 37u : 105u, left ? 0xFFE3u : 0xFFE4u, 0u);
    QApplication::sendEvent(&client(), &key);
  }

 private slots:
  void init() {
    editor_ = std::make_unique<DistributionEditor>();
    window_ = std::make_unique<RecordingMainWindow>(*editor_);
    window_->Start();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    startRenders_ = window_->renders;
    // Qt drops a move to where the previous test left the pointer: two moves
    // make the next one of a test arrive whatever its position.
    QTest::mouseMove(window_->windowHandle(), At(1, 1));
    QTest::mouseMove(window_->windowHandle(), At(2, 2));
    window_->renders.clear();
  }

  void cleanup() {
    window_.reset();
    editor_.reset();
  }

  void startPlacesTheWindowAndRendersBothHalvesOnce() {
    QCOMPARE(window_->windowTitle(), QStringLiteral(TEXT_TITLE));
    QCOMPARE(window_->frameGeometry(), QRect(200, 100, 800, 400));
    QCOMPARE(startRenders_, QStringList{"both"});
    // The nominal 800 x 400 geometry is mapped onto the client area in device pixels.
    const QSize device = client().DeviceSize();
    QCOMPARE(editor_->clientWidth, device.width());
    QCOMPARE(editor_->clientHeight, device.height());
    QVERIFY(editor_->clientHeight < 400 * ratio());  // the menu bar takes its share
    QCOMPARE(client().image().size(), device);
    QCOMPARE(client().image().devicePixelRatio(), ratio());
    QVERIFY(CurveIsZero(*editor_));
  }

  void statusBarFollowsThePointerBelowTheViews() {
    // The views fill the client area down to the bar; the editor has their size.
    QStatusBar* bar = window_->statusBar();
    QCOMPARE(client().geometry().bottom() + 1, bar->geometry().top());
    QCOMPARE(QSize(editor_->clientWidth, editor_->clientHeight), client().DeviceSize());
    const auto field = [bar](const char* name) { return bar->findChild<QLabel*>(name)->text(); };
    QTest::mouseMove(window_->windowHandle(), FromPole(100 * ratio(), 0));
    QVERIFY(field("pointer").startsWith(QStringLiteral("90\u00b0  curve 0 cd  pointer ")));
    QCOMPARE(field("pointer"), QString::fromStdString(StatusTextsFor(*editor_, Document(), true).pointer));
    QCOMPARE(field("lamp"), QStringLiteral("light 0.1 m from the wall"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&client(), &leave);
    QCOMPARE(field("pointer"), QString());
    // Page Down turns the drawn lamp: the bar names the section shown.
    window_->renders.clear();
    QTest::keyClick(&client(), Qt::Key_PageDown);
    QCOMPARE(window_->renders, QStringList{"both"});
    QCOMPARE(field("lamp"), QStringLiteral("section C 90° | 270°  light 0.1 m from the wall"));
  }

  void menuHasTheCaptionsInOrder() {
    QStringList popups;
    QStringList items;
    for (QAction* popup : window_->menuBar()->actions()) {
      popups << popup->text();
      for (QAction* item : popup->menu()->actions()) items << item->text();
    }
    QCOMPARE(popups, (QStringList{TEXT_MENU_FILE, TEXT_MENU_LAMP, TEXT_MENU_HELP}));
    QCOMPARE(items, (QStringList{"Open", "Save", "Reset", "E&xit", "&New lamp...", "Scale to &flux...",
                                 "Scale to &peak...", "&Beam angle...", "", "&Keep flux while drawing", "",
                                 "P&roperties...", "&About ...", "How to use"}));
    QVERIFY(MenuAction(TEXT_MENU_KEEP_FLUX)->isCheckable());
  }

  void paintAndResize() {
    client().repaint();
    QVERIFY2(window_->renders.isEmpty(), "a paint only shows the image");
    window_->resize(500, 300);
    QCOMPARE(window_->renders, QStringList{"both"});
    QCOMPARE(client().image().size(), client().DeviceSize());
  }

  void resetRendersBothAndClearsTheCurve() {
    editor_->curve.fill(1.0f);
    window_->renders.clear();
    MenuAction(TEXT_MENU_RESET)->trigger();
    QCOMPARE(window_->renders, QStringList{"both"});
    QVERIFY(CurveIsZero(*editor_));
  }

  void openCancelledRendersBothAndKeepsTheCurve() {
    editor_->curve[30] = 2.0f;
    window_->renders.clear();
    bool asked = false;
    AnswerNextModal([&asked](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog != nullptr);
      asked = true;
      QCOMPARE(dialog->nameFilters(), (QStringList{"IES (*.ies)", "EULUMDAT (*.ldt)"}));
      QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("IES (*.ies)"));
      QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
      QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
      dialog->reject();
    });
    MenuAction(TEXT_MENU_OPEN)->trigger();
    QVERIFY(asked);
    QCOMPARE(window_->renders, QStringList{"both"});
    QCOMPARE(editor_->curve[30], 2.0f);
  }

  void openReadsTheChosenFile() {
    const QString path = QStringLiteral(IES_CORPUS "/iesna91-bega-axial.ies");
    QVERIFY2(QFile::exists(path), "the dialog would refuse a missing file with a box of its own");
    window_->renders.clear();
    AnswerNextModal([&path](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog != nullptr);
      dialog->selectFile(path);
      static_cast<QDialog*>(dialog)->accept();  // as the dialog's Open or Save button does
    });
    MenuAction(TEXT_MENU_OPEN)->trigger();
    QCOMPARE(window_->renders, QStringList{"both"});
    QVERIFY(!CurveIsZero(*editor_));
  }

  void saveWritesANewNameAndRendersNothing() {
    QTemporaryDir folder;
    editor_->curve.fill(1.0f);
    window_->renders.clear();
    AnswerNextModal([&folder](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog != nullptr);
      QCOMPARE(dialog->nameFilters(),
               (QStringList{"IES (*.ies)", "IES LM-63-2019 (*.ies)", "EULUMDAT (*.ldt)"}));
      QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("IES (*.ies)"));
      QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
      QCOMPARE(dialog->fileMode(), QFileDialog::AnyFile);
      QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
      // Typed, does not exist yet.
      dialog->selectFile(folder.filePath(QString::fromUtf8("Lüfter φως 灯")));
      static_cast<QDialog*>(dialog)->accept();  // as the dialog's Open or Save button does
    });
    MenuAction(TEXT_MENU_SAVE)->trigger();
    QVERIFY(window_->renders.isEmpty());
    QVERIFY(QFile::exists(folder.filePath(QString::fromUtf8("Lüfter φως 灯.ies"))));
    QCOMPARE(window_->windowHandle()->title(), QString::fromUtf8("Lüfter φως 灯.ies - Lumistra"));
  }

  void saveAsEulumdatAndOpenIt() {
    QTemporaryDir folder;
    editor_->curve.fill(2.0f);
    AnswerNextModal([&folder](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog != nullptr);
      dialog->selectNameFilter(QStringLiteral("EULUMDAT (*.ldt)"));
      dialog->selectFile(folder.filePath(QStringLiteral("lamp")));
      static_cast<QDialog*>(dialog)->accept();
    });
    window_->Dispatch({EventKind::kLeftUp, 0, 0, 0, 0, {}});  // a stroke's end takes the curve into the lamp
    MenuAction(TEXT_MENU_SAVE)->trigger();
    editor_->ResetCurve();
    window_->OpenFile(folder.filePath(QStringLiteral("lamp.ldt")));  // read by its content
    QVERIFY(std::all_of(editor_->curve.begin(), editor_->curve.end(),
                        [](float sample) { return std::fabs(sample - 2.0f) < 1e-6f; }));
    // Save of the opened .ldt starts with its name and its type.
    AnswerNextModal([](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog != nullptr);
      QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("EULUMDAT (*.ldt)"));
      QCOMPARE(dialog->selectedFiles().value(0).section('/', -1), QStringLiteral("lamp.ldt"));
      dialog->reject();
    });
    MenuAction(TEXT_MENU_SAVE)->trigger();
  }

  void saveAsksBeforeReplacingAFile_data() {
    QTest::addColumn<bool>("replace");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
  }

  void saveAsksBeforeReplacingAFile() {
    QFETCH(bool, replace);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("old.ies"));
    {
      QFile old(path);
      QVERIFY(old.open(QIODevice::WriteOnly));
      old.write("old contents");
    }
    AnswerNextModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog != nullptr);
      dialog->selectFile(path);
      AnswerNextModal([replace](QWidget* question) {  // Qt's own, from inside the dialog
        static_cast<QMessageBox*>(question)->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
      }, "QMessageBox");
      static_cast<QDialog*>(dialog)->accept();  // as the dialog's Open or Save button does
      if (dialog->isVisible()) dialog->reject();  // No returns to the dialog
    });
    MenuAction(TEXT_MENU_SAVE)->trigger();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll() == "old contents", !replace);
  }

  void messageBoxHasOnlyOkAndNoIcon() {
    AnswerNextModal([](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box != nullptr);
      QCOMPARE(box->windowTitle(), QStringLiteral("Can't save file"));
      QCOMPARE(box->text(), QStringLiteral("IES Saving"));
      QCOMPARE(box->icon(), QMessageBox::NoIcon);
      QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
      box->accept();
    });
    window_->ShowMessage("IES Saving", "Can't save file");
  }

  void infoBoxes_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("closeKey");  // 0: the OK button is clicked
    const QStringList about{TEXT_ABOUT_VERSION};
    const QStringList help{TEXT_HELP_LINE1, TEXT_HELP_LINE2, TEXT_HELP_LINE3, TEXT_HELP_LINE4,
                           TEXT_HELP_LINE5};
    QTest::newRow("About, OK") << TEXT_MENU_ABOUT << "About" << about << 0;
    QTest::newRow("About, Escape") << TEXT_MENU_ABOUT << "About" << about << int(Qt::Key_Escape);
    QTest::newRow("About, Enter") << TEXT_MENU_ABOUT << "About" << about << int(Qt::Key_Return);
    QTest::newRow("Help, OK") << TEXT_MENU_HOW_TO_USE << "Help" << help << 0;
    QTest::newRow("Help, Escape") << TEXT_MENU_HOW_TO_USE << "Help" << help << int(Qt::Key_Escape);
  }

  void infoBoxes() {
    QFETCH(QString, item);
    QFETCH(QString, caption);
    QFETCH(QStringList, texts);
    QFETCH(int, closeKey);
    window_->renders.clear();
    bool shown = false;
    AnswerNextModal([&](QWidget* modal) {
      auto* box = qobject_cast<QDialog*>(modal);
      QVERIFY(box != nullptr);
      shown = true;
      QCOMPARE(box->windowTitle(), caption);
      QCOMPARE(LabelTexts(box), texts);
      const QList<QPushButton*> buttons = box->findChildren<QPushButton*>();
      QCOMPARE(buttons.size(), 1);
      QCOMPARE(buttons[0]->text(), QStringLiteral("OK"));
      QVERIFY(buttons[0]->isDefault());
      if (caption == QLatin1String("About")) {
        const auto labels = box->findChildren<QLabel*>();
        QVERIFY(std::any_of(labels.begin(), labels.end(),
                            [](const QLabel* l) { return !l->pixmap().isNull(); }));
      }
      if (closeKey == 0)
        QTest::mouseClick(buttons[0], Qt::LeftButton);
      else
        QTest::keyClick(box, Qt::Key(closeKey));
    });
    MenuAction(item.toLatin1().constData())->trigger();
    QVERIFY(shown);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(window_->renders.isEmpty());
  }

  // The text read-only in a fixed-width font; Enter reaches OK, not the text.
  void propertiesBoxShowsTheTextAndClosesWithEnter() {
    window_->renders.clear();
    QString caption, text;
    bool readOnly = false, fixedWidth = false;
    AnswerNextModal([&](QWidget* modal) {
      caption = modal->windowTitle();
      if (const auto* shown = modal->findChild<QPlainTextEdit*>()) {
        text = shown->toPlainText();
        readOnly = shown->isReadOnly();
        const QFontMetrics metrics(shown->font());
        fixedWidth = metrics.horizontalAdvance(u'i') == metrics.horizontalAdvance(u'W');
      }
      QTest::keyClick(modal, Qt::Key_Return);
    });
    MenuAction(TEXT_MENU_PROPERTIES)->trigger();
    QCOMPARE(caption, QStringLiteral(TEXT_PROPERTIES_CAPTION));
    QVERIFY2(text.startsWith(QStringLiteral("This lamp is drawn, not read from a file.")), qPrintable(text));
    QVERIFY(readOnly);
    QVERIFY(fixedWidth);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(window_->renders.isEmpty());
  }

  void strokeBecomesSamplesWithTheRendersOfThePolicy() {
    QWindow* w = window_->windowHandle();
    QTest::mouseMove(w, FromPole(0, 60));
    window_->renders.clear();
    QTest::mousePress(w, Qt::LeftButton, {}, FromPole(0, 60));
    QTest::mouseMove(w, FromPole(30, 50));
    QTest::mouseMove(w, FromPole(50, 30));
    QTest::mouseMove(w, FromPole(60, 0));
    QTest::mouseRelease(w, Qt::LeftButton, {}, FromPole(60, 0));
    QCOMPARE(window_->renders, (QStringList{"left", "left", "left", "left", "right"}));
    QCOMPARE(editor_->drawing, 0);
    for (int degree : {0, 30, 60, 90}) QVERIFY2(editor_->curve[degree] > 0.0f, "swept");
    QCOMPARE(editor_->curve[120], 0.0f);
  }

  void movesOutsideCountOnlyDuringAStroke() {
    QWindow* w = window_->windowHandle();
    QTest::mouseMove(w, FromPole(0, 60));
    const int32_t lastX = editor_->lastX;
    QTest::mouseMove(w, QPoint(-20, -30));  // no button: not this window's
    QCOMPARE(editor_->lastX, lastX);
    QTest::mouseMove(w, FromPole(0, 60));
    QTest::mousePress(w, Qt::LeftButton, {}, FromPole(0, 60));
    window_->renders.clear();
    QTest::mouseMove(w, QPoint(-20, -30));  // captured: it comes, in client coordinates
    const QPoint client = window_->client().mapFrom(window_.get(), QPoint(-20, -30));
    QCOMPARE(editor_->lastX, static_cast<int32_t>(std::floor(client.x() * ratio())));
    QCOMPARE(editor_->lastY, static_cast<int32_t>(std::floor(client.y() * ratio())));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(-20, -30));
    QCOMPARE(window_->renders, (QStringList{"left", "right"}));
    QCOMPARE(editor_->drawing, 0);
  }

  void doubleClickStartsNoStroke() {
    QWindow* w = window_->windowHandle();
    QTest::mouseMove(w, FromPole(0, 60));
    window_->renders.clear();
    // Press, release, the second press as the double click, its release.
    QTest::mouseDClick(w, Qt::LeftButton, {}, FromPole(0, 60));
    QCOMPARE(window_->renders, (QStringList{"left", "right", "right"}));
    QCOMPARE(editor_->drawing, 0);
  }

  void middleButtonPansTheDiagram() {
    QWindow* w = window_->windowHandle();
    QTest::mouseMove(w, FromPole(0, 60));
    const float centerX = editor_->centerX;
    const int32_t lastX = editor_->lastX;
    window_->renders.clear();
    QTest::mousePress(w, Qt::MiddleButton, {}, FromPole(0, 60));
    QCOMPARE(editor_->panning, 1);
    QTest::mouseMove(w, FromPole(20, 60));
    QVERIFY(editor_->lastX > lastX);
    QCOMPARE(editor_->centerX, centerX + static_cast<float>(editor_->lastX - lastX));
    QTest::mouseRelease(w, Qt::MiddleButton, {}, FromPole(0, 60));
    QCOMPARE(editor_->panning, 0);
    QCOMPARE(window_->renders, QStringList{"left"});  // the move only
  }

  void aPanReleasedOutsideEndsThere() {
    QWindow* w = window_->windowHandle();
    QTest::mouseMove(w, FromPole(0, 60));
    QTest::mousePress(w, Qt::MiddleButton, {}, FromPole(0, 60));
    QTest::mouseMove(w, QPoint(-20, -30));  // outside: the pan follows
    QTest::mouseRelease(w, Qt::MiddleButton, {}, QPoint(-20, -30));
    QCOMPARE(editor_->panning, 0);
    const float centerX = editor_->centerX;
    QTest::mouseMove(w, FromPole(40, 40));  // back, no button held
    QCOMPARE(editor_->centerX, centerX);
  }

  // The number dialog's refusal, one row of the dispatch's table: a beam
  // typed as a word gets a message and changes nothing.
  void newLampRefusesAWordForTheBeam() {
    QString message;
    AnswerNextModal([&](QWidget* dialog) {
      QCOMPARE(dialog->windowTitle(), QStringLiteral(TEXT_NEW_LAMP_CAPTION));
      const QList<QLineEdit*> fields = dialog->findChildren<QLineEdit*>();
      QCOMPARE(fields.size(), 2);
      QCOMPARE(fields[0]->text() + " " + fields[1]->text(), QStringLiteral("30 1000"));
      fields[0]->setText(QStringLiteral("wide"));
      AnswerNextModal([&](QWidget* box) {
        message = static_cast<QMessageBox*>(box)->text();
        QTest::keyClick(box, Qt::Key_Return);
      }, "QMessageBox");
      QTest::keyClick(fields[0], Qt::Key_Return);  // OK, the default button
    }, "QDialog");
    MenuAction(TEXT_MENU_NEW_LAMP)->trigger();
    QVERIFY2(message.startsWith(QStringLiteral("\"wide\" is not a number.")), qPrintable(message));
    QVERIFY(CurveIsZero(*editor_));
    QVERIFY(window_->renders.isEmpty());
  }

  void aMenuTakingThePointerEndsTheStroke() {
    QWindow* w = window_->windowHandle();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    client().setFocus();
    QTest::mouseMove(w, FromPole(0, 60));
    QTest::mousePress(w, Qt::LeftButton, {}, FromPole(0, 60));
    QTest::mouseMove(w, FromPole(30, 50));
    window_->renders.clear();
    QMenu* file = window_->menuBar()->actions().constFirst()->menu();
    file->popup(window_->mapToGlobal(QPoint(0, 0)));  // as Alt+F does
    QVERIFY(QTest::qWaitForWindowExposed(file));
    QCOMPARE(editor_->drawing, 0);
    QCOMPARE(window_->renders, QStringList{"right"});  // the wall shows the stroke
    file->close();
    const auto curve = editor_->curve;
    QTest::mouseMove(w, FromPole(-50, -20));  // plain hovering draws nothing
    QTest::mouseMove(w, FromPole(60, 10));
    QVERIFY(editor_->curve == curve);
  }

  void aScreenOfAnotherRatioResizesTheImage() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.size() < 2) QSKIP("needs the two screens of offscreen_screens.json");
    QScreen* other = screens[0] == window_->screen() ? screens[1] : screens[0];
    QVERIFY(other->devicePixelRatio() != ratio());
    window_->renders.clear();
    window_->windowHandle()->setScreen(other);
    QCOMPARE(ratio(), other->devicePixelRatio());
    QCOMPARE(window_->renders, QStringList{"both"});
    QCOMPARE(QSize(editor_->clientWidth, editor_->clientHeight), client().DeviceSize());
    QCOMPARE(client().image().size(), client().DeviceSize());
    QCOMPARE(client().image().devicePixelRatio(), ratio());
  }

  void labelScaleNeverExceedsTheRatio_data() {
    QTest::addColumn<double>("ratio");
    QTest::addColumn<int>("scale");
    QTest::newRow("1") << 1.0 << 1;
    QTest::newRow("1.25") << 1.25 << 1;
    QTest::newRow("1.5") << 1.5 << 1;  // was 2: labels overlapped
    QTest::newRow("2") << 2.0 << 2;
    QTest::newRow("just below 2") << 1.9999999 << 2;
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("3") << 3.0 << 3;
  }

  void labelScaleNeverExceedsTheRatio() {
    QFETCH(double, ratio);
    QFETCH(int, scale);
    QCOMPARE(LabelScale(ratio), scale);
  }

  void wheelWithEitherControlKey_data() {
    QTest::addColumn<double>("where");  // the pointer's place, a fraction of the client width
    QTest::addColumn<int>("control");   // 0 none, 1 left key, 2 right key, 3 left key then focus lost
    QTest::addColumn<QString>("rendered");
    QTest::addColumn<QString>("changed");
    QTest::newRow("diagram") << 0.25 << 0 << "left" << "polarScale";
    // Over the diagram the key does not matter.
    QTest::newRow("diagram, left Control") << 0.25 << 1 << "left" << "polarScale";
    QTest::newRow("wall") << 0.75 << 0 << "right" << "wallScale";
    QTest::newRow("wall, left Control") << 0.75 << 1 << "right" << "wallDistance";
    // Only the left key moves the light.
    QTest::newRow("wall, right Control") << 0.75 << 2 << "right" << "wallScale";
    // A key whose release may go to another window is forgotten.
    QTest::newRow("wall, left Control, focus lost") << 0.75 << 3 << "right" << "wallScale";
  }

  void wheelWithEitherControlKey() {
    QFETCH(double, where);
    QFETCH(int, control);
    QFETCH(QString, rendered);
    QFETCH(QString, changed);
    QWindow* w = window_->windowHandle();
    QTest::mouseMove(w, At(editor_->clientWidth * where, editor_->clientHeight / 2.0));
    if (control != 0) SendControl(QEvent::KeyPress, control != 2);
    if (control == 3) {
      QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
      QApplication::sendEvent(&client(), &focusOut);
    }
    const float polarScale = editor_->polarScale;
    const float wallScale = editor_->wallScale;
    const float wallDistance = editor_->wallDistance;
    window_->renders.clear();
    SendWheel(120);
    QCOMPARE(window_->renders, QStringList{rendered});
    QCOMPARE(editor_->polarScale != polarScale, changed == QLatin1String("polarScale"));
    QCOMPARE(editor_->wallScale != wallScale, changed == QLatin1String("wallScale"));
    QCOMPARE(editor_->wallDistance != wallDistance, changed == QLatin1String("wallDistance"));
  }

  void wheelWithAltHeldActsAsWithout() {
    // Qt turns a vertical turn with Alt held into a horizontal one.
    QTest::mouseMove(window_->windowHandle(), At(editor_->clientWidth * 0.25, editor_->clientHeight / 2.0));
    const float polarScale = editor_->polarScale;
    window_->renders.clear();
    SendWheel(0, QPoint(120, 0), Qt::AltModifier);
    QCOMPARE(window_->renders, QStringList{"left"});
    QVERIFY(qAbs(editor_->polarScale / polarScale - 1.2712492f) < 1e-5f);  // one notch in
    // Without Alt a horizontal turn is not this window's.
    window_->renders.clear();
    SendWheel(0, QPoint(120, 0));
    QVERIFY(window_->renders.isEmpty());
  }

  void escapeAndEnterInTheMainWindowDoNothing() {
    window_->renders.clear();
    QTest::keyClick(&client(), Qt::Key_Escape);
    QTest::keyClick(&client(), Qt::Key_Return);
    QVERIFY(window_->isVisible());
    QVERIFY(window_->renders.isEmpty());
    QCOMPARE(window_->exitCode, -1);
  }

  // Real key presses, to the client area and to the window around it: the
  // keys act wherever the keyboard is in the window.
  void keysUndoRedoAndFit_data() {
    QTest::addColumn<QList<QKeyCombination>>("keys");
    QTest::addColumn<bool>("toWindow");        // sent to the main window, not the client area
    QTest::addColumn<bool>("drawnAfter");      // the stroke is there after the keys
    QTest::addColumn<QStringList>("rendered");  // by the keys
    const auto ctrl = [](Qt::Key key) { return QKeyCombination(Qt::ControlModifier, key); };
    const QKeyCombination ctrlShiftZ(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
    QTest::newRow("Ctrl+Z") << QList{ctrl(Qt::Key_Z)} << false << false << QStringList{"both"};
    QTest::newRow("Ctrl+Z to the window") << QList{ctrl(Qt::Key_Z)} << true << false
                                          << QStringList{"both"};
    QTest::newRow("Ctrl+Z, Ctrl+Y") << QList{ctrl(Qt::Key_Z), ctrl(Qt::Key_Y)} << false << true
                                    << QStringList{"both", "both"};
    QTest::newRow("Ctrl+Z, Ctrl+Shift+Z") << QList{ctrl(Qt::Key_Z), ctrlShiftZ} << true << true
                                          << QStringList{"both", "both"};
    QTest::newRow("Ctrl+0") << QList{ctrl(Qt::Key_0)} << false << true << QStringList{"both"};
    QTest::newRow("Z alone") << QList{QKeyCombination(Qt::Key_Z)} << false << true
                             << QStringList{};
  }

  void keysUndoRedoAndFit() {
    QFETCH(QList<QKeyCombination>, keys);
    QFETCH(bool, toWindow);
    QFETCH(bool, drawnAfter);
    QFETCH(QStringList, rendered);
    QWindow* w = window_->windowHandle();
    QTest::mouseMove(w, FromPole(0, 60));
    QTest::mousePress(w, Qt::LeftButton, {}, FromPole(0, 60));
    QTest::mouseMove(w, FromPole(60, 0));
    QTest::mouseRelease(w, Qt::LeftButton, {}, FromPole(60, 0));
    const auto drawn = editor_->curve;
    const float polarScale = editor_->polarScale;
    window_->renders.clear();
    QWidget* target = toWindow ? static_cast<QWidget*>(window_.get()) : &client();
    for (const QKeyCombination key : keys) QTest::keyClick(target, key.key(), key.keyboardModifiers());
    QCOMPARE(window_->renders, rendered);
    QCOMPARE(editor_->curve == drawn, drawnAfter);
    QCOMPARE(CurveIsZero(*editor_), !drawnAfter);
    const bool fitted = keys.constFirst() == QKeyCombination(Qt::ControlModifier, Qt::Key_0);
    QCOMPARE(editor_->polarScale != polarScale, fitted);
  }

  void keysOpenTheirBoxes_data() {
    QTest::addColumn<QKeyCombination>("key");
    QTest::addColumn<QString>("caption");  // of the box, or the file dialog's accept mode
    QTest::addColumn<QStringList>("rendered");
    QTest::newRow("Ctrl+O") << QKeyCombination(Qt::ControlModifier, Qt::Key_O) << "open"
                            << QStringList{"both"};
    QTest::newRow("Ctrl+S") << QKeyCombination(Qt::ControlModifier, Qt::Key_S) << "save"
                            << QStringList{};
    QTest::newRow("F1") << QKeyCombination(Qt::Key_F1) << TEXT_HELP_CAPTION << QStringList{};
  }

  void keysOpenTheirBoxes() {
    QFETCH(QKeyCombination, key);
    QFETCH(QString, caption);
    QFETCH(QStringList, rendered);
    QString seen;
    AnswerNextModal([&seen](QWidget* modal) {
      auto* box = qobject_cast<QDialog*>(modal);
      QVERIFY(box != nullptr);
      if (auto* dialog = qobject_cast<QFileDialog*>(box))
        seen = dialog->acceptMode() == QFileDialog::AcceptOpen ? "open" : "save";
      else
        seen = box->windowTitle();
      box->reject();
    });
    QTest::keyClick(&client(), key.key(), key.keyboardModifiers());
    QCOMPARE(seen, caption);
    QCOMPARE(window_->renders, rendered);
  }

  void menusShowNoKeys() {
    for (QAction* popup : window_->menuBar()->actions())
      for (QAction* item : popup->menu()->actions()) QVERIFY(item->shortcuts().isEmpty());
  }

  // The program itself, without a display: --help and --version answer
  // before any window; the rest is read once Qt has taken its own options.
  void commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");  // the start of standard output
    QTest::addColumn<QString>("err");  // the start of standard error
    const QString usage = QStringLiteral("Usage: " LUMISTRA_PROGRAM " [options] [FILE]\n");
    QTest::newRow("--help") << QStringList{"--help"} << 0 << usage << "";
    QTest::newRow("--version") << QStringList{"--version"} << 0
                               << "lumistra " LUMISTRA_VERSION "\n" << "";
    const QStringList offscreen{"-platform", "offscreen"};
    QTest::newRow("unknown option") << offscreen + QStringList{"--frobnicate", "lamp.ies"} << 1
                                    << "" << "Unknown option 'frobnicate'.\n\n" + usage;
    QTest::newRow("two files") << offscreen + QStringList{"a.ies", "b.ies"} << 1 << ""
                               << "Only one file can be opened.\n\n" + usage;
    // A restored session's options are Qt's, not a file nor an unknown option.
    QTest::newRow("-session") << offscreen + QStringList{"-session", "1234abc", "-style", "fusion",
                                                         "a.ies", "b.ies"}
                              << 1 << "" << "Only one file can be opened.\n\n" + usage;
  }

  void commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    const QTemporaryDir runtime;  // for -platform offscreen, which asks for one
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(LUMISTRA_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(30000));
    const QString stdOut = QString::fromLocal8Bit(program.readAllStandardOutput());
    const QString stdErr = QString::fromLocal8Bit(program.readAllStandardError());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.startsWith(out), qPrintable(stdOut));
    QVERIFY2(err.isEmpty() ? stdErr.isEmpty() : stdErr.startsWith(err), qPrintable(stdErr));
  }

  // The file of `lumistra FILE`, opened on the shown window as main() does.
  void openFileOverTheShownWindow_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");  // empty: none
    QTest::newRow("usable") << IES_CORPUS "/iesna91-bega-axial.ies" << "";
    QTest::newRow("missing") << IES_CORPUS "/no such lamp.ies"
                             << "Could not open no such lamp.ies: No such file or directory.";
  }

  void openFileOverTheShownWindow() {
    QFETCH(QString, path);
    QFETCH(QString, message);
    QString shown;
    if (!message.isEmpty()) {
      AnswerNextModal([this, &shown](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box != nullptr);
        QCOMPARE(box->parentWidget(), window_.get());
        QCOMPARE(box->windowTitle(), QStringLiteral("Can't open file"));
        shown = box->text();
        box->accept();
      });
    }
    window_->OpenFile(path);
    QCOMPARE(shown, message);
    QCOMPARE(window_->renders, QStringList{"both"});
    QCOMPARE(CurveIsZero(*editor_), !message.isEmpty());  // the program goes on with the empty curve
    QVERIFY(window_->isVisible());
  }

  // Drags as a file manager or a browser makes them, taken by the window or
  // refused, and a taken one dropped.
  void drop_data() {
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<bool>("taken");
    const QUrl lamp = QUrl::fromLocalFile(IES_CORPUS "/iesna91-bega-axial.ies");
    const QUrl typeB = QUrl::fromLocalFile(IES_CORPUS "/iesna91-mdl-typeb.ies");
    QTest::newRow("one local file") << QList<QUrl>{lamp} << true;
    // The first opens; the second, unusable, would show a message.
    QTest::newRow("several files") << QList<QUrl>{lamp, typeB} << true;
    QTest::newRow("web address")
        << QList<QUrl>{QUrl(QStringLiteral("https://example.com/lamp.ies"))} << false;
    QTest::newRow("text, no files") << QList<QUrl>{} << false;
  }

  void drop() {
    QFETCH(QList<QUrl>, urls);
    QFETCH(bool, taken);
    QMimeData data;
    if (urls.isEmpty())
      data.setText(QStringLiteral("TILT=NONE"));
    else
      data.setUrls(urls);
    const QPoint where = At(editor_->clientWidth / 2.0, editor_->clientHeight / 2.0);
    // A file manager offers a move too; the window takes a copy, so that
    // the file manager never deletes the file it was dragged from.
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(where, offered, &data, Qt::LeftButton, {});
    enter.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(window_.get(), &enter);
    QCOMPARE(enter.isAccepted(), taken);
    if (!taken) return;
    QCOMPARE(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(where, offered, &data, Qt::LeftButton, {});
    drop.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(window_.get(), &drop);
    QVERIFY(drop.isAccepted());
    QCOMPARE(drop.dropAction(), Qt::CopyAction);
    QTRY_COMPARE(window_->renders, QStringList{"both"});  // opened from the event loop
    QVERIFY(!CurveIsZero(*editor_));
  }

  // A stroke marks the title; a close asks, and Escape keeps the window.
  void closingModifiedWorkAsks() {
    QWindow* w = window_->windowHandle();
    QTest::mouseMove(w, FromPole(0, 60));
    QTest::mousePress(w, Qt::LeftButton, {}, FromPole(0, 60));
    QTest::mouseRelease(w, Qt::LeftButton, {}, FromPole(0, 60));
    QCOMPARE(w->title(), QStringLiteral("*Lumistra"));
    AnswerNextModal([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box != nullptr);
      QCOMPARE(box->parentWidget(), window_.get());
      QCOMPARE(box->windowTitle() + ": " + box->text(), "Lumistra: Save the changes to the curve?");
      QCOMPARE(box->button(QMessageBox::Discard)->text(), QStringLiteral("Do&n't Save"));
      QCOMPARE(box->defaultButton(), box->button(QMessageBox::Save));
      QTest::keyClick(box, Qt::Key_Escape);
    });
    window_->close();
    QVERIFY(window_->isVisible());
    QCOMPARE(window_->exitCode, -1);
  }

  void closingEndsTheProgramWithZero_data() {
    QTest::addColumn<bool>("byCloseBox");
    QTest::newRow("close box") << true;
    QTest::newRow("File > Exit") << false;
  }

  void closingEndsTheProgramWithZero() {
    QFETCH(bool, byCloseBox);
    if (byCloseBox)
      window_->close();
    else
      MenuAction(TEXT_MENU_EXIT)->trigger();
    QCOMPARE(window_->exitCode, 0);
    QVERIFY(!window_->isVisible());
  }
};

QTEST_MAIN(QtFrontEndTest)
#include "qt_front_end_test.moc"
