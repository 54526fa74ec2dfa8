#pragma once
// The main window's event handling, shared by both front ends: one decoded,
// platform-neutral event in; the editor operation it calls and the halves it
// redraws out, through the Window interface.
//
// The redraw policy is fixed and deliberately asymmetric:
//   pointer move, left press       -> left half
//   left release                   -> right half (also when nothing was drawn)
//   capture lost                   -> as the releases of the buttons held: right half
//                                     if the left one was held, else nothing
//   wheel                          -> the half overWall names after the wheel
//   size, Open, open file, Reset   -> both halves (also when Open read nothing)
//   undo, redo                     -> both halves, nothing when there is nothing to take back
//   fit view, next or previous section -> both halves
//   a Lamp menu dialog             -> both halves when it made a lamp, else nothing
//   paint                          -> the image as it stands, nothing rendered
//   Save, middle button, info boxes, Properties, double click, unknown commands -> nothing
//   any key during a stroke        -> nothing
//
// The lamp's history: a stroke's release (its samples go into the lamp's
// plane at C 0), Reset, a successful open and a lamp made by a Lamp menu
// dialog each record one edit (nothing when the lamp came out as it was). A
// successful open and a new lamp also fit the view to the new curve before
// it renders; File > Open and an open file first ask about modified work, as
// closing does.
//
// The saved state: a successful save or open sets it to the lamp and the
// file. After every event that can change the title (the end of a stroke,
// Reset, Open, Save, undo, redo, an open file, a close) the window is shown
// the new one, and only when it changed. File > Exit and the close event
// close at once while the curve is as saved; otherwise they ask first, and
// close only on don't save, or on save once File > Save has succeeded.

#include <cstdint>
#include <string_view>

#include "app/document.h"
#include "app/saved_state.h"
#include "app/window.h"
#include "editor/lamp_history.h"
#include "editor/distribution_editor.h"

enum class EventKind {
  kInit,             // the window was created; place it at its start size
  kSize,             // x, y: the new client width and height
  kPaint,            // part of the window must be shown again
  kPointerMove,      // x, y: client position (may lie outside while captured)
  kLeftDown,         // the position is not used: the press acts at the last move's
  kLeftUp,
  kLeftDoubleClick,  // ignored: no capture, no stroke
  kMiddleDown,
  kMiddleUp,
  kWheel,            // amount: signed rotation, 120 per notch, positive away from the user
  kCommand,          // command: a menu command identifier (ui_text.h)
  kOpenFile,         // path: open this file (command line, drop), as File > Open does
  kClose,            // the close box or the system menu's close
  kDestroy,          // the window is gone: end the program with exit code 0
  // Keys (shortcuts.h). During a stroke they do nothing.
  kUndo,             // take back the latest edit of the curve
  kRedo,             // do again the latest edit taken back
  kFitView,          // fit both views to the curve (a view change, not an edit)
  kShortcutCommand,  // command: the menu command a key stands for
  kCaptureLost,      // another window took the pointer (a menu, a dialog, focus loss)
  kNextSection,      // Page Down: the diagram shows the lamp's next section
  kPreviousSection,  // Page Up: the previous one
};

struct AppEvent {
  EventKind kind = EventKind::kPaint;
  int32_t x = 0;       // position or width
  int32_t y = 0;       // position or height
  int32_t amount = 0;  // wheel rotation
  uint16_t command = 0;
  std::string_view path;  // kOpenFile: the file's path, UTF-8; valid during the dispatch
};

// Handles one event; `document`, `history` and `saved` are the lamp with its
// source file, its history and its saved state, kept by the front end beside
// the editor. Returns the halves it
// rendered (kNone for events that render nothing or only show the image),
// which the tests and the Windows program's message procedure use; the
// rendering itself goes through window.RenderHalves.
Halves DispatchEvent(DistributionEditor& editor, Document& document, LampHistory& history,
                     SavedState& saved, Window& window, const AppEvent& event);

// The desktop session is about to end: modified work is asked about as on
// closing, and the window stays. True when the session may end; false when
// the user cancelled, or the save was cancelled or failed.
bool AllowSessionEnd(Document& document, SavedState& saved, Window& window);
