#pragma once
// The main window of the Windows program: a modal dialog from template 129
// whose procedure decodes each message into the shared dispatch's event.

#include <windows.h>

#include <string>

#include "editor/distribution_editor.h"
#include "render/image.h"

// What the main window starts with; its creation parameter is the address of
// one of these, which must outlive the window.
struct MainWindowStart {
  DistributionEditor* editor = nullptr;  // kept in the window's user data
  std::string openFile;                  // UTF-8; opened once the window is placed; empty: none
};

// Posted to the main window by its init: open the start file, which the
// window keeps itself. Its parameters carry nothing, so the same message from
// another program opens at most that file, once, and never reads its memory.
inline constexpr UINT kOpenStartFileMessage = WM_APP + 1;

// The procedure of the main window. Returns 1 for WM_INITDIALOG and
// WM_DPICHANGED (it moves the window to the suggested rectangle) and 0 for
// every other message.
INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The client-area image the main window renders into and shows; null for a
// window that MainDialogProc has not initialised.
Image* ClientImageOf(HWND window);
