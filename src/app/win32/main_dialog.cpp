#include "app/win32/main_dialog.h"

#include <shellapi.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "app/dispatch.h"
#include "app/saved_state.h"
#include "app/shortcuts.h"
#include "win32_text/wide_text.h"
#include "app/ui_text.h"
#include "app/win32/status_bar.h"
#include "app/win32/win32_window.h"
#include "editor/lamp_history.h"
#include "editor/distribution_editor.h"

namespace {

// ---------------------------------------------------------------------------
// Decoding a message's parameters

// A 16-bit half taken as a signed value: positions left of or above the
// client area arrive as 0xFFFF and below while the pointer is captured.
int32_t SignedHalf(uint16_t half) { return static_cast<int16_t>(half); }

int32_t LowSigned(LPARAM value) { return SignedHalf(LOWORD(value)); }
int32_t HighSigned(LPARAM value) { return SignedHalf(HIWORD(value)); }

AppEvent PositionEvent(EventKind kind, LPARAM lParam) {
  AppEvent event;
  event.kind = kind;
  event.x = LowSigned(lParam);
  event.y = HighSigned(lParam);
  return event;
}

AppEvent PlainEvent(EventKind kind) {
  AppEvent event;
  event.kind = kind;
  return event;
}

// The event of a key going down, or nothing: letters and digits are their
// own virtual-key codes, and the modifiers are read as they were when the key
// went down. Escape and Enter are no shortcuts: the dialog manager turns them
// into commands 2 and 1, which do nothing.
std::optional<AppEvent> KeyEvent(WPARAM virtualKey) {
  const ShortcutKey key = virtualKey == VK_F1     ? kKeyF1
                          : virtualKey == VK_NEXT  ? kKeyPageDown
                          : virtualKey == VK_PRIOR ? kKeyPageUp
                                                   : static_cast<ShortcutKey>(virtualKey);
  uint32_t modifiers = kNoModifier;
  if (GetKeyState(VK_CONTROL) < 0) modifiers |= kControl;
  if (GetKeyState(VK_SHIFT) < 0) modifiers |= kShift;
  if (GetKeyState(VK_MENU) < 0) modifiers |= kAlt;
  return ShortcutEvent(key, modifiers);
}

// The path of the first file of a drop, UTF-8; the drop's memory is released.
std::string FirstDroppedFile(HDROP drop) {
  std::wstring name(DragQueryFileW(drop, 0, nullptr, 0), L'\0');
  DragQueryFileW(drop, 0, name.data(), static_cast<UINT>(name.size() + 1));
  DragFinish(drop);
  return Utf8FromWide(name);
}

AppEvent OpenFileEvent(std::string_view path) {
  AppEvent event = PlainEvent(EventKind::kOpenFile);
  event.path = path;
  return event;
}

// The dispatch's event for a message, or nothing for a message the main
// window leaves to the platform (among them every double click but the left
// one, and every right-button message). An open-file event's path is kept in
// `path`, which outlives the dispatch. `startFile` is the start file not yet
// opened (empty once it was).
std::optional<AppEvent> Decode(UINT message, WPARAM wParam, LPARAM lParam, std::string& path,
                               std::string& startFile) {
  switch (message) {
    case WM_INITDIALOG:
      return PlainEvent(EventKind::kInit);
    case WM_SIZE:  // the new client width and height
      return PositionEvent(EventKind::kSize, lParam);
    case WM_PAINT:
      return PlainEvent(EventKind::kPaint);
    case WM_MOUSEMOVE:
      return PositionEvent(EventKind::kPointerMove, lParam);
    case WM_LBUTTONDOWN:
      return PlainEvent(EventKind::kLeftDown);  // acts at the last move's position
    case WM_LBUTTONUP:
      return PlainEvent(EventKind::kLeftUp);
    case WM_LBUTTONDBLCLK:
      return PlainEvent(EventKind::kLeftDoubleClick);
    case WM_MBUTTONDOWN:
      return PlainEvent(EventKind::kMiddleDown);
    case WM_MBUTTONUP:
      return PlainEvent(EventKind::kMiddleUp);
    case WM_CANCELMODE:  // a dialog or menu is about to take the pointer
      return PlainEvent(EventKind::kCaptureLost);
    case WM_MOUSEWHEEL: {
      // The rotation is the high word of the first parameter; its low word
      // (key flags) and the position in the second are not used.
      AppEvent event = PlainEvent(EventKind::kWheel);
      event.amount = SignedHalf(HIWORD(wParam));
      return event;
    }
    case WM_COMMAND: {
      // Only the identifier counts: a menu item, an accelerator or a control
      // with the same identifier act alike.
      AppEvent event = PlainEvent(EventKind::kCommand);
      event.command = LOWORD(wParam);
      return event;
    }
    case WM_KEYDOWN:
      return KeyEvent(wParam);
    case WM_SYSKEYDOWN:
      // While no window of the program holds the keyboard focus, the active
      // window gets its keys as system keys, without Alt (bit 29 clear).
      if ((lParam & (LPARAM{1} << 29)) != 0) return std::nullopt;
      return KeyEvent(wParam);
    case WM_DROPFILES:  // only the first file of several opens
      path = FirstDroppedFile(reinterpret_cast<HDROP>(wParam));
      return OpenFileEvent(path);
    case kOpenStartFileMessage:
      path = std::exchange(startFile, {});
      if (path.empty()) return std::nullopt;
      return OpenFileEvent(path);
    case WM_CLOSE:
      return PlainEvent(EventKind::kClose);
    case WM_DESTROY:
      return PlainEvent(EventKind::kDestroy);
    default:
      return std::nullopt;
  }
}

// The capture went elsewhere. The second parameter names the window that has
// it now: this window itself when a second button press captured again.
// ReleaseCapture sends this message too; the dispatch has forgotten its
// buttons by then, so that loss ends nothing.
std::optional<AppEvent> DecodeCaptureChanged(HWND window, LPARAM newOwner) {
  if (reinterpret_cast<HWND>(newOwner) == window) return std::nullopt;
  return PlainEvent(EventKind::kCaptureLost);
}

// Icon 107 in the caption (small) and on the task bar and Alt+Tab (big): a
// dialog's window class carries no icon of its own. Sized for the window's
// DPI, so they are set again when it changes.
void SetWindowIcons(HWND window) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  const UINT dpi = DpiOf(window);
  const struct {
    WPARAM which;
    int width, height;
  } icons[] = {{ICON_BIG, GetSystemMetricsForDpi(SM_CXICON, dpi), GetSystemMetricsForDpi(SM_CYICON, dpi)},
               {ICON_SMALL, GetSystemMetricsForDpi(SM_CXSMICON, dpi),
                GetSystemMetricsForDpi(SM_CYSMICON, dpi)}};
  for (const auto& icon : icons) {
    // Shared: the system frees a resource icon with the module.
    HANDLE image = LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, icon.width, icon.height, LR_SHARED);
    if (image != nullptr) SendMessageA(window, WM_SETICON, icon.which, reinterpret_cast<LPARAM>(image));
  }
}

// ---------------------------------------------------------------------------
// What the window keeps between messages: the editor's address in its user
// data (owned by WinMain's frame), and in the dialog's own slot the
// client-area image, the lamp with its source file, its history, its saved
// state and the status bar
// (owned by the window, released when it is gone).

struct WindowState {
  Image client;
  Document document;
  LampHistory history;
  SavedState saved;
  std::string startFile;  // UTF-8; empty once opened, or for none
  StatusBar status;
};

DistributionEditor* EditorOf(HWND window) {
  return reinterpret_cast<DistributionEditor*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

WindowState* StateOf(HWND window) {
  return reinterpret_cast<WindowState*>(GetWindowLongPtrA(window, DWLP_USER));
}

void Attach(HWND window, const MainWindowStart& start) {
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(start.editor));
  if (StateOf(window) == nullptr && start.editor != nullptr) {  // a repeated init keeps the state
    const Lamp lamp = Lamp::OfCurve(start.editor->curve);
    auto* state = new WindowState{Image(), Document(), LampHistory(lamp), SavedState(lamp),
                                  start.openFile, StatusBar()};
    state->document.StartNew(lamp);
    SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    state->status.Create(window);
  }
}

void Detach(HWND window) {
  delete StateOf(window);
  SetWindowLongPtrA(window, DWLP_USER, 0);
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

// Moves the window to the rectangle Windows suggests for a new DPI (the
// monitor's scale changed, or the window went to another monitor). The size
// event this causes renders both halves with the new label scale; the paint
// covers a move that keeps the size.
void FollowDpiChange(HWND window, LPARAM suggested) {
  const RECT& r = *reinterpret_cast<const RECT*>(suggested);
  SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window, nullptr, FALSE);
}

// The desktop session is about to end: modified work is asked about as on
// closing. A dialog procedure gives a message's result through
// DWLP_MSGRESULT: FALSE refuses the end.
INT_PTR AnswerQueryEndSession(HWND window, DistributionEditor& editor, WindowState& state) {
  Win32Window platform(window, editor, state.client, nullptr, &state.document);
  const BOOL mayEnd = AllowSessionEnd(state.document, state.saved, platform) ? TRUE : FALSE;
  SetWindowLongPtrA(window, DWLP_MSGRESULT, mayEnd);
  return TRUE;
}

// Once the window is placed, the file it was started with opens in the
// visible window, so that a message about it has the window behind it.
void OpenStartFileLater(HWND window, const MainWindowStart& start) {
  if (start.openFile.empty()) return;
  PostMessageW(window, kOpenStartFileMessage, 0, 0);
}

}  // namespace

Image* ClientImageOf(HWND window) {
  WindowState* state = StateOf(window);
  return state == nullptr ? nullptr : &state->client;
}

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const MainWindowStart* start = nullptr;
  if (message == WM_INITDIALOG) {
    start = reinterpret_cast<const MainWindowStart*>(lParam);
    Attach(window, *start);
    SetWindowIcons(window);
    DragAcceptFiles(window, TRUE);
  }
  if (message == WM_DPICHANGED) {
    FollowDpiChange(window, lParam);
    SetWindowIcons(window);
    return TRUE;
  }
  // Every paint covers the whole client area, so erasing it first would
  // only show the dialog's grey for a moment (a flicker while resizing).
  if (message == WM_ERASEBKGND) {
    SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);  // "erased"
    return TRUE;
  }
  // The window keeps the keyboard focus itself; the dialog manager would
  // pass it on to the status bar.
  if (message == WM_SETFOCUS) return TRUE;
  if (message == kOpenStartFileMessage) ShowWindow(window, SW_SHOW);

  DistributionEditor* editor = EditorOf(window);
  WindowState* state = StateOf(window);
  if (message == WM_QUERYENDSESSION && editor != nullptr && state != nullptr) {
    return AnswerQueryEndSession(window, *editor, *state);
  }
  if (editor != nullptr && state != nullptr) {  // nothing arrives before init that matters
    std::string path;
    std::optional<AppEvent> event = message == WM_CAPTURECHANGED
                                        ? DecodeCaptureChanged(window, lParam)
                                        : Decode(message, wParam, lParam, path, state->startFile);
    if (event) {
      // The views get the client area above the status bar.
      if (event->kind == EventKind::kSize) event->y = state->status.Place(event->x, event->y);
      Win32Window platform(window, *editor, state->client, &state->status, &state->document);
      DispatchEvent(*editor, state->document, state->history, state->saved, platform, *event);
      // Exit and close destroy the window, and its state with it, inside the dispatch.
      if (StateOf(window) == state) state->status.Follow(*editor, state->document, *event);
    }
    if (message == WM_MOUSELEAVE) state->status.PointerLeft(*editor, state->document);
  }

  if (start != nullptr) OpenStartFileLater(window, *start);
  if (message == WM_NCDESTROY) Detach(window);
  return message == WM_INITDIALOG ? TRUE : FALSE;
}
