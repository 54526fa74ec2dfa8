#pragma once
// What the main window's event handling needs of the platform. Each front
// end's main window implements it; the tests use a recording fake.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/saved_state.h"
#include "files/owner_window.h"

// Which halves of the client area to render and show.
enum class Halves { kNone = 0, kLeft = 1, kRight = 2, kBoth = 3 };

// A field of the number dialog: its label ("&" marks a mnemonic) and its
// text, offered when the dialog opens and as typed once it is accepted.
struct AskedField {
  std::string_view label;
  std::string text;
};

// The answers to the question before modified work is closed.
enum class SaveChangesAnswer { kSave, kDontSave, kCancel };

class Window : public OwnerWindow {
 public:
  // Pointer capture from the first left or middle press until neither button
  // is held: moves and the releases keep coming while the pointer is outside
  // the window. When the platform takes the capture away, the front end
  // forgets it and sends EventKind::kCaptureLost.
  virtual void CapturePointer() = 0;
  virtual void ReleasePointer() = 0;

  // Whether the left Control key (not the right one) is down right now.
  virtual bool IsLeftControlDown() = 0;

  // Modal information boxes, owned by the main window.
  virtual void RunAboutBox() = 0;
  virtual void RunHelpBox() = 0;

  // Lamp > Properties: a modal box owned by the main window, titled
  // Properties, showing `text` (UTF-8, lines ending in "\n") read-only in a
  // fixed-width font, long lines wrapped, scrolled where it is longer than
  // the box, and an OK button (Enter, Escape).
  virtual void ShowProperties(std::string_view text) = 0;

  // Places the window at its start position and outer size (200, 100, 800 x 400)
  // where the platform lets a program place itself.
  virtual void PlaceAtStart() = 0;

  // Destroys the main window (File > Exit, the close box).
  virtual void DestroyWindow() = 0;

  // Shows the title in the window's caption: its text with a leading '*'
  // while the curve is modified (CaptionOf).
  virtual void ShowTitle(const WindowTitle& title) = 0;

  // A passing note in the status bar's pointer field, shown until the next
  // pointer move (a file opened with several planes). A window without a
  // status bar shows nothing.
  virtual void ShowNote(std::string_view /*text*/) {}

  // The question before modified work is closed: a modal message box owned
  // by the main window, with the warning icon and three choices: save (the
  // default, Enter), don't save (the key N) and cancel (Escape, and closing
  // the box).
  virtual SaveChangesAnswer AskSaveChanges(std::string_view text, std::string_view caption) = 0;

  // The number dialog: a modal dialog owned by the main window, with the
  // caption, one or two labelled text fields (the first has the focus, its
  // text selected), OK (the default, Enter) and Cancel (Escape, the close
  // box). True on OK, with each field's text as typed; false on cancel.
  virtual bool AskFields(std::string_view caption, std::span<AskedField> fields) = 0;

  // Shows whether a checkable menu command is checked (Lamp > Keep flux
  // while drawing). A window without that menu shows nothing.
  virtual void ShowMenuCheck(uint16_t /*command*/, bool /*checked*/) {}

  // Ends the program's event loop with this exit code (on the destroy event).
  virtual void PostQuit(int exitCode) = 0;

  // Renders the halves into the client-area image (the left one first) and
  // has them shown: at once, or by the platform's next paint, which only
  // copies the image.
  virtual void RenderHalves(Halves halves) = 0;

  // Answers a paint: shows the whole client-area image. The Linux program
  // shows it as it stands; the Windows program draws both halves anew first,
  // as a Windows paint of this window always has.
  virtual void ShowImage() = 0;
};
