#pragma once
// The main window of the Windows program: a modal dialog from template 129
// whose procedure decodes each message into the shared dispatch's event.

#include <windows.h>

#include "render/image.h"

// The procedure of the main window. Its creation parameter is the address of
// the DistributionEditor, which it keeps in the window's user data. Returns 1
// for WM_INITDIALOG and 0 for every other message.
INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The client-area image the main window renders into and shows; null for a
// window that MainDialogProc has not initialised.
Image* ClientImageOf(HWND window);
