#include "app/win32/number_dialog.h"

#include <cassert>
#include <string>

#include "app/ui_text.h"
#include "app/win32/info_dialog.h"
#include "win32_text/wide_text.h"

namespace {

struct NumberDialog {
  std::string_view caption;
  std::span<AskedField> fields;
};

struct Row {
  int label, field;
};
constexpr Row kRows[] = {{IDC_ASK_LABEL1, IDC_ASK_FIELD1}, {IDC_ASK_LABEL2, IDC_ASK_FIELD2}};

// The texts of the asked rows into their labels and fields; the other rows hidden.
void ShowFields(HWND dialog, const NumberDialog& asked) {
  SetWindowTextW(dialog, WideFromUtf8(asked.caption).c_str());
  for (size_t i = 0; i < std::size(kRows); ++i) {
    if (i < asked.fields.size()) {
      SetDlgItemTextW(dialog, kRows[i].label, WideFromUtf8(asked.fields[i].label).c_str());
      SetDlgItemTextW(dialog, kRows[i].field, WideFromUtf8(asked.fields[i].text).c_str());
    } else {
      ShowWindow(GetDlgItem(dialog, kRows[i].label), SW_HIDE);
      ShowWindow(GetDlgItem(dialog, kRows[i].field), SW_HIDE);
      EnableWindow(GetDlgItem(dialog, kRows[i].field), FALSE);  // out of the tab order too
    }
  }
  HWND first = GetDlgItem(dialog, kRows[0].field);
  SendMessageW(first, EM_SETSEL, 0, -1);
  SetFocus(first);
}

std::string FieldText(HWND dialog, int field) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(GetDlgItem(dialog, field))) + 1, L'\0');
  text.resize(static_cast<size_t>(GetDlgItemTextW(dialog, field, text.data(), static_cast<int>(text.size()))));
  return Utf8FromWide(text);
}

// Init fills the rows; OK takes the fields' texts first. OK and Cancel then
// end the dialog as they end the information boxes.
INT_PTR CALLBACK NumberDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    ShowFields(dialog, *reinterpret_cast<const NumberDialog*>(lParam));
    return FALSE;  // the focus is set: the first field
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    auto* asked = reinterpret_cast<NumberDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    for (size_t i = 0; i < asked->fields.size(); ++i) asked->fields[i].text = FieldText(dialog, kRows[i].field);
  }
  return InfoDialogProc(dialog, message, wParam, lParam);
}

}  // namespace

bool RunNumberDialog(HWND owner, std::string_view caption, std::span<AskedField> fields) {
  assert(!fields.empty() && fields.size() <= std::size(kRows) && "the dialog has one or two rows");
  NumberDialog asked{caption, fields};
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ASK_NUMBERS), owner, NumberDialogProc,
                         reinterpret_cast<LPARAM>(&asked)) == IDOK;
}
