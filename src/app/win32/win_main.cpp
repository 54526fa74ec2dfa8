// The Windows program's entry: the editor lives in this frame for the whole
// modal run of the main window.

#include <windows.h>

#include "app/ui_text.h"
#include "app/win32/main_dialog.h"
#include "editor/distribution_editor.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
  DistributionEditor editor;
  // Returns once the window is destroyed and its quit message ends the run.
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc,
                  reinterpret_cast<LPARAM>(&editor));
  return 0;
}
