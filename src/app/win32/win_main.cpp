// The Windows program's entry: the editor lives in this frame for the whole
// modal run of the main window.
//   lumistra.exe [--help | --version] [FILE]   FILE opens once the window is placed

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lumistra_version.h"

#include "app/ui_text.h"
#include "app/win32/main_dialog.h"
#include "win32_text/wide_text.h"
#include "editor/distribution_editor.h"

namespace {

// The command line as the Linux program reads it: --help and --version, one
// FILE at most, "--" before a name that starts with "-". The texts are the
// Linux program's; here they are shown in a box, as a program without a
// console has no other place for them.
constexpr std::string_view kUsage =
    "Usage: lumistra [options] [FILE]\n"
    "Sketch the light distribution of a lamp and see the light it throws on a wall;\n"
    "open and save it as an IESNA LM-63 photometric file (.ies).\n"
    "\n"
    "Options:\n"
    "  -h, --help     Displays help on commandline options.\n"
    "  -v, --version  Displays version information.\n"
    "\n"
    "Arguments:\n"
    "  FILE           An .ies file to open.\n";

struct CommandLine {
  std::optional<int> exitCode;  // set: the program ends at once with this code
  std::string file;             // UTF-8; empty for none
};

void ShowText(const std::string& text, UINT icon) {
  MessageBoxW(nullptr, WideFromUtf8(text).c_str(), L"lumistra", MB_OK | icon);
}

CommandLine ReadCommandLine() {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return {};
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Utf8FromWide(wide[i]));
  LocalFree(wide);

  std::vector<std::string> files;
  std::string unknown;
  bool onlyFiles = false;
  for (const std::string& argument : arguments) {
    if (onlyFiles || argument.size() < 2 || argument[0] != '-') {
      files.push_back(argument);
    } else if (argument == "--") {
      onlyFiles = true;
    } else if (argument == "-h" || argument == "--help") {
      ShowText(std::string(kUsage), MB_ICONINFORMATION);
      return {0, {}};
    } else if (argument == "-v" || argument == "--version") {
      ShowText("lumistra " LUMISTRA_VERSION_TEXT, MB_ICONINFORMATION);
      return {0, {}};
    } else if (unknown.empty()) {
      unknown = argument.substr(argument.find_first_not_of('-'));
    }
  }
  std::string error;
  if (!unknown.empty()) error = "Unknown option '" + unknown + "'.";
  if (error.empty() && files.size() > 1) error = "Only one file can be opened.";
  if (!error.empty()) {
    ShowText(error + "\n\n" + std::string(kUsage), MB_ICONWARNING);
    return {1, {}};
  }
  return {std::nullopt, files.empty() ? std::string() : files.front()};
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
  const CommandLine commandLine = ReadCommandLine();
  if (commandLine.exitCode) return *commandLine.exitCode;
  DistributionEditor editor;
  const MainWindowStart start{&editor, commandLine.file};
  // Returns once the window is destroyed and its quit message ends the run.
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc,
                  reinterpret_cast<LPARAM>(&start));
  return 0;
}
