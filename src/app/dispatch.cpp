#include "app/dispatch.h"

#include <optional>
#include <string>
#include <utility>

#include "app/lamp_commands.h"
#include "app/status_text.h"
#include "app/ui_text.h"
#include "editor/fit_view.h"

namespace {

// The window is told the title only when it changed.
void ShowTitleChange(const DistributionEditor& editor, SavedState& saved, Window& window) {
  if (const std::optional<WindowTitle> title = saved.TitleChange(editor.curve)) {
    window.ShowTitle(*title);
  }
}

// A curve just read is shown whole, becomes one edit and the saved state; a
// file with several planes says which one the editor took.
Halves Opened(DistributionEditor& editor, CurveHistory& history, SavedState& saved,
              Window& window, std::optional<std::string> path) {
  if (path) {
    FitViewToCurve(editor);
    history.Record(editor.curve);
    const std::string note = OpenedFileNote(*path, editor.openedHeader);
    if (!note.empty()) window.ShowNote(note);
    saved.Set(editor.curve, std::move(*path));
  }
  return Halves::kBoth;  // whether or not a file was read
}

// File > Save; a file written becomes the saved state, and the title shows
// it at once (before a close that the save allowed).
bool Save(const DistributionEditor& editor, SavedState& saved, Window& window) {
  std::optional<std::string> path = editor.SaveIes(window, saved.path());
  if (!path) return false;
  saved.Set(editor.curve, std::move(*path));
  ShowTitleChange(editor, saved, window);
  return true;
}

// Whether work may be thrown away: at once when nothing is modified, else
// as the user answers the question.
bool MayDiscardWork(const DistributionEditor& editor, SavedState& saved, Window& window) {
  if (!saved.IsModified(editor.curve)) return true;
  switch (window.AskSaveChanges(saved.SaveChangesQuestion(), TEXT_TITLE)) {
    case SaveChangesAnswer::kSave:
      return Save(editor, saved, window);
    case SaveChangesAnswer::kDontSave:
      return true;
    case SaveChangesAnswer::kCancel:
      return false;
  }
  return false;
}

// File > Exit, the close box, Alt+F4 and the system menu.
void Close(const DistributionEditor& editor, SavedState& saved, Window& window) {
  if (MayDiscardWork(editor, saved, window)) window.DestroyWindow();
}

Halves RunCommand(DistributionEditor& editor, CurveHistory& history, SavedState& saved,
                  Window& window, uint16_t command) {
  switch (command) {
    case IDM_OPEN:
      return Opened(editor, history, saved, window, editor.LoadIes(window, saved.path()));
    case IDM_SAVE:
      Save(editor, saved, window);
      return Halves::kNone;  // the curve does not change
    case IDM_RESET:
      editor.ResetCurve();
      history.Record(editor.curve);
      return Halves::kBoth;
    case IDM_EXIT:
      Close(editor, saved, window);
      return Halves::kNone;
    case IDM_ABOUT:
      window.RunAboutBox();
      return Halves::kNone;
    case IDM_HOW_TO_USE:
      window.RunHelpBox();
      return Halves::kNone;
    case IDM_NEW_LAMP:
    case IDM_SCALE_TO_FLUX:
    case IDM_SCALE_TO_PEAK:
    case IDM_BEAM_ANGLE: {
      // The editor's curve is the lamp's one rotational plane.
      const LampCommandResult result = RunLampCommand(command, Lamp::OfCurve(editor.curve), window);
      if (!result.lamp) return Halves::kNone;
      editor.curve = result.lamp->planes.front();
      history.Record(editor.curve);
      if (command == IDM_NEW_LAMP) FitViewToCurve(editor);
      return Halves::kBoth;
    }
    default:
      return Halves::kNone;  // Escape and Enter arrive as commands 2 and 1: nothing
  }
}

// The keys: nothing while the left button draws, so a stroke is never split
// or taken back halfway.
Halves RunKey(DistributionEditor& editor, CurveHistory& history, SavedState& saved,
              Window& window, const AppEvent& event) {
  if (editor.drawing == 1) return Halves::kNone;
  switch (event.kind) {
    case EventKind::kUndo:
      return history.Undo(editor.curve) ? Halves::kBoth : Halves::kNone;
    case EventKind::kRedo:
      return history.Redo(editor.curve) ? Halves::kBoth : Halves::kNone;
    case EventKind::kFitView:
      FitViewToCurve(editor);
      return Halves::kBoth;
    case EventKind::kShortcutCommand:
      return RunCommand(editor, history, saved, window, event.command);
    default:
      return Halves::kNone;
  }
}

// Pointer capture: a left press (a stroke) and a middle press (a pan) each
// take it, and it is given back only when neither button is held any more,
// so a pan released outside the window ends as surely as a stroke does. The
// buttons are cleared before the capture is given back: a platform that
// reports its own release as a lost capture then finds nothing to end.
void HoldCapture(DistributionEditor& editor, Window& window, int32_t button) {
  if (editor.captureButtons == 0) window.CapturePointer();
  editor.captureButtons |= button;
}

void LetGoCapture(DistributionEditor& editor, Window& window, int32_t button) {
  editor.captureButtons &= ~button;
  if (editor.captureButtons == 0) window.ReleasePointer();
}

// The pointer went to another window while buttons held it: the stroke and
// the pan end as their releases would have ended them. The capture is gone
// already, so it is not given back (that could take it from its new owner).
Halves EndCapturedGestures(DistributionEditor& editor, CurveHistory& history) {
  const int32_t held = editor.captureButtons;
  editor.captureButtons = 0;
  if (held & DistributionEditor::kCaptureMiddle) editor.panning = 0;
  if (held & DistributionEditor::kCaptureLeft) {
    editor.OnLeftButton(false);
    history.Record(editor.curve);
    return Halves::kRight;  // the wall shows the stroke's result, as after a release
  }
  return Halves::kNone;
}

Halves Handle(DistributionEditor& editor, CurveHistory& history, SavedState& saved,
              Window& window, const AppEvent& event) {
  switch (event.kind) {
    case EventKind::kInit:
      window.PlaceAtStart();
      return Halves::kNone;
    case EventKind::kSize:
      editor.OnResize(event.x, event.y);
      return Halves::kBoth;
    case EventKind::kPaint:
      window.ShowImage();
      return Halves::kNone;
    case EventKind::kPointerMove:
      editor.OnPointerMove(event.x, event.y);
      return Halves::kLeft;  // whatever the move did, even over the wall
    case EventKind::kLeftDown:
      HoldCapture(editor, window, DistributionEditor::kCaptureLeft);
      editor.OnLeftButton(true);
      return Halves::kLeft;
    case EventKind::kLeftUp:
      LetGoCapture(editor, window, DistributionEditor::kCaptureLeft);
      editor.OnLeftButton(false);
      history.Record(editor.curve);  // the stroke, if it changed a sample
      return Halves::kRight;  // the wall shows the stroke's result only now
    case EventKind::kLeftDoubleClick:
      return Halves::kNone;
    case EventKind::kMiddleDown:
      HoldCapture(editor, window, DistributionEditor::kCaptureMiddle);
      editor.panning = editor.overWall == 0 ? 1 : 0;
      return Halves::kNone;
    case EventKind::kMiddleUp:
      LetGoCapture(editor, window, DistributionEditor::kCaptureMiddle);
      editor.panning = 0;
      return Halves::kNone;
    case EventKind::kWheel: {
      // The key is asked for only where it matters: over the wall.
      const bool leftControl = editor.overWall == 1 && window.IsLeftControlDown();
      editor.OnWheel(event.amount, leftControl);
      return editor.overWall == 1 ? Halves::kRight : Halves::kLeft;
    }
    case EventKind::kCommand:
      return RunCommand(editor, history, saved, window, event.command);
    case EventKind::kOpenFile: {
      // As File > Open after its dialog.
      std::string path(event.path);
      const bool opened = editor.OpenIesFile(window, path);
      return Opened(editor, history, saved, window,
                    opened ? std::optional<std::string>(std::move(path)) : std::nullopt);
    }
    case EventKind::kClose:
      Close(editor, saved, window);
      return Halves::kNone;
    case EventKind::kDestroy:
      window.PostQuit(0);
      return Halves::kNone;
    case EventKind::kUndo:
    case EventKind::kRedo:
    case EventKind::kFitView:
    case EventKind::kShortcutCommand:
      return RunKey(editor, history, saved, window, event);
    case EventKind::kCaptureLost:
      return EndCapturedGestures(editor, history);
  }
  return Halves::kNone;
}

// The events after which the title may differ: those that end an edit, take
// one back or do it again, save, open, or close (a close may save first).
bool MayChangeTitle(EventKind kind) {
  switch (kind) {
    case EventKind::kLeftUp:
    case EventKind::kCaptureLost:
    case EventKind::kCommand:
    case EventKind::kShortcutCommand:
    case EventKind::kOpenFile:
    case EventKind::kUndo:
    case EventKind::kRedo:
    case EventKind::kClose:
      return true;
    default:
      return false;
  }
}

}  // namespace

Halves DispatchEvent(DistributionEditor& editor, CurveHistory& history, SavedState& saved,
                     Window& window, const AppEvent& event) {
  const Halves halves = Handle(editor, history, saved, window, event);
  if (MayChangeTitle(event.kind)) ShowTitleChange(editor, saved, window);
  if (halves != Halves::kNone) window.RenderHalves(halves);
  return halves;
}

bool AllowSessionEnd(const DistributionEditor& editor, SavedState& saved, Window& window) {
  return MayDiscardWork(editor, saved, window);
}
