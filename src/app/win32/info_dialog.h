#pragma once
// The procedure of the two information boxes (About, template 103, and help,
// template 130): OK and Cancel end the box with their own identifier. The
// number dialog ends the same way.

#include <windows.h>

INT_PTR CALLBACK InfoDialogProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
