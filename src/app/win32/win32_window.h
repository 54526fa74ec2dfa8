#pragma once
// The Window interface on plain Win32: the main dialog's capture, the left
// Control key, the file dialogs, message and information boxes, closing, and
// showing the client-area image through GDI.

#include <windows.h>

#include "app/window.h"
#include "editor/distribution_editor.h"
#include "render/image.h"

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

  HWND window_;
  const DistributionEditor& editor_;
  Image& client_;
};
