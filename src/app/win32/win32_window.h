#pragma once
// The Window interface on plain Win32: the main dialog's capture, the left
// Control key, the file dialogs, message and information boxes, closing, and
// showing the client-area image through GDI.

#include <windows.h>
#include <commdlg.h>

#include "app/window.h"
#include "editor/distribution_editor.h"
#include "render/image.h"

enum class FileDialogKind { kOpen, kSave };

// The settings of the open and save dialogs: the size of the structure
// without the later platform versions' fields, the one "IES" filter, filter
// index 1, the name buffer, and the flags of each kind.
OPENFILENAMEA FileDialogSettings(HWND owner, FileDialogKind kind, char* name, DWORD capacity);
extern const char kIesFilter[11];

class Win32Window final : public Window {
 public:
  // Acts on `window` for the duration of one message; renders `editor` into
  // `client`, the image the window keeps between messages.
  Win32Window(HWND window, const DistributionEditor& editor, Image& client)
      : window_(window), editor_(editor), client_(client) {}

  std::optional<std::string> ChooseSaveFile() override;
  std::optional<std::string> ChooseOpenFile() override;
  void ShowMessage(std::string_view text, std::string_view caption) override;

  void CapturePointer() override;
  void ReleasePointer() override;
  bool IsLeftControlDown() override;
  void RunAboutBox() override;
  void RunHelpBox() override;
  void PlaceAtStart() override;
  void DestroyWindow() override;
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
};
