// The Windows program's entry: the editor lives in this frame for the whole
// modal run of the main window.
//   lumistra.exe [FILE]   FILE opens once the window is placed

#include <windows.h>
#include <shellapi.h>

#include "app/ui_text.h"
#include "app/win32/main_dialog.h"
#include "win32_text/wide_text.h"
#include "editor/distribution_editor.h"

namespace {

// The first argument after the program's name, UTF-8, or empty. The command
// line is read in UTF-16, so a name in any script arrives whole.
std::string FileArgument() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr) return {};
  std::string file = count >= 2 ? Utf8FromWide(arguments[1]) : std::string();
  LocalFree(arguments);
  return file;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
  DistributionEditor editor;
  const MainWindowStart start{&editor, FileArgument()};
  // Returns once the window is destroyed and its quit message ends the run.
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc,
                  reinterpret_cast<LPARAM>(&start));
  return 0;
}
