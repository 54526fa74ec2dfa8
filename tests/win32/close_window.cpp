// Asks a running program to close as the close box does: finds its top-level
// window by title (waiting up to ten seconds) and posts WM_CLOSE to it.
//   close_window.exe TITLE
// Exit code 0 when the message was posted, 1 when no such window appeared.

#include <windows.h>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (HWND window = FindWindowA(nullptr, argv[1])) {
      return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    Sleep(100);
  }
  return 1;
}
