#include "app/dispatch.h"

#include <optional>
#include <string>
#include <utility>

#include "app/lamp_commands.h"
#include "app/properties_text.h"
#include "app/ui_text.h"
#include "editor/fit_view.h"
#include "files/file_commands.h"

namespace {

// The window is told the title only when it changed.
void ShowTitleChange(const Document& document, SavedState& saved, Window& window) {
  if (const std::optional<WindowTitle> title = saved.TitleChange(document.lamp())) {
    window.ShowTitle(*title);
  }
}

// The diagram shows the plane the document edits, after any change of the
// lamp that was not a stroke.
void ShowEditedPlane(DistributionEditor& editor, const Document& document) {
  document.ShowSection(editor.curve, editor.leftCurve);
}

// A stroke's samples go into the lamp's planes and become one edit; while
// the flux is kept, the lamp is scaled back to the flux it had before.
void EndStroke(DistributionEditor& editor, Document& document, LampHistory& history) {
  editor.OnLeftButton(false);
  if (document.drawingOptions().keepFlux) {
    const Lamp before = document.lamp();
    document.TakeEditedCurve(editor.curve, editor.leftCurve);
    document.lamp() = LampAfterStroke(before, document.lamp(), document.drawingOptions());
    ShowEditedPlane(editor, document);
  } else {
    document.TakeEditedCurve(editor.curve, editor.leftCurve);
  }
  history.Record(document.lamp());  // the stroke, if it changed a sample
}

// File > Save; a file written becomes the saved state, and the title shows
// it at once (before a close that the save allowed).
bool Save(Document& document, SavedState& saved, Window& window) {
  const std::optional<SavedFile> file =
      SaveWithDialog(window, document, saved.path(), document.SaveFormatNow());
  if (!file) return false;
  document.Saved(file->format);
  saved.Set(document.lamp(), file->path);
  ShowTitleChange(document, saved, window);
  return true;
}

// Whether work may be thrown away: at once when nothing is modified, else
// as the user answers the question.
bool MayDiscardWork(Document& document, SavedState& saved, Window& window) {
  if (!saved.IsModified(document.lamp())) return true;
  switch (window.AskSaveChanges(saved.SaveChangesQuestion(), TEXT_TITLE)) {
    case SaveChangesAnswer::kSave:
      return Save(document, saved, window);
    case SaveChangesAnswer::kDontSave:
      return true;
    case SaveChangesAnswer::kCancel:
      return false;
  }
  return false;
}

// Opens the file at `path` after the question about modified work: the lamp
// read is shown whole, becomes one edit and the saved state; a lamp with
// several planes says which one the diagram edits, a file with errors how
// many it has.
void OpenFile(DistributionEditor& editor, Document& document, LampHistory& history,
              SavedState& saved, Window& window, const std::string& path) {
  std::optional<PhotometricFile> file = ReadPhotometricPath(window, path);
  if (!file) return;
  document.Open(path, std::move(*file));
  ShowEditedPlane(editor, document);
  FitViewToCurve(editor);
  history.Record(document.lamp());
  std::string note = document.PlaneNote();
  AppendErrorsNote(note, CheckFilePath(path));
  if (!note.empty()) window.ShowNote(note);
  saved.Set(document.lamp(), path);
}

// File > Open: the question, then the dialog.
void ChooseAndOpen(DistributionEditor& editor, Document& document, LampHistory& history,
                   SavedState& saved, Window& window) {
  if (!MayDiscardWork(document, saved, window)) return;
  const std::optional<std::string> path = window.ChooseOpenFile(saved.path());
  if (path) OpenFile(editor, document, history, saved, window, *path);
}

// File > Exit, the close box, Alt+F4 and the system menu.
void Close(Document& document, SavedState& saved, Window& window) {
  if (MayDiscardWork(document, saved, window)) window.DestroyWindow();
}

Halves RunCommand(DistributionEditor& editor, Document& document, LampHistory& history,
                  SavedState& saved, Window& window, uint16_t command) {
  switch (command) {
    case IDM_OPEN:
      ChooseAndOpen(editor, document, history, saved, window);
      return Halves::kBoth;  // whether or not a file was read
    case IDM_SAVE:
      Save(document, saved, window);
      return Halves::kNone;  // the lamp does not change
    case IDM_RESET:
      // A new drawing: one plane of zeros, nothing of the old file's header.
      editor.ResetCurve();
      document.StartNew(Lamp::OfCurve(editor.curve));
      history.Record(document.lamp());
      return Halves::kBoth;
    case IDM_EXIT:
      Close(document, saved, window);
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
      const LampCommandResult result = RunLampCommand(command, document.lamp(), window);
      if (!result.lamp) return Halves::kNone;
      // A new lamp is a new drawing; a scaled one the same light in another
      // amount; a stretched beam another light.
      if (command == IDM_NEW_LAMP) {
        document.StartNew(*result.lamp);
      } else if (command == IDM_BEAM_ANGLE) {
        document.lamp() = *result.lamp;
      } else {
        document.Scale(*result.lamp);
      }
      ShowEditedPlane(editor, document);
      history.Record(document.lamp());
      if (command == IDM_NEW_LAMP) FitViewToCurve(editor);
      return Halves::kBoth;
    }
    case IDM_KEEP_FLUX:
      ToggleKeepFlux(document.drawingOptions(), window);
      return Halves::kNone;
    case IDM_PROPERTIES:
      window.ShowProperties(PropertiesText(document));
      return Halves::kNone;
    default:
      return Halves::kNone;  // Escape and Enter arrive as commands 2 and 1: nothing
  }
}

// The keys: nothing while the left button draws, so a stroke is never split
// or taken back halfway.
Halves RunKey(DistributionEditor& editor, Document& document, LampHistory& history,
              SavedState& saved, Window& window, const AppEvent& event) {
  if (editor.drawing == 1) return Halves::kNone;
  switch (event.kind) {
    case EventKind::kUndo:
    case EventKind::kRedo: {
      const bool changed = event.kind == EventKind::kUndo ? history.Undo(document.lamp())
                                                          : history.Redo(document.lamp());
      if (!changed) return Halves::kNone;
      ShowEditedPlane(editor, document);
      return Halves::kBoth;
    }
    case EventKind::kFitView:
      FitViewToCurve(editor);
      return Halves::kBoth;
    case EventKind::kNextSection:
    case EventKind::kPreviousSection:
      // A turn of the view, not an edit: the light stays as it is.
      document.TurnSection(event.kind == EventKind::kNextSection ? 1 : -1);
      ShowEditedPlane(editor, document);
      return Halves::kBoth;
    case EventKind::kShortcutCommand:
      return RunCommand(editor, document, history, saved, window, event.command);
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
Halves EndCapturedGestures(DistributionEditor& editor, Document& document, LampHistory& history) {
  const int32_t held = editor.captureButtons;
  editor.captureButtons = 0;
  if (held & DistributionEditor::kCaptureMiddle) editor.panning = 0;
  if (held & DistributionEditor::kCaptureLeft) {
    EndStroke(editor, document, history);
    return Halves::kRight;  // the wall shows the stroke's result, as after a release
  }
  return Halves::kNone;
}

Halves Handle(DistributionEditor& editor, Document& document, LampHistory& history,
              SavedState& saved, Window& window, const AppEvent& event) {
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
      EndStroke(editor, document, history);
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
      return RunCommand(editor, document, history, saved, window, event.command);
    case EventKind::kOpenFile:
      // As File > Open after its dialog, with the same question first.
      if (MayDiscardWork(document, saved, window)) {
        OpenFile(editor, document, history, saved, window, std::string(event.path));
      }
      return Halves::kBoth;
    case EventKind::kClose:
      Close(document, saved, window);
      return Halves::kNone;
    case EventKind::kDestroy:
      window.PostQuit(0);
      return Halves::kNone;
    case EventKind::kUndo:
    case EventKind::kRedo:
    case EventKind::kFitView:
    case EventKind::kNextSection:
    case EventKind::kPreviousSection:
    case EventKind::kShortcutCommand:
      return RunKey(editor, document, history, saved, window, event);
    case EventKind::kCaptureLost:
      return EndCapturedGestures(editor, document, history);
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

Halves DispatchEvent(DistributionEditor& editor, Document& document, LampHistory& history,
                     SavedState& saved, Window& window, const AppEvent& event) {
  const Halves halves = Handle(editor, document, history, saved, window, event);
  if (MayChangeTitle(event.kind)) ShowTitleChange(document, saved, window);
  if (halves != Halves::kNone) window.RenderHalves(halves);
  return halves;
}

bool AllowSessionEnd(Document& document, SavedState& saved, Window& window) {
  return MayDiscardWork(document, saved, window);
}
