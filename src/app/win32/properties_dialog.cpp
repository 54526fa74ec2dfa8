#include "app/win32/properties_dialog.h"

#include <string>

#include "app/ui_text.h"
#include "app/win32/info_dialog.h"
#include "win32_text/wide_text.h"

namespace {

// An edit control breaks lines at "\r\n" only.
std::wstring WithWindowsLineEnds(std::string_view text) {
  std::wstring wide = WideFromUtf8(text), out;
  out.reserve(wide.size() + wide.size() / 16);
  for (wchar_t c : wide) {
    if (c == L'\n') out += L'\r';
    out += c;
  }
  return out;
}

// The dialog's own font in a fixed-width face of the same height, so that
// the findings' columns line up at any DPI.
HFONT FixedFontLike(HWND dialog) {
  LOGFONTW font{};
  const auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  if (dialogFont == nullptr || GetObjectW(dialogFont, sizeof font, &font) == 0) font.lfHeight = -12;
  font.lfWidth = 0;
  font.lfWeight = FW_NORMAL;
  font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  lstrcpynW(font.lfFaceName, L"Courier New", LF_FACESIZE);
  return CreateFontIndirectW(&font);
}

// Init shows the text, in the font the box owns until it is destroyed, with
// the focus on OK (a text given the focus would show itself all selected).
INT_PTR CALLBACK PropertiesDialogProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    HWND text = GetDlgItem(box, IDC_PROPERTIES_TEXT);
    HFONT font = FixedFontLike(box);
    SetWindowLongPtrW(box, DWLP_USER, reinterpret_cast<LONG_PTR>(font));
    SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowTextW(text, reinterpret_cast<const std::wstring*>(lParam)->c_str());
    SetFocus(GetDlgItem(box, IDOK));
    return FALSE;  // the focus is set
  }
  if (message == WM_DESTROY) {
    DeleteObject(reinterpret_cast<HFONT>(GetWindowLongPtrW(box, DWLP_USER)));
    return FALSE;
  }
  return InfoDialogProc(box, message, wParam, lParam);
}

}  // namespace

void RunPropertiesDialog(HWND owner, std::string_view text) {
  const std::wstring shown = WithWindowsLineEnds(text);
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_PROPERTIES), owner, PropertiesDialogProc,
                  reinterpret_cast<LPARAM>(&shown));
}
