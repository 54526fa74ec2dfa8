#pragma once
// The main window of the Linux program: title, menu, the client area, and the
// platform side of the main window's event handling (the Window interface:
// file dialogs, message boxes, information boxes, pointer capture, the left
// Control key, closing and showing the halves) and the keys.

#include <QMainWindow>
#include <functional>

#include "app/dispatch.h"

class ClientArea;
class QSessionManager;
class StatusFields;

class MainWindow : public QMainWindow, public Window {
 public:
  // `quit` ends the program's event loop with an exit code.
  MainWindow(DistributionEditor& editor, std::function<void(int)> quit);

  // The init event: places the window, then shows it, which brings the first
  // size event and with it both halves.
  void Start();

  // Hands one decoded event to the dispatch.
  void Dispatch(const AppEvent& event);

  // Opens a given file (the command line, a drop) as File > Open opens the
  // chosen one: the same messages, and both halves rendered.
  void OpenFile(const QString& path);

  // Opens the command line's file from the event loop, once the window is
  // shown, so a message about it stands over the window. Opened before the
  // window manager has framed the window, its view is fitted again at the
  // final client size, so the first view is the one lumistra-cli renders.
  void OpenStartFile(const QString& path);

  ClientArea& client() { return *client_; }

  // The desktop session is about to end: where the session manager lets the
  // program ask, modified work is asked about as on closing, and a cancel
  // refuses the end. Without that leave nothing is asked and nothing written.
  void AnswerSessionEnd(QSessionManager& manager);

  std::optional<std::string> ChooseSaveFile(std::string_view current, SaveFormat initial) override;
  std::optional<std::string> ChooseOpenFile(std::string_view current) override;
  SaveFormat ChosenSaveFormat() const override { return chosenSaveFormat_; }
  void ShowMessage(std::string_view text, std::string_view caption) override;
  bool AskYesNo(std::string_view text, std::string_view caption) override;
  void CapturePointer() override;
  void ReleasePointer() override;
  bool IsLeftControlDown() override;
  void RunAboutBox() override;
  void RunHelpBox() override;
  void ShowProperties(std::string_view text) override;
  void PlaceAtStart() override;
  void DestroyWindow() override;
  void ShowTitle(const WindowTitle& title) override;
  void ShowNote(std::string_view text) override;
  bool AskFields(std::string_view caption, std::span<AskedField> fields) override;
  void ShowMenuCheck(uint16_t command, bool checked) override;
  SaveChangesAnswer AskSaveChanges(std::string_view text, std::string_view caption) override;
  void PostQuit(int exitCode) override;
  void RenderHalves(Halves halves) override;
  void ShowImage() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  // A drop of a local file opens it; anything else is refused while dragged.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenu();
  void BuildShortcuts();
  void FitOuterSize();

  DistributionEditor& editor_;
  Document document_;
  LampHistory history_;
  SavedState saved_;
  std::function<void(int)> quit_;
  ClientArea* client_ = nullptr;  // owned by the window as its central widget
  StatusFields* status_ = nullptr;  // owned by the status bar
  bool outerSizeFitted_ = false;
  bool fitAtFramedSize_ = false;  // the start file was fitted before the frame was known
  bool destroyed_ = false;
  SaveFormat chosenSaveFormat_ = SaveFormat::kIes;
};
