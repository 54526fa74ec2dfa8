// lumistra-cli's entry on Linux and on Windows: the arguments become UTF-8,
// the output goes to the standard streams, and RunCli does the rest.
//
// On Windows the arguments are read in UTF-16 (wmain, linked with -municode)
// so that file names in any script arrive whole, and text meant for a console
// window is written in UTF-16 too; a pipe or a file gets the UTF-8 bytes,
// with "\n" line ends as on Linux, so scripts see the same bytes everywhere.
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "win32_text/wide_text.h"
#endif

namespace {

#ifdef _WIN32

class StandardStreams : public Console {
 public:
  void Out(std::string_view text) override { Write(STD_OUTPUT_HANDLE, stdout, text); }
  void Err(std::string_view text) override { Write(STD_ERROR_HANDLE, stderr, text); }

 private:
  static void Write(DWORD which, std::FILE* stream, std::string_view text) {
    const HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode)) {
      const std::wstring wide = WideFromUtf8(text);
      DWORD written = 0;
      WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
      std::fwrite(text.data(), 1, text.size(), stream);
    }
  }
};

#else

class StandardStreams : public Console {
 public:
  void Out(std::string_view text) override { std::fwrite(text.data(), 1, text.size(), stdout); }
  void Err(std::string_view text) override { std::fwrite(text.data(), 1, text.size(), stderr); }
};

#endif

int Run(const std::vector<std::string>& args) {
  StandardStreams console;
  int status = kExitUnusable;
  try {
    status = RunCli(args, console);
  } catch (const std::bad_alloc&) {
    console.Err("lumistra-cli: not enough memory\n");
    return kExitUnusable;
  } catch (const std::exception& error) {
    console.Err(std::string("lumistra-cli: ") + error.what() + "\n");
    return kExitUnusable;
  }
  // Output that could not be written (a full disk) is a failure too.
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    console.Err("lumistra-cli: could not write the standard output\n");
    return status == kExitOk ? kExitUnusable : status;
  }
  return status;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t* argv[]) {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Utf8FromWide(argv[i]));
  return Run(args);
}
#else
int main(int argc, char* argv[]) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return Run(args);
}
#endif
