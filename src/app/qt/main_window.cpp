#include "app/qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSessionManager>
#include <QShortcut>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include "app/qt/app_icon.h"
#include "app/qt/client_area.h"
#include "app/qt/info_box.h"
#include "app/qt/number_dialog.h"
#include "app/qt/properties_box.h"
#include "app/qt/status_fields.h"
#include "app/shortcuts.h"
#include "app/ui_text.h"

namespace {

// Where the window opens and its outer size, frame, title and menu included.
constexpr QPoint kStartPosition(200, 100);
constexpr QSize kStartOuterSize(800, 400);

QString Latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// "IES (*.ies)" and the others of a dialog's file types.
template <typename FileTypes>
QStringList NameFilters(const FileTypes& types) {
  QStringList filters;
  for (const auto& type : types) {
    filters << Latin1(type.description) + QStringLiteral(" (") + Latin1(type.pattern) + u')';
  }
  return filters;
}

// A menu item; an item without text is a separator.
struct MenuItem {
  const char* text;
  uint16_t command;
};

// The menu items whose check the dispatch shows (ShowMenuCheck).
bool IsCheckable(uint16_t command) { return command == IDM_KEEP_FLUX; }

constexpr MenuItem kFileMenu[] = {{TEXT_MENU_OPEN, IDM_OPEN},
                                  {TEXT_MENU_SAVE, IDM_SAVE},
                                  {TEXT_MENU_RESET, IDM_RESET},
                                  {TEXT_MENU_EXIT, IDM_EXIT}};
constexpr MenuItem kLampMenu[] = {{TEXT_MENU_NEW_LAMP, IDM_NEW_LAMP},
                                  {TEXT_MENU_SCALE_TO_FLUX, IDM_SCALE_TO_FLUX},
                                  {TEXT_MENU_SCALE_TO_PEAK, IDM_SCALE_TO_PEAK},
                                  {TEXT_MENU_BEAM_ANGLE, IDM_BEAM_ANGLE},
                                  {nullptr, 0},
                                  {TEXT_MENU_KEEP_FLUX, IDM_KEEP_FLUX},
                                  {nullptr, 0},
                                  {TEXT_MENU_PROPERTIES, IDM_PROPERTIES}};
constexpr MenuItem kHelpMenu[] = {{TEXT_MENU_ABOUT, IDM_ABOUT},
                                  {TEXT_MENU_HOW_TO_USE, IDM_HOW_TO_USE}};

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The save dialog asks before it returns an existing file (Qt's own question).
// Once there is a file, both dialogs start in its folder, the save dialog
// with its name filled in. `chosenType` gives the index of the file type
// chosen when the dialog opens and receives the one chosen when a path is
// returned.
std::optional<std::string> RunFileDialog(QWidget* owner, QFileDialog::AcceptMode mode,
                                         std::string_view current, qsizetype* chosenType = nullptr) {
  QFileDialog dialog(owner);
  dialog.setNameFilters(mode == QFileDialog::AcceptOpen ? NameFilters(kOpenFileTypes)
                                                        : NameFilters(kSaveFileTypes));
  dialog.setAcceptMode(mode);
  // The type chosen at the start: the current file's.
  if (chosenType != nullptr) dialog.selectNameFilter(dialog.nameFilters().value(*chosenType));
  if (mode == QFileDialog::AcceptOpen) {
    dialog.setFileMode(QFileDialog::ExistingFile);  // only an existing file can be chosen
  } else {
    dialog.setFileMode(QFileDialog::AnyFile);  // a new name may be typed
  }
  if (!current.empty()) {
    const QFileInfo file(QFile::decodeName(QByteArray(current.data(), static_cast<qsizetype>(current.size()))));
    dialog.setDirectory(file.absolutePath());
    if (mode == QFileDialog::AcceptSave) dialog.selectFile(file.fileName());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  if (chosenType != nullptr) *chosenType = dialog.nameFilters().indexOf(dialog.selectedNameFilter());
  return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

// The first local file among the dragged items, or an empty string when
// there is none (web addresses, text, files of a remote share given by URL).
QString FirstLocalFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) return url.toLocalFile();
  return {};
}

// Takes a drag or drop of a local file as a copy, whatever the source
// proposes: a move would tell the file manager to delete the file, which is
// only read here.
bool TakeAsCopy(QDropEvent* event) {
  if (FirstLocalFile(event->mimeData()).isEmpty() ||
      !(event->possibleActions() & Qt::CopyAction)) {
    event->ignore();
    return false;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
  return true;
}

}  // namespace

MainWindow::MainWindow(DistributionEditor& editor, std::function<void(int)> quit)
    : editor_(editor),
      history_(Lamp::OfCurve(editor.curve)),
      saved_(Lamp::OfCurve(editor.curve)),
      quit_(std::move(quit)) {
  document_.StartNew(Lamp::OfCurve(editor.curve));
  setWindowTitle(QString::fromLatin1(TEXT_TITLE));
  connect(qApp, &QGuiApplication::commitDataRequest, this,
          [this](QSessionManager& manager) { AnswerSessionEnd(manager); });
  setWindowIcon(AppIcon());
  BuildMenu();
  BuildShortcuts();
  client_ = new ClientArea(editor_, document_, [this](const AppEvent& event) { Dispatch(event); }, this);
  setCentralWidget(client_);
  status_ = new StatusFields(*statusBar(), *client_, editor_, document_);
  setAcceptDrops(true);  // over the whole window, menu bar included
}

void MainWindow::BuildMenu() {
  const auto addMenu = [this](const char* title, const auto& items) {
    QMenu* menu = menuBar()->addMenu(QString::fromLatin1(title));
    for (const MenuItem& item : items) {
      if (item.text == nullptr) {
        menu->addSeparator();
        continue;
      }
      const uint16_t command = item.command;
      QAction* action = menu->addAction(QString::fromLatin1(item.text));
      action->setData(command);
      action->setCheckable(IsCheckable(command));
      connect(action, &QAction::triggered, this, [this, action, command] {
        // A checkable item shows what the dispatch says (ShowMenuCheck), not
        // Qt's own turn of the check.
        if (action->isCheckable()) action->setChecked(!action->isChecked());
        AppEvent event;
        event.kind = EventKind::kCommand;
        event.command = command;
        Dispatch(event);
      });
    }
  };
  addMenu(TEXT_MENU_FILE, kFileMenu);
  addMenu(TEXT_MENU_LAMP, kLampMenu);
  addMenu(TEXT_MENU_HELP, kHelpMenu);
}

// The keys act wherever the keyboard is in this window. They are shortcuts
// of the window, not of the menu items, so the menus show no key text.
void MainWindow::BuildShortcuts() {
  for (const Shortcut& shortcut : kShortcuts) {
    // Letters and digits agree; the named keys are Qt's own.
    const int key = shortcut.key == kKeyF1         ? int{Qt::Key_F1}
                    : shortcut.key == kKeyPageDown ? int{Qt::Key_PageDown}
                    : shortcut.key == kKeyPageUp   ? int{Qt::Key_PageUp}
                                                   : shortcut.key;
    Qt::KeyboardModifiers modifiers;
    if (shortcut.modifiers & kControl) modifiers |= Qt::ControlModifier;
    if (shortcut.modifiers & kShift) modifiers |= Qt::ShiftModifier;
    if (shortcut.modifiers & kAlt) modifiers |= Qt::AltModifier;
    auto* keys = new QShortcut(QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key))), this);
    keys->setContext(Qt::WindowShortcut);
    AppEvent event;
    event.kind = shortcut.kind;
    event.command = shortcut.command;
    connect(keys, &QShortcut::activated, this, [this, event] { Dispatch(event); });
  }
}

void MainWindow::Start() {
  AppEvent init;
  init.kind = EventKind::kInit;
  Dispatch(init);
  show();
  client_->setFocus();
}

void MainWindow::Dispatch(const AppEvent& event) {
  if (destroyed_) return;  // nothing reaches a window that is gone
  DispatchEvent(editor_, document_, history_, saved_, *this, event);
  if (!destroyed_) status_->Follow(event);
}

void MainWindow::OpenFile(const QString& path) {
  const QByteArray name = QFile::encodeName(path);  // the file system's bytes, UTF-8
  AppEvent open;
  open.kind = EventKind::kOpenFile;
  open.path = std::string_view(name.constData(), static_cast<size_t>(name.size()));
  Dispatch(open);
}

void MainWindow::OpenStartFile(const QString& path) {
  QTimer::singleShot(0, this, [this, path] {
    const Curve before = editor_.curve;
    OpenFile(path);
    fitAtFramedSize_ = !outerSizeFitted_ && editor_.curve != before;
  });
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  TakeAsCopy(event);  // not taken: the pointer shows that it cannot be dropped here
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) { TakeAsCopy(event); }

void MainWindow::dropEvent(QDropEvent* event) {
  if (!TakeAsCopy(event)) return;
  const QString path = FirstLocalFile(event->mimeData());
  // Opened from the event loop: a message box run inside the drop would keep
  // the program the file came from waiting for the drop to end.
  QTimer::singleShot(0, this, [this, path] { OpenFile(path); });
}

std::optional<std::string> MainWindow::ChooseSaveFile(std::string_view current, SaveFormat initial) {
  qsizetype chosenType = static_cast<qsizetype>(SaveFileTypeIndex(initial));
  std::optional<std::string> path = RunFileDialog(this, QFileDialog::AcceptSave, current, &chosenType);
  chosenSaveFormat_ = SaveFormatAt(static_cast<size_t>(chosenType));  // -1 (none) is out of range
  return path;
}

std::optional<std::string> MainWindow::ChooseOpenFile(std::string_view current) {
  return RunFileDialog(this, QFileDialog::AcceptOpen, current);
}

void MainWindow::ShowMessage(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::NoIcon, FromUtf8(caption), FromUtf8(text), QMessageBox::Ok, this);
  box.exec();
}

bool MainWindow::AskYesNo(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::Warning, FromUtf8(caption), FromUtf8(text),
                  QMessageBox::Yes | QMessageBox::No, this);
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

SaveChangesAnswer MainWindow::AskSaveChanges(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::Warning, FromUtf8(caption), FromUtf8(text),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
  box.button(QMessageBox::Discard)->setText(QString::fromLatin1(TEXT_DONT_SAVE));
  box.setDefaultButton(QMessageBox::Save);
  box.setEscapeButton(QMessageBox::Cancel);  // also closing the box
  switch (box.exec()) {
    case QMessageBox::Save:
      return SaveChangesAnswer::kSave;
    case QMessageBox::Discard:
      return SaveChangesAnswer::kDontSave;
    default:
      return SaveChangesAnswer::kCancel;
  }
}

void MainWindow::ShowNote(std::string_view text) { status_->ShowNote(text); }

bool MainWindow::AskFields(std::string_view caption, std::span<AskedField> fields) {
  return RunNumberDialog(this, caption, fields);
}

void MainWindow::ShowMenuCheck(uint16_t command, bool checked) {
  for (QAction* popup : menuBar()->actions()) {
    for (QAction* item : popup->menu()->actions()) {
      if (item->isCheckable() && item->data().toUInt() == command) item->setChecked(checked);
    }
  }
}

void MainWindow::ShowTitle(const WindowTitle& title) {
  // Qt's window-modified mark shows the '*' where the title begins with its
  // placeholder "[*]". A name with "[*]" in it would be taken for that
  // placeholder, so such a title is given as plain text, "[*][*]" standing
  // for "[*]", and without the mark.
  const QString text = FromUtf8(title.text);
  const QString placeholder = QStringLiteral("[*]");
  if (text.contains(placeholder)) {
    setWindowModified(false);
    setWindowTitle(FromUtf8(CaptionOf(title)).replace(placeholder, QStringLiteral("[*][*]")));
    return;
  }
  setWindowTitle(placeholder + text);
  setWindowModified(title.modified);
}

void MainWindow::AnswerSessionEnd(QSessionManager& manager) {
  if (destroyed_ || !manager.allowsInteraction()) return;
  if (!AllowSessionEnd(document_, saved_, *this)) manager.cancel();
  manager.release();
}

void MainWindow::CapturePointer() { client_->SetCaptured(true); }

void MainWindow::ReleasePointer() { client_->SetCaptured(false); }

bool MainWindow::IsLeftControlDown() { return client_->IsLeftControlDown(); }

void MainWindow::RunAboutBox() { RunInfoBox(this, InfoBox::kAbout); }

void MainWindow::RunHelpBox() { RunInfoBox(this, InfoBox::kHelp); }

void MainWindow::ShowProperties(std::string_view text) { RunPropertiesBox(this, text); }

void MainWindow::PlaceAtStart() {
  // move() places the frame's corner; resize() sets the size inside the frame.
  // Some platforms know the frame once the native window exists, others only
  // when the window manager has put one around the shown window: the size
  // starts as the outer size, and FitOuterSize takes the frame off as soon as
  // it is known.
  move(kStartPosition);
  resize(kStartOuterSize);
  create();
  FitOuterSize();
}

void MainWindow::FitOuterSize() {
  const QWindow* native = windowHandle();
  if (native == nullptr) return;
  const QMargins margins = native->frameMargins();
  const QSize frame(margins.left() + margins.right(), margins.top() + margins.bottom());
  if (frame.width() <= 0 || frame.height() <= 0) return;  // no frame (yet)
  outerSizeFitted_ = true;
  resize(kStartOuterSize - frame);
}

bool MainWindow::event(QEvent* event) {
  // The frame is known at the latest when the window manager has moved the
  // window into it.
  const QEvent::Type type = event->type();
  if (!outerSizeFitted_ && isVisible() &&
      (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize))
    FitOuterSize();
  const bool handled = QMainWindow::event(event);
  // The client area has its new size by now (the layout set it).
  if (type == QEvent::Resize && outerSizeFitted_ && fitAtFramedSize_) {
    fitAtFramedSize_ = false;
    AppEvent fit;
    fit.kind = EventKind::kFitView;
    Dispatch(fit);
  }
  return handled;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The close box is the close event; the dispatch destroys the window.
  event->ignore();
  AppEvent close;
  close.kind = EventKind::kClose;
  Dispatch(close);
}

void MainWindow::DestroyWindow() {
  hide();
  AppEvent destroy;
  destroy.kind = EventKind::kDestroy;
  Dispatch(destroy);
  destroyed_ = true;
}

void MainWindow::PostQuit(int exitCode) { quit_(exitCode); }

void MainWindow::RenderHalves(Halves halves) { client_->Render(halves); }

void MainWindow::ShowImage() { client_->update(); }
