#pragma once
// Whether the left Control key, and not the right one, is down right now.
//
// On X11 the server is asked (XQueryKeymap), which answers for the moment of
// the call whatever window had the focus when the key went down. Elsewhere
// the key's presses and releases are tracked by their native key code, and
// the key is forgotten when the window loses the focus, since its release
// may then go to another window.

class QKeyEvent;
struct _XDisplay;

class LeftControlKey {
 public:
  LeftControlKey();

  bool IsDown() const;

  // Tracking, used where the X server cannot be asked.
  void OnKeyEvent(const QKeyEvent& event);
  void Forget() { trackedDown_ = false; }

 private:
  _XDisplay* display_ = nullptr;  // set when running on X11
  unsigned char keycode_ = 0;     // the X keycode of Control_L
  bool trackedDown_ = false;
};
