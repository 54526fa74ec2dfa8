#pragma once
// The Window interface on plain Win32: the main dialog's capture, the left
// Control key, the file dialogs, message and information boxes, closing, and
// showing the client-area image through GDI.

#include <windows.h>
#include <commdlg.h>

#include "app/win32/status_bar.h"
#include "app/window.h"
#include "editor/distribution_editor.h"
#include "render/image.h"

enum class FileDialogKind { kOpen, kSave };

// The settings of the open and save dialogs: the size of the structure
// without the later platform versions' fields, the file types of each kind
// ("IES" first), filter index 1, the name buffer, and the flags of each kind.
// The start folder and name are set apart from these (StartIn).
OPENFILENAMEW FileDialogSettings(HWND owner, FileDialogKind kind, wchar_t* name, DWORD capacity);

// The file types of kOpenFileTypes or kSaveFileTypes as the dialog takes them.
const wchar_t* FileTypeFilter(FileDialogKind kind);

// The DPI every size of the program is given for; at it, nothing is scaled.
inline constexpr int kBaseDpi = 96;

// The DPI of the monitor the window is on (the program is per-monitor DPI
// aware through its manifest; without that, always 96).
UINT DpiOf(HWND window);

// The ring labels' scale at a DPI: LabelScale of DPI / 96, as in the Linux program.
int LabelScaleForDpi(UINT dpi);

class Win32Window final : public Window {
 public:
  // Acts on `window` for the duration of one message; renders `editor` into
  // `client`, the image the window keeps between messages. Notes go to
  // `status`, the window's status bar, where there is one. The wall shows
  // `document`'s lamp, where there is one, else the editor's curve.
  Win32Window(HWND window, const DistributionEditor& editor, Image& client,
              StatusBar* status = nullptr, const Document* document = nullptr)
      : window_(window), editor_(editor), client_(client), status_(status), document_(document) {}

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

 private:
  void RunInfoBox(int templateId);
  // Draws the halves into the client image, sized to the editor's client area.
  void DrawHalves(Halves halves);

  HWND window_;
  const DistributionEditor& editor_;
  Image& client_;
  StatusBar* status_;
  const Document* document_;
  SaveFormat chosenSaveFormat_ = SaveFormat::kIes;
};
