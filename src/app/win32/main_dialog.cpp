#include "app/win32/main_dialog.h"

#include <cstdint>
#include <optional>

#include "app/dispatch.h"
#include "app/ui_text.h"
#include "app/win32/win32_window.h"
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

// The dispatch's event for a message, or nothing for a message the main
// window leaves to the platform (among them every double click but the left
// one, and every right-button message).
std::optional<AppEvent> Decode(UINT message, WPARAM wParam, LPARAM lParam) {
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
// dialog's window class carries no icon of its own.
void SetWindowIcons(HWND window) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  const struct {
    WPARAM which;
    int width, height;
  } icons[] = {{ICON_BIG, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)},
               {ICON_SMALL, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)}};
  for (const auto& icon : icons) {
    // Shared: the system frees a resource icon with the module.
    HANDLE image = LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, icon.width, icon.height, LR_SHARED);
    if (image != nullptr) SendMessageA(window, WM_SETICON, icon.which, reinterpret_cast<LPARAM>(image));
  }
}

// ---------------------------------------------------------------------------
// What the window keeps between messages: the editor's address in its user
// data (owned by WinMain's frame) and the client-area image in the dialog's
// own slot (owned by the window, released when it is gone).

DistributionEditor* EditorOf(HWND window) {
  return reinterpret_cast<DistributionEditor*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void Attach(HWND window, LPARAM editorAddress) {
  SetWindowLongPtrA(window, GWLP_USERDATA, editorAddress);
  if (ClientImageOf(window) == nullptr) {  // a repeated init keeps the image
    SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(new Image));
  }
}

void Detach(HWND window) {
  delete ClientImageOf(window);
  SetWindowLongPtrA(window, DWLP_USER, 0);
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

}  // namespace

Image* ClientImageOf(HWND window) {
  return reinterpret_cast<Image*>(GetWindowLongPtrA(window, DWLP_USER));
}

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    Attach(window, lParam);
    SetWindowIcons(window);
  }
  // Every paint covers the whole client area, so erasing it first would
  // only show the dialog's grey for a moment (a flicker while resizing).
  if (message == WM_ERASEBKGND) {
    SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);  // "erased"
    return TRUE;
  }

  DistributionEditor* editor = EditorOf(window);
  Image* client = ClientImageOf(window);
  if (editor != nullptr && client != nullptr) {  // nothing arrives before init that matters
    const std::optional<AppEvent> event = message == WM_CAPTURECHANGED ? DecodeCaptureChanged(window, lParam)
                                                                       : Decode(message, wParam, lParam);
    if (event) {
      Win32Window platform(window, *editor, *client);
      DispatchEvent(*editor, platform, *event);
    }
  }

  if (message == WM_NCDESTROY) Detach(window);
  return message == WM_INITDIALOG ? TRUE : FALSE;
}
