#include "app/qt/left_control_key.h"

#include <QGuiApplication>
#include <QKeyEvent>

#if defined(LUMISTRA_HAVE_X11) && QT_CONFIG(xcb)
#define LUMISTRA_ASK_X_SERVER 1
// Xlib after Qt: its macros (KeyPress, None, Bool) would clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#undef KeyPress    // Xlib's event codes, not Qt's event types
#undef KeyRelease
#endif

namespace {

// A Control key event comes from the left key when its native code says so:
//   Windows: scan code 0x1D; the right key carries the extended bit (0x11D).
//   macOS:   virtual key 0x3B (kVK_Control); the right key is 0x3E.
//   others (xkb: X11, Wayland, the offscreen platform): keysym Control_L
//            0xFFE3; the right key is Control_R 0xFFE4.
bool IsLeftControlEvent(const QKeyEvent& event) {
  if (event.key() != Qt::Key_Control) return false;
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("windows")) return event.nativeScanCode() == 0x1D;
  if (platform == QLatin1String("cocoa")) return event.nativeVirtualKey() == 0x3B;
  return event.nativeVirtualKey() == 0xFFE3;
}

}  // namespace

LeftControlKey::LeftControlKey() {
#ifdef LUMISTRA_ASK_X_SERVER
  if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
    Display* display = x11->display();
    const KeyCode code = display ? XKeysymToKeycode(display, XK_Control_L) : 0;
    if (code != 0) {
      display_ = display;
      keycode_ = code;
    }
  }
#endif
}

bool LeftControlKey::IsDown() const {
#ifdef LUMISTRA_ASK_X_SERVER
  if (display_ != nullptr) {
    char keys[32] = {};
    XQueryKeymap(display_, keys);
    return (static_cast<unsigned char>(keys[keycode_ / 8]) >> (keycode_ % 8)) & 1u;
  }
#endif
  return trackedDown_;
}

void LeftControlKey::OnKeyEvent(const QKeyEvent& event) {
  if (!IsLeftControlEvent(event)) return;
  if (event.type() == QEvent::KeyPress) trackedDown_ = true;
  if (event.type() == QEvent::KeyRelease) trackedDown_ = false;
}
