#include "app/win32/info_dialog.h"

INT_PTR CALLBACK InfoDialogProc(HWND box, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;  // the platform gives the default button the focus
    case WM_COMMAND: {
      // Enter and the OK button arrive as IDOK; Escape and the close box as IDCANCEL.
      const WORD command = LOWORD(wParam);
      if (command == IDOK || command == IDCANCEL) {
        EndDialog(box, command);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}
