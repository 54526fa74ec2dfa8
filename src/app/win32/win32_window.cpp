#include "app/win32/win32_window.h"

#include <commdlg.h>

#include <algorithm>
#include <cstddef>
#include <string>

#include "app/label_scale.h"
#include "app/ui_text.h"
#include "app/win32/info_dialog.h"
#include "app/win32/number_dialog.h"
#include "app/win32/properties_dialog.h"
#include "files/file_commands.h"
#include "render/polar_view.h"
#include "render/wall_view.h"
#include "win32_text/wide_text.h"

namespace {

// The start place of the main window, outer size (frame, caption and menu bar
// included), in pixels of a 96 DPI screen; scaled to the monitor's DPI.
constexpr int kStartX = 200;
constexpr int kStartY = 100;
constexpr int kStartWidth = 800;
constexpr int kStartHeight = 400;

// ---------------------------------------------------------------------------
// File dialogs

// The dialog structure without the fields later platform versions added
// (OPENFILENAME_SIZE_VERSION_400W): up to and including lpTemplateName. In a
// 64-bit program that is 136 bytes; the 76 of a 32-bit program would make the
// platform refuse to open the dialog at all.
// (The header's macro is no constant expression, hence offsetof.)
constexpr DWORD kOpenFileNameSize =
    offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(OPENFILENAMEW::lpTemplateName);
static_assert(sizeof(void*) != 8 || kOpenFileNameSize == 136);

// Room for the longest path the platform has (32767 characters and the
// terminator), so the dialog puts no limit of its own on the name.
constexpr DWORD kFileNameCapacity = 32768;

using FileDialogFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);

// Once there is a file, the dialogs start in its folder, and the save dialog
// with its name in the name field: the whole path there, which the dialog
// splits into folder and name. Without one they start as the platform
// chooses, with an empty name field.
void StartIn(OPENFILENAMEW& dialog, FileDialogKind kind, std::string_view current,
             std::wstring& folder, std::wstring& name) {
  if (current.empty()) return;
  folder = WideFromUtf8(current.substr(0, current.size() - FileNameOf(current).size()));
  dialog.lpstrInitialDir = folder.c_str();
  if (kind != FileDialogKind::kSave) return;
  const std::wstring path = WideFromUtf8(current);
  if (path.size() < name.size()) std::copy(path.begin(), path.end(), name.begin());
}

// `chosenType` gives the index of the file type chosen when the dialog opens
// (0 for the first) and receives the one chosen when a path is returned.
std::optional<std::string> RunFileDialog(HWND owner, FileDialogKind kind, FileDialogFunction show,
                                         std::string_view current, DWORD* chosenType = nullptr) {
  std::wstring name(kFileNameCapacity, L'\0');
  std::wstring folder;
  OPENFILENAMEW dialog = FileDialogSettings(owner, kind, name.data(), kFileNameCapacity);
  StartIn(dialog, kind, current, folder, name);
  // The type chosen at the start: the current file's (the dialog counts from 1).
  if (chosenType != nullptr) dialog.nFilterIndex = *chosenType + 1;
  if (!show(&dialog)) return std::nullopt;  // cancelled, or the dialog failed
  if (chosenType != nullptr) *chosenType = dialog.nFilterIndex - 1;  // the dialog counts from 1
  return Utf8FromWide(name.c_str());  // up to the terminator the dialog wrote
}

// A dialog's file types as the platform takes them: description, NUL,
// pattern, NUL for each, then the NUL of c_str() that ends the list.
template <typename FileTypes>
std::wstring FilterList(const FileTypes& types) {
  std::wstring list;
  for (const auto& type : types) {
    list += WideFromUtf8(type.description) + L'\0' + WideFromUtf8(type.pattern) + L'\0';
  }
  return list;
}

// ---------------------------------------------------------------------------
// Showing the image

// Copies columns [first, first + count) of `image` to the same place in the
// window's client area. The image is a top-down 32-bit DIB as it stands.
void ShowColumns(HDC dc, const Image& image, int first, int count) {
  if (count <= 0 || image.height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // negative: row 0 is the top row
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(dc, first, 0, count, image.height, first, 0, count, image.height,
                image.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

// The right half is shown with the last column of an odd width, which
// belongs to neither half and stays black in the image, as the Linux program
// shows it; the background is never erased, so it must be painted.
void ShowHalves(HDC dc, const Image& image, int halfWidth, Halves halves) {
  if (halves == Halves::kLeft || halves == Halves::kBoth) ShowColumns(dc, image, 0, halfWidth);
  if (halves == Halves::kRight || halves == Halves::kBoth) ShowColumns(dc, image, halfWidth, image.width - halfWidth);
}

}  // namespace

UINT DpiOf(HWND window) {
  const UINT dpi = GetDpiForWindow(window);
  return dpi == 0 ? UINT{kBaseDpi} : dpi;  // 0 for a window handle that is not valid
}

int LabelScaleForDpi(UINT dpi) { return LabelScale(static_cast<double>(dpi) / kBaseDpi); }

const wchar_t* FileTypeFilter(FileDialogKind kind) {
  static const std::wstring open = FilterList(kOpenFileTypes);
  static const std::wstring save = FilterList(kSaveFileTypes);
  return kind == FileDialogKind::kOpen ? open.c_str() : save.c_str();
}

OPENFILENAMEW FileDialogSettings(HWND owner, FileDialogKind kind, wchar_t* name, DWORD capacity) {
  OPENFILENAMEW dialog{};  // no title, folder, default extension, hook or template
  dialog.lStructSize = kOpenFileNameSize;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = FileTypeFilter(kind);
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = name;
  dialog.nMaxFile = capacity;
  // Save: only the folder must exist, so that a new file can be named, and
  // the dialog asks before an existing file is replaced. Open: an existing
  // file, and no "Open as read-only" box, which the program would not honour.
  dialog.Flags = kind == FileDialogKind::kSave ? OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT
                                               : OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  return dialog;
}

std::optional<std::string> Win32Window::ChooseSaveFile(std::string_view current, SaveFormat initial) {
  DWORD chosenType = static_cast<DWORD>(SaveFileTypeIndex(initial));
  std::optional<std::string> path =
      RunFileDialog(window_, FileDialogKind::kSave, GetSaveFileNameW, current, &chosenType);
  chosenSaveFormat_ = SaveFormatAt(chosenType);
  return path;
}

std::optional<std::string> Win32Window::ChooseOpenFile(std::string_view current) {
  return RunFileDialog(window_, FileDialogKind::kOpen, GetOpenFileNameW, current);
}

void Win32Window::ShowMessage(std::string_view text, std::string_view caption) {
  MessageBoxW(window_, WideFromUtf8(text).c_str(), WideFromUtf8(caption).c_str(), MB_OK);
}

bool Win32Window::AskYesNo(std::string_view text, std::string_view caption) {
  return MessageBoxW(window_, WideFromUtf8(text).c_str(), WideFromUtf8(caption).c_str(),
                     MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

SaveChangesAnswer Win32Window::AskSaveChanges(std::string_view text, std::string_view caption) {
  // Yes is the first button and so the default; N chooses No, Escape and the
  // close box Cancel.
  switch (MessageBoxW(window_, WideFromUtf8(text).c_str(), WideFromUtf8(caption).c_str(),
                      MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES:
      return SaveChangesAnswer::kSave;
    case IDNO:
      return SaveChangesAnswer::kDontSave;
    default:
      return SaveChangesAnswer::kCancel;  // also when the box could not be shown
  }
}

void Win32Window::ShowTitle(const WindowTitle& title) {
  // The main window is an ANSI dialog: SetWindowTextW would pass the text
  // through its ANSI procedure and the code page, which turns a name in
  // another script into question marks. The default procedure of wide
  // windows stores the text as it is.
  DefWindowProcW(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WideFromUtf8(CaptionOf(title)).c_str()));
}

void Win32Window::CapturePointer() { SetCapture(window_); }

void Win32Window::ReleasePointer() { ReleaseCapture(); }

bool Win32Window::IsLeftControlDown() {
  // The first read clears the "pressed since the last read" bit, which may
  // stem from long ago; the second then says whether the key is down now (or
  // went down between the two reads).
  GetAsyncKeyState(VK_LCONTROL);
  return GetAsyncKeyState(VK_LCONTROL) != 0;
}

void Win32Window::RunInfoBox(int templateId) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window_, GWLP_HINSTANCE));
  DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), window_, InfoDialogProc, 0);
}

bool Win32Window::AskFields(std::string_view caption, std::span<AskedField> fields) {
  return RunNumberDialog(window_, caption, fields);
}

void Win32Window::ShowMenuCheck(uint16_t command, bool checked) {
  CheckMenuItem(GetMenu(window_), command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void Win32Window::RunAboutBox() { RunInfoBox(IDD_ABOUT); }

void Win32Window::RunHelpBox() { RunInfoBox(IDD_HELP); }

void Win32Window::ShowProperties(std::string_view text) { RunPropertiesDialog(window_, text); }

namespace {

// `wanted` moved and, where it is larger, cut to lie within `area`.
RECT WithinArea(RECT wanted, const RECT& area) {
  const LONG width = std::min(wanted.right - wanted.left, area.right - area.left);
  const LONG height = std::min(wanted.bottom - wanted.top, area.bottom - area.top);
  const LONG left = std::max(area.left, std::min(wanted.left, area.right - width));
  const LONG top = std::max(area.top, std::min(wanted.top, area.bottom - height));
  return {left, top, left + width, top + height};
}

}  // namespace

void Win32Window::PlaceAtStart() {
  // The outer size: the size event this causes reports a smaller client area.
  const int dpi = static_cast<int>(DpiOf(window_));
  const auto scaled = [dpi](int pixels) { return MulDiv(pixels, dpi, kBaseDpi); };
  const int left = scaled(kStartX), top = scaled(kStartY);
  RECT place{left, top, left + scaled(kStartWidth), top + scaled(kStartHeight)};
  // A high DPI on a small screen: the window stays within the work area of
  // the screen it opens on, taskbar excluded.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor)) {
    place = WithinArea(place, monitor.rcWork);
  }
  MoveWindow(window_, place.left, place.top, place.right - place.left, place.bottom - place.top, FALSE);
}

void Win32Window::DestroyWindow() { ::DestroyWindow(window_); }

void Win32Window::PostQuit(int exitCode) { PostQuitMessage(exitCode); }

void Win32Window::DrawHalves(Halves halves) {
  // The image follows the editor's client size; it is reallocated only when
  // that changes, never on a pointer move.
  if (client_.width != editor_.clientWidth || client_.height != editor_.clientHeight) {
    client_ = Image(editor_.clientWidth, editor_.clientHeight);
  }
  if (halves == Halves::kLeft || halves == Halves::kBoth) {
    DrawPolar(editor_, client_, LabelScaleForDpi(DpiOf(window_)));
  }
  if (halves == Halves::kRight || halves == Halves::kBoth) {
    if (document_ != nullptr) {
      DrawWall(editor_, document_->lamp(), document_->sectionC(), client_);
    } else {
      DrawWall(editor_, client_);
    }
  }
}

void Win32Window::RenderHalves(Halves halves) {
  DrawHalves(halves);
  HDC dc = GetDC(window_);
  ShowHalves(dc, client_, editor_.halfWidth(), halves);
  ReleaseDC(window_, dc);
}

void Win32Window::ShowImage() {
  // A paint draws both halves from the editor as it stands, so a window
  // uncovered in the middle of a stroke shows the wall of the curve so far.
  DrawHalves(Halves::kBoth);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  ShowHalves(dc, client_, editor_.halfWidth(), Halves::kBoth);
  EndPaint(window_, &paint);
}

void Win32Window::ShowNote(std::string_view text) {
  if (status_ != nullptr) status_->ShowNote(text);
}
