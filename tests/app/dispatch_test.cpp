// The main window's event handling: which editor operation each event calls
// and which halves it renders, in order, through a recording fake window.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/dispatch.h"
#include "app/status_text.h"
#include "app/lamp_commands.h"
#include "app/shortcuts.h"
#include "app/ui_text.h"
#include "editor/fit_view.h"
#include "measure/lamp_numbers.h"
#include "measure/lamp_shaping.h"

namespace {

using Log = std::vector<std::string>;

// Records every call the dispatch makes of the platform, and the text and
// caption of each message box, and apart from them the captions shown. The file dialogs are cancelled unless the test
// names a file to open; the left Control key is as the test sets it.
class RecordingWindow final : public Window {
 public:
  Log log;
  Log titles;  // the captions shown, kept apart from the log
  std::vector<std::pair<std::string, std::string>> messages;  // text, caption
  bool leftControlDown = false;
  std::optional<std::string> openChoice;
  std::optional<std::string> saveChoice;
  SaveChangesAnswer answer = SaveChangesAnswer::kCancel;
  std::vector<std::string> typed;  // the texts the number dialog takes, in order

  std::optional<std::string> ChooseSaveFile(std::string_view, SaveFormat) override {
    return Note("choose save"), saveChoice;
  }
  std::optional<std::string> ChooseOpenFile(std::string_view) override {
    return Note("choose open"), openChoice;
  }
  void ShowMessage(std::string_view text, std::string_view caption) override {
    Note("message");
    messages.emplace_back(text, caption);
  }
  bool AskYesNo(std::string_view, std::string_view) override { return Note("ask yes no"), false; }
  // The number dialog: each field's offered text noted, then the texts of
  // `typed` taken (OK) or, when too few are left, cancelled.
  bool AskFields(std::string_view caption, std::span<AskedField> fields) override {
    std::string entry = "ask " + std::string(caption) + ":";
    for (const AskedField& field : fields) entry += " " + field.text;
    Note(entry);
    if (typed.size() < fields.size()) return false;
    for (AskedField& field : fields) {
      field.text = typed.front();
      typed.erase(typed.begin());
    }
    return true;
  }
  void ShowTitle(const WindowTitle& title) override { titles.push_back(CaptionOf(title)); }
  void ShowNote(std::string_view text) override { Note("note " + std::string(text)); }
  void ShowMenuCheck(uint16_t command, bool checked) override {
    Note("check " + std::to_string(command) + (checked ? " on" : " off"));
  }
  SaveChangesAnswer AskSaveChanges(std::string_view text, std::string_view caption) override {
    return Note("ask " + std::string(caption) + ": " + std::string(text)), answer;
  }
  void CapturePointer() override { Note("capture"); }
  void ReleasePointer() override { Note("release"); }
  bool IsLeftControlDown() override { return Note("ask control"), leftControlDown; }
  void RunAboutBox() override { Note("about box"); }
  void RunHelpBox() override { Note("help box"); }
  void ShowProperties(std::string_view text) override { Note("properties " + std::string(text)); }
  void PlaceAtStart() override { Note("place"); }
  void DestroyWindow() override { Note("destroy"); }
  void PostQuit(int exitCode) override { Note("quit " + std::to_string(exitCode)); }
  void ShowImage() override { Note("show"); }
  void RenderHalves(Halves halves) override {
    switch (halves) {
      case Halves::kNone: Note("render none"); break;  // never asked for
      case Halves::kLeft: Note("render left"); break;
      case Halves::kRight: Note("render right"); break;
      case Halves::kBoth: Note("render both"); break;
    }
  }

 private:
  void Note(std::string entry) { log.push_back(std::move(entry)); }
};

AppEvent Move(int32_t x, int32_t y) { return {EventKind::kPointerMove, x, y, 0, 0, {}}; }
AppEvent Plain(EventKind kind) { return {kind, 0, 0, 0, 0, {}}; }
AppEvent Wheel(int32_t amount) { return {EventKind::kWheel, 0, 0, amount, 0, {}}; }
AppEvent Command(uint16_t id) { return {EventKind::kCommand, 0, 0, 0, id, {}}; }
AppEvent Key(uint16_t id) { return {EventKind::kShortcutCommand, 0, 0, 0, id, {}}; }
AppEvent OpenFile(std::string_view path) { return {EventKind::kOpenFile, 0, 0, 0, 0, path}; }

// Real files: one the reader takes, one it refuses.
constexpr std::string_view kUsableFile = IES_CORPUS "/lm63-1995-erco-spot.ies";
constexpr std::string_view kUnusableFile = IES_CORPUS "/SOURCES.md";

// An editor and a window with the pointer last seen at (x, y) and an empty log.
struct Session {
  DistributionEditor editor;
  Document document;
  LampHistory history;
  SavedState saved;
  RecordingWindow window;
  Session(int32_t x, int32_t y) {
    Send(Move(x, y));
    window.log.clear();
  }
  Halves Send(const AppEvent& event) {
    return DispatchEvent(editor, document, history, saved, window, event);
  }
};

bool CurveIsZero(const DistributionEditor& editor) {
  for (float sample : editor.curve)
    if (sample != 0.0f) return false;
  return true;
}

// --- Single events: what each one calls and renders ------------------------

struct SingleEventRow {
  const char* name;
  AppEvent event;
  Log expected;
};

void PrintTo(const SingleEventRow& row, std::ostream* out) { *out << row.name; }

class SingleEvent : public testing::TestWithParam<SingleEventRow> {};

TEST_P(SingleEvent, CallsAndRendersExactlyThis) {
  Session s(300, 200);  // over the diagram
  s.Send(GetParam().event);
  EXPECT_EQ(s.window.log, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SingleEvent,
    testing::Values(
        // Init places the window; the size event that follows renders.
        SingleEventRow{"Init", Plain(EventKind::kInit), {"place"}},
        SingleEventRow{"Size", {EventKind::kSize, 640, 300, 0, 0, {}}, {"render both"}},
        // A paint shows the image as it stands and renders nothing.
        SingleEventRow{"Paint", Plain(EventKind::kPaint), {"show"}},
        SingleEventRow{"Move", Move(310, 210), {"render left"}},
        // A move over the wall still renders the diagram only.
        SingleEventRow{"MoveOverWall", Move(600, 200), {"render left"}},
        SingleEventRow{"LeftDown", Plain(EventKind::kLeftDown), {"capture", "render left"}},
        // The release recomputes the wall even without a stroke before it.
        SingleEventRow{"LeftUp", Plain(EventKind::kLeftUp), {"release", "render right"}},
        SingleEventRow{"DoubleClick", Plain(EventKind::kLeftDoubleClick), {}},
        // A pan holds the capture as a stroke does, and renders nothing.
        SingleEventRow{"MiddleDown", Plain(EventKind::kMiddleDown), {"capture"}},
        SingleEventRow{"MiddleUp", Plain(EventKind::kMiddleUp), {"release"}},
        // Nothing held: nothing to end, nothing rendered.
        SingleEventRow{"CaptureLostIdle", Plain(EventKind::kCaptureLost), {}},
        // Over the diagram the Control key is not asked for.
        SingleEventRow{"WheelOverDiagram", Wheel(120), {"render left"}},
        SingleEventRow{"Close", Plain(EventKind::kClose), {"destroy"}},
        SingleEventRow{"Destroy", Plain(EventKind::kDestroy), {"quit 0"}},
        // Open renders both halves also when the dialog was cancelled.
        SingleEventRow{"Open", Command(IDM_OPEN), {"choose open", "render both"}},
        SingleEventRow{"Save", Command(IDM_SAVE), {"choose save"}},
        SingleEventRow{"Reset", Command(IDM_RESET), {"render both"}},
        SingleEventRow{"Exit", Command(IDM_EXIT), {"destroy"}},
        SingleEventRow{"About", Command(IDM_ABOUT), {"about box"}},
        SingleEventRow{"HowToUse", Command(IDM_HOW_TO_USE), {"help box"}},
        // Enter and Escape arrive as commands 1 and 2 on Windows: nothing.
        SingleEventRow{"CommandOk", Command(1), {}},
        SingleEventRow{"CommandCancel", Command(2), {}},
        SingleEventRow{"CommandUnknown", Command(65535), {}},
        // Keys: nothing to undo or redo renders nothing; Ctrl+0 renders both.
        SingleEventRow{"UndoWithNothingToUndo", Plain(EventKind::kUndo), {}},
        SingleEventRow{"RedoWithNothingToRedo", Plain(EventKind::kRedo), {}},
        SingleEventRow{"FitView", Plain(EventKind::kFitView), {"render both"}},
        SingleEventRow{"KeyOpen", Key(IDM_OPEN), {"choose open", "render both"}},
        SingleEventRow{"KeySave", Key(IDM_SAVE), {"choose save"}},
        SingleEventRow{"KeyHowToUse", Key(IDM_HOW_TO_USE), {"help box"}}),
    [](const testing::TestParamInfo<SingleEventRow>& p) { return p.param.name; });

// --- Sequences from the user's point of view --------------------------------

TEST(Stroke, PressThreeMovesReleaseRenderLeftFourTimesThenRightOnce) {
  Session s(200, 250);
  s.Send(Plain(EventKind::kLeftDown));
  s.Send(Move(210, 260));
  s.Send(Move(220, 270));
  s.Send(Move(230, 280));
  s.Send(Plain(EventKind::kLeftUp));
  const Log expected{"capture",     "render left", "render left",  "render left",
                     "render left", "release",     "render right"};
  EXPECT_EQ(s.window.log, expected);
  EXPECT_FALSE(CurveIsZero(s.editor));
  EXPECT_EQ(s.editor.drawing, 0);
}

TEST(Stroke, PressAndReleaseOverTheWallDrawNothingButRenderBothOnce) {
  Session s(600, 200);
  EXPECT_EQ(s.Send(Plain(EventKind::kLeftDown)), Halves::kLeft);
  EXPECT_EQ(s.Send(Plain(EventKind::kLeftUp)), Halves::kRight);
  const Log expected{"capture", "render left", "release", "render right"};
  EXPECT_EQ(s.window.log, expected);
  EXPECT_TRUE(CurveIsZero(s.editor));
}

TEST(Stroke, DoubleClickTakesNoCaptureAndDrawsNothingAndItsReleaseIsHandled) {
  Session s(200, 250);
  s.Send(Plain(EventKind::kLeftDoubleClick));
  s.Send(Move(230, 280));
  s.Send(Plain(EventKind::kLeftUp));
  const Log expected{"render left", "release", "render right"};
  EXPECT_EQ(s.window.log, expected);
  EXPECT_TRUE(CurveIsZero(s.editor));
}

TEST(Commands, CancelledOpenKeepsTheCurveAndRendersBothOnce) {
  Session s(300, 200);
  s.editor.curve[90] = 1.5f;
  EXPECT_EQ(s.Send(Command(IDM_OPEN)), Halves::kBoth);
  EXPECT_EQ(s.editor.curve[90], 1.5f);
  EXPECT_EQ(std::count(s.window.log.begin(), s.window.log.end(), "render both"), 1);
}

TEST(Commands, ResetZeroesTheCurveAndKeepsTheView) {
  Session s(300, 200);
  s.editor.curve.fill(2.0f);
  s.editor.polarScale = 55.0f;
  s.Send(Command(IDM_RESET));
  EXPECT_TRUE(CurveIsZero(s.editor));
  EXPECT_EQ(s.editor.polarScale, 55.0f);
}

TEST(Size, ZeroByZeroStoresOneByOneAndRendersBoth) {
  Session s(300, 200);
  EXPECT_EQ(s.Send({EventKind::kSize, 0, 0, 0, 0, {}}), Halves::kBoth);
  EXPECT_EQ(s.editor.clientWidth, 1);
  EXPECT_EQ(s.editor.clientHeight, 1);
}

// --- Opening a given file (command line, drop) -----------------------------

struct OpenFileRow {
  const char* name;
  std::string path;
  Log expected;
  std::string message;  // empty: no message box
  bool curveReplaced;
};

void PrintTo(const OpenFileRow& row, std::ostream* out) { *out << row.name; }

class OpenGivenFile : public testing::TestWithParam<OpenFileRow> {};

TEST_P(OpenGivenFile, ReadsAsFileOpenDoesAndRendersBothOnce) {
  const OpenFileRow& row = GetParam();
  Session s(300, 200);
  s.editor.curve.fill(1.5f);
  const auto before = s.editor.curve;
  const std::string path = row.path;  // the event only borrows it
  EXPECT_EQ(s.Send(OpenFile(path)), Halves::kBoth);
  EXPECT_EQ(s.window.log, row.expected);
  if (row.message.empty()) {
    EXPECT_TRUE(s.window.messages.empty());
  } else {
    ASSERT_EQ(s.window.messages.size(), 1u);
    EXPECT_EQ(s.window.messages[0].first, row.message);
    EXPECT_EQ(s.window.messages[0].second, "Can't open file");
  }
  EXPECT_EQ(s.editor.curve != before, row.curveReplaced);
}

INSTANTIATE_TEST_SUITE_P(
    Table, OpenGivenFile,
    testing::Values(
        // No dialog is asked for: the path is the file.
        OpenFileRow{"Usable", IES_CORPUS "/iesna91-bega-axial.ies", {"render both"}, "", true},
        // Several planes: the status bar says which one the editor took.
        OpenFileRow{"SeveralPlanes",
                    IES_CORPUS "/lm63-2002-rab-roadway-mult.ies",
                    {"note lm63-2002-rab-roadway-mult.ies: 12 planes; editing the section C 0\u00b0 | 180\u00b0",
                     "render both"},
                    "",
                    true},
        // A file the reader refuses: its reason, the curve as it was.
        OpenFileRow{"Unusable",
                    IES_CORPUS "/iesna91-mdl-typeb.ies",
                    {"message", "render both"},
                    "iesna91-mdl-typeb.ies is not a usable IES file: it is a type B file "
                    "(photometric type 2); only type C files can be edited.",
                    false},
        OpenFileRow{"Missing",
                    IES_CORPUS "/no such lamp.ies",
                    {"message", "render both"},
                    "Could not open no such lamp.ies: No such file or directory.",
                    false}),
    [](const testing::TestParamInfo<OpenFileRow>& p) { return p.param.name; });

// --- Wheel: the half under the pointer, the left Control key over the wall ---

struct WheelRow {
  const char* name;
  int32_t lastX;
  bool leftControl;
  Log expected;
  bool wallZooms;
  bool lightMoves;
  bool diagramZooms;
};

void PrintTo(const WheelRow& row, std::ostream* out) { *out << row.name; }

class WheelNotch : public testing::TestWithParam<WheelRow> {};

TEST_P(WheelNotch, RendersTheHalfUnderThePointerOnly) {
  const WheelRow& row = GetParam();
  Session s(row.lastX, 200);
  s.window.leftControlDown = row.leftControl;
  s.Send(Wheel(120));
  EXPECT_EQ(s.window.log, row.expected);
  EXPECT_EQ(s.editor.wallScale != 100.0f, row.wallZooms);
  EXPECT_EQ(s.editor.wallDistance != 0.1f, row.lightMoves);
  EXPECT_EQ(s.editor.polarScale != 100.0f, row.diagramZooms);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WheelNotch,
    testing::Values(
        WheelRow{"OverDiagram", 300, false, {"render left"}, false, false, true},
        // The key is not even asked for over the diagram.
        WheelRow{"OverDiagramWithControl", 300, true, {"render left"}, false, false, true},
        WheelRow{"OverWall", 600, false, {"ask control", "render right"}, true, false, false},
        WheelRow{"OverWallWithLeftControl", 600, true, {"ask control", "render right"}, false,
                 true, false}),
    [](const testing::TestParamInfo<WheelRow>& p) { return p.param.name; });

// --- Middle button: panning only over the diagram, the release ends it ------

struct MiddleRow {
  const char* name;
  int32_t lastX;
  int32_t panningAfterPress;
};

void PrintTo(const MiddleRow& row, std::ostream* out) { *out << row.name; }

class MiddleButton : public testing::TestWithParam<MiddleRow> {};

TEST_P(MiddleButton, PressSetsPanningByTheHalfAndReleaseClearsIt) {
  Session s(GetParam().lastX, 200);
  s.Send(Plain(EventKind::kMiddleDown));
  EXPECT_EQ(s.editor.panning, GetParam().panningAfterPress);
  s.Send(Plain(EventKind::kMiddleUp));
  EXPECT_EQ(s.editor.panning, 0);
  EXPECT_EQ(s.window.log, (Log{"capture", "release"}));
}

INSTANTIATE_TEST_SUITE_P(Table, MiddleButton,
                         testing::Values(MiddleRow{"OverDiagram", 300, 1},
                                         MiddleRow{"OverWall", 600, 0}),
                         [](const testing::TestParamInfo<MiddleRow>& p) {
                           return p.param.name;
                         });

TEST(MiddleButton, PressOverTheWallEndsAPanThatLostItsRelease) {
  Session s(300, 200);
  s.Send(Plain(EventKind::kMiddleDown));
  s.Send(Move(600, 200));  // the release happened outside and was not seen
  s.Send(Plain(EventKind::kMiddleDown));
  EXPECT_EQ(s.editor.panning, 0);
}

// --- Undo and redo: what a sequence of edits leaves -------------------------

// One step of a user's session.
enum class Step {
  kStrokeA,       // a stroke over the diagram
  kStrokeB,       // another one, elsewhere
  kStrokeC,
  kWallStroke,    // press and release over the wall: no sample changes
  kLostStroke,    // a stroke whose capture another window takes before the release
  kReset,
  kOpen,          // File > Open of a usable file
  kOpenFailed,    // File > Open of a file the reader refuses
  kOpenCancelled,
  kUndo,
  kRedo,
  kSave,          // File > Save as "lamp" in a folder of its own
  kSaveFailed,    // File > Save into a folder that does not exist
};

struct HistoryRow {
  const char* name;
  std::vector<Step> steps;
  int curveOfStep;   // the curve ends as it was after this step (-1: the start)
  Halves lastRendered;  // what the last step rendered
};

void PrintTo(const HistoryRow& row, std::ostream* out) { *out << row.name; }

// A folder of this process's own for saved files (several processes run
// these tests at once); a test that saves removes it at its end.
std::string SaveFolder() {
  const auto folder = std::filesystem::path(testing::TempDir()) / ("dispatch-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  return folder.string();
}

void Stroke(Session& s, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  s.Send(Move(x0, y0));
  s.Send(Plain(EventKind::kLeftDown));
  s.Send(Move(x1, y1));
  s.Send(Plain(EventKind::kLeftUp));
}

Halves Take(Session& s, Step step) {
  s.window.openChoice.reset();
  s.window.answer = SaveChangesAnswer::kDontSave;  // an open asks first about modified work
  switch (step) {
    case Step::kStrokeA: Stroke(s, 200, 250, 230, 280); break;
    case Step::kStrokeB: Stroke(s, 150, 200, 140, 260); break;
    case Step::kStrokeC: Stroke(s, 260, 180, 250, 120); break;
    case Step::kWallStroke: Stroke(s, 600, 200, 620, 250); break;
    case Step::kLostStroke:
      s.Send(Move(150, 200));
      s.Send(Plain(EventKind::kLeftDown));
      s.Send(Move(140, 260));
      return s.Send(Plain(EventKind::kCaptureLost));
    case Step::kReset: return s.Send(Command(IDM_RESET));
    case Step::kOpen:
      s.window.openChoice = std::string(kUsableFile);
      return s.Send(Command(IDM_OPEN));
    case Step::kOpenFailed:
      s.window.openChoice = std::string(kUnusableFile);
      return s.Send(Command(IDM_OPEN));
    case Step::kOpenCancelled: return s.Send(Command(IDM_OPEN));
    case Step::kUndo: return s.Send(Plain(EventKind::kUndo));
    case Step::kRedo: return s.Send(Plain(EventKind::kRedo));
    case Step::kSave:
      s.window.saveChoice = SaveFolder() + "/lamp";
      return s.Send(Command(IDM_SAVE));
    case Step::kSaveFailed:
      s.window.saveChoice = SaveFolder() + "/no such folder/lamp";
      return s.Send(Command(IDM_SAVE));
  }
  return Halves::kRight;  // a stroke's release
}

class History : public testing::TestWithParam<HistoryRow> {};

TEST_P(History, LeavesTheCurveOfTheNamedStep) {
  const HistoryRow& row = GetParam();
  Session s(300, 200);
  std::vector<Curve> after;  // the curve after each step
  Halves last = Halves::kNone;
  for (Step step : row.steps) {
    last = Take(s, step);
    after.push_back(s.editor.curve);
  }
  const Curve expected =
      row.curveOfStep < 0 ? Curve{} : after[static_cast<size_t>(row.curveOfStep)];
  EXPECT_EQ(s.editor.curve, expected);
  EXPECT_EQ(last, row.lastRendered);
}

constexpr Halves kBothHalves = Halves::kBoth, kNoHalf = Halves::kNone;
using enum Step;

INSTANTIATE_TEST_SUITE_P(
    Table, History,
    testing::Values(
        HistoryRow{"UndoTakesBackTheLastStroke", {kStrokeA, kStrokeB, kUndo}, 0, kBothHalves},
        HistoryRow{"UndoTwiceReachesTheStart", {kStrokeA, kStrokeB, kUndo, kUndo}, -1, kBothHalves},
        HistoryRow{"RedoDoesItAgain", {kStrokeA, kStrokeB, kUndo, kRedo}, 1, kBothHalves},
        HistoryRow{"NothingMoreToUndo", {kStrokeA, kUndo, kUndo}, -1, kNoHalf},
        HistoryRow{"NothingToRedo", {kStrokeA, kRedo}, 0, kNoHalf},
        HistoryRow{"ResetThenUndo", {kStrokeA, kReset, kUndo}, 0, kBothHalves},
        HistoryRow{"OpenThenUndo", {kStrokeA, kOpen, kUndo}, 0, kBothHalves},
        HistoryRow{"OpenUndoRedo", {kStrokeA, kOpen, kUndo, kRedo}, 1, kBothHalves},
        // Not edits: undo takes back the stroke before them.
        HistoryRow{"FailedOpenIsNoEdit", {kStrokeA, kOpenFailed, kUndo}, -1, kBothHalves},
        HistoryRow{"CancelledOpenIsNoEdit", {kStrokeA, kOpenCancelled, kUndo}, -1, kBothHalves},
        HistoryRow{"StrokeOverTheWallIsNoEdit", {kStrokeA, kWallStroke, kUndo}, -1, kBothHalves},
        // A stroke ended by a lost capture is one edit, as if released.
        HistoryRow{"LostStrokeIsAnEdit", {kStrokeA, kLostStroke, kUndo}, 0, kBothHalves},
        HistoryRow{"ResetOfAZeroCurveIsNoEdit", {kReset, kUndo}, -1, kNoHalf},
        HistoryRow{"SameStrokeAgainIsNoEdit", {kStrokeA, kStrokeA, kUndo}, -1, kBothHalves},
        // A new edit after an undo drops what could have been redone.
        HistoryRow{"NewEditDropsRedo", {kStrokeA, kStrokeB, kUndo, kStrokeC, kRedo}, 3, kNoHalf},
        HistoryRow{"NewEditKeepsUndo", {kStrokeA, kStrokeB, kUndo, kStrokeC, kUndo}, 0,
                   kBothHalves}),
    [](const testing::TestParamInfo<HistoryRow>& p) { return p.param.name; });

TEST(History, TheLatestThousandEditsCanBeUndoneTheOldestIsDropped) {
  Session s(300, 200);
  for (int i = 1; i <= 1001; ++i) {
    s.editor.curve[90] = static_cast<float>(i);  // as a stroke would leave it
    s.Send(Plain(EventKind::kLeftUp));
  }
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(s.Send(Plain(EventKind::kUndo)), Halves::kBoth) << i;
  EXPECT_EQ(s.Send(Plain(EventKind::kUndo)), Halves::kNone);
  EXPECT_EQ(s.editor.curve[90], 1.0f);  // the first edit, 0 to 1, was dropped
}

// --- Keys during a stroke do nothing ------------------------------------------

class KeyDuringStroke : public testing::TestWithParam<AppEvent> {};

TEST_P(KeyDuringStroke, RendersAndChangesNothing) {
  Session s(300, 200);
  Stroke(s, 200, 250, 230, 280);  // something to undo
  s.Send(Move(150, 200));
  s.Send(Plain(EventKind::kLeftDown));
  s.Send(Move(140, 260));
  const Curve curve = s.editor.curve;
  const float scale = s.editor.polarScale;
  s.window.log.clear();
  EXPECT_EQ(s.Send(GetParam()), Halves::kNone);
  EXPECT_TRUE(s.window.log.empty());
  EXPECT_EQ(s.editor.curve, curve);
  EXPECT_EQ(s.editor.polarScale, scale);
  EXPECT_EQ(s.editor.drawing, 1);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyDuringStroke,
                         testing::Values(Plain(EventKind::kUndo), Plain(EventKind::kRedo),
                                         Plain(EventKind::kFitView), Key(IDM_OPEN),
                                         Key(IDM_SAVE), Key(IDM_HOW_TO_USE)));

// --- The Lamp menu: what its dialogs refuse and make --------------------------

struct LampDialogRow {
  const char* name;
  bool fromSpot;  // else from the empty curve
  uint16_t command;
  std::vector<std::string> typed;  // fewer than the fields: cancelled
  std::string message;             // the message box's text, or none
  double beam = 0, lumens = 0;     // of the lamp made; 0: nothing made
};

void PrintTo(const LampDialogRow& row, std::ostream* out) { *out << row.name; }

class LampDialog : public testing::TestWithParam<LampDialogRow> {};

TEST_P(LampDialog, RefusesWithAMessageOrMakesOneEdit) {
  const LampDialogRow& row = GetParam();
  Session s(300, 200);
  if (row.fromSpot) s.document.StartNew(*NewSpotLamp(30, 1000).lamp);
  s.editor.curve = s.document.EditedCurve();
  s.history.Record(s.document.lamp());
  const Lamp before = s.document.lamp();
  s.window.typed = row.typed;
  const Halves halves = s.Send(Command(row.command));
  std::string message;
  for (const auto& [text, caption] : s.window.messages) message += text;
  EXPECT_EQ(message, row.message);
  if (row.beam == 0) {
    EXPECT_EQ(s.document.lamp(), before);
    EXPECT_EQ(halves, Halves::kNone);
    return;
  }
  const LampNumbers made = MeasureLamp(s.document.lamp());
  EXPECT_NEAR(made.beamAngle.value_or(0), row.beam, kBeamTolerance);
  if (row.lumens > 0) {
    EXPECT_NEAR(made.fluxLm, row.lumens, 1e-3 * row.lumens);
  }
  EXPECT_EQ(s.editor.curve, s.document.EditedCurve());  // the diagram shows it
  EXPECT_EQ(halves, Halves::kBoth);
  EXPECT_TRUE(s.history.Undo(s.document.lamp()));  // one edit
  EXPECT_EQ(s.document.lamp(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LampDialog,
    testing::Values(
        LampDialogRow{"NewLamp", false, IDM_NEW_LAMP, {"60", " 2500 "}, "", 60, 2500},
        LampDialogRow{"NotANumber", false, IDM_NEW_LAMP, {"30", "1,000"},
                      "\"1,000\" is not a number. Type the luminous flux in lm as digits, with a full stop for decimals: 30 or 12.5, for example."},
        LampDialogRow{"ZeroFlux", false, IDM_NEW_LAMP, {"30", "0"}, "The luminous flux must be more than 0 lm, not 0."},
        LampDialogRow{"NegativeBeam", false, IDM_NEW_LAMP, {"-4", "1000"}, "The beam angle must be from 2 to 170 degrees, not -4."},
        LampDialogRow{"BeyondTheRange", true, IDM_BEAM_ANGLE, {"171"}, "The beam angle must be from 2 to 170 degrees, not 171."},
        LampDialogRow{"TooMuchLight", true, IDM_SCALE_TO_PEAK, {"1e39"}, "That would make the peak intensity 1e+39 cd, more than a lamp file can hold."},
        LampDialogRow{"Empty", true, IDM_SCALE_TO_PEAK, {""}, "Type the peak intensity in cd."},
        LampDialogRow{"NoLightYet", false, IDM_SCALE_TO_FLUX, {"100"}, "The lamp gives no light yet: draw a curve or make a new lamp first."},
        LampDialogRow{"OfferUnchanged", true, IDM_SCALE_TO_FLUX, {"1000"}, ""},
        LampDialogRow{"Cancelled", true, IDM_BEAM_ANGLE, {}, ""},
        LampDialogRow{"ScaleToFlux", true, IDM_SCALE_TO_FLUX, {"+1e4"}, "", 30, 10000},
        LampDialogRow{"BeamAngle", true, IDM_BEAM_ANGLE, {"45"}, "", 45}),
    [](const testing::TestParamInfo<LampDialogRow>& p) { return p.param.name; });

TEST(KeepFlux, AStrokeIsScaledBackToTheFluxBeforeItWhileChecked) {
  const auto strokeFlux = [](bool kept) {
    Session s(300, 200);
    s.document.StartNew(*NewSpotLamp(30, 1000).lamp);
    s.editor.curve = s.document.EditedCurve();
    if (kept) s.Send(Command(IDM_KEEP_FLUX));
    for (const AppEvent& e : {Plain(EventKind::kLeftDown), Move(330, 260), Plain(EventKind::kLeftUp)}) {
      s.Send(e);
    }
    EXPECT_EQ(StatusTextsFor(s.editor, s.document, false).lamp.find("flux kept") != std::string::npos,
              kept);
    EXPECT_EQ(s.editor.curve, s.document.EditedCurve());
    return MeasureLamp(s.document.lamp()).fluxLm;
  };
  EXPECT_GT(strokeFlux(false), 1001);
  EXPECT_NEAR(strokeFlux(true), 1000, 1e-3);
}

// --- Opening fits the view ---------------------------------------------------

TEST(Open, ASuccessfulOpenFitsTheViewBeforeItRenders) {
  for (const AppEvent& open : {Command(IDM_OPEN), OpenFile(kUsableFile)}) {
    Session s(300, 200);
    s.window.openChoice = std::string(kUsableFile);
    EXPECT_EQ(s.Send(open), Halves::kBoth);
    DistributionEditor fitted;  // the same curve, fitted on its own
    fitted.curve = s.editor.curve;
    FitViewToCurve(fitted);
    EXPECT_NE(s.editor.polarScale, 100.0f);
    EXPECT_EQ(s.editor.polarScale, fitted.polarScale);
    EXPECT_EQ(s.editor.wallScale, fitted.wallScale);
    EXPECT_EQ(s.editor.wallDistance, fitted.wallDistance);
    EXPECT_EQ(s.editor.centerX, fitted.centerX);
  }
}

TEST(Open, AFailedOpenKeepsTheView) {
  Session s(300, 200);
  s.editor.polarScale = 55.0f;
  s.editor.centerX = 17.0f;
  EXPECT_EQ(s.Send(OpenFile(kUnusableFile)), Halves::kBoth);
  const Log expected{"message", "render both"};
  EXPECT_EQ(s.window.log, expected);
  EXPECT_EQ(s.editor.polarScale, 55.0f);
  EXPECT_EQ(s.editor.centerX, 17.0f);
}

TEST(FitView, CtrlZeroFitsAndIsNoEdit) {
  Session s(300, 200);
  Stroke(s, 200, 250, 230, 280);
  s.Send(Plain(EventKind::kFitView));
  // 800 x 400: the farthest sample at 0.45 * 400 pixels from the origin.
  const double largest = *std::max_element(s.editor.curve.begin(), s.editor.curve.end());
  EXPECT_EQ(s.editor.polarScale, static_cast<float>(0.45 * 400.0 / largest));
  s.Send(Plain(EventKind::kUndo));  // takes back the stroke, not the fit
  EXPECT_TRUE(CurveIsZero(s.editor));
  EXPECT_NE(s.editor.polarScale, 100.0f);
}

// --- Which key is which -----------------------------------------------------

struct ShortcutRow {
  const char* name;
  ShortcutKey key;
  uint32_t modifiers;
  std::optional<EventKind> kind;
  uint16_t command;
};

void PrintTo(const ShortcutRow& row, std::ostream* out) { *out << row.name; }

class Shortcuts : public testing::TestWithParam<ShortcutRow> {};

TEST_P(Shortcuts, DecodeToTheirEvent) {
  const ShortcutRow& row = GetParam();
  const std::optional<AppEvent> event = ShortcutEvent(row.key, row.modifiers);
  ASSERT_EQ(event.has_value(), row.kind.has_value());
  if (!event) return;
  EXPECT_EQ(event->kind, *row.kind);
  EXPECT_EQ(event->command, row.command);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Shortcuts,
    testing::Values(
        ShortcutRow{"CtrlZ", 'Z', kControl, EventKind::kUndo, 0},
        ShortcutRow{"CtrlY", 'Y', kControl, EventKind::kRedo, 0},
        ShortcutRow{"CtrlShiftZ", 'Z', kControl | kShift, EventKind::kRedo, 0},
        ShortcutRow{"CtrlO", 'O', kControl, EventKind::kShortcutCommand, IDM_OPEN},
        ShortcutRow{"CtrlS", 'S', kControl, EventKind::kShortcutCommand, IDM_SAVE},
        ShortcutRow{"F1", kKeyF1, kNoModifier, EventKind::kShortcutCommand, IDM_HOW_TO_USE},
        ShortcutRow{"Ctrl0", '0', kControl, EventKind::kFitView, 0},
        ShortcutRow{"CtrlN", 'N', kControl, EventKind::kShortcutCommand, IDM_NEW_LAMP},
        // Without Control, or with Alt (AltGr is Control and Alt): nothing.
        ShortcutRow{"PlainZ", 'Z', kNoModifier, std::nullopt, 0},
        ShortcutRow{"CtrlAltZ", 'Z', kControl | kAlt, std::nullopt, 0},
        ShortcutRow{"CtrlF1", kKeyF1, kControl, std::nullopt, 0}),
    [](const testing::TestParamInfo<ShortcutRow>& p) { return p.param.name; });
// --- Pointer capture: held while either button is, lost to another window ---

struct CaptureRow {
  const char* name;
  std::vector<AppEvent> events;  // after a move to (300, 200), over the diagram
  Log expected;
  int32_t drawing, panning;
};

void PrintTo(const CaptureRow& row, std::ostream* out) { *out << row.name; }

class Capture : public testing::TestWithParam<CaptureRow> {};

TEST_P(Capture, IsHeldWhileAButtonIsAndEndsWhatItHeld) {
  const CaptureRow& row = GetParam();
  Session s(300, 200);
  for (const AppEvent& event : row.events) s.Send(event);
  EXPECT_EQ(s.window.log, row.expected);
  EXPECT_EQ(s.editor.drawing, row.drawing);
  EXPECT_EQ(s.editor.panning, row.panning);
  EXPECT_EQ(s.editor.captureButtons, 0);
}

const AppEvent kLeftDown = Plain(EventKind::kLeftDown), kLeftUp = Plain(EventKind::kLeftUp);
const AppEvent kMiddleDown = Plain(EventKind::kMiddleDown), kMiddleUp = Plain(EventKind::kMiddleUp);
const AppEvent kLost = Plain(EventKind::kCaptureLost);

INSTANTIATE_TEST_SUITE_P(
    Table, Capture,
    testing::Values(
        // Both buttons, released in either order: one capture, one release, after the last.
        CaptureRow{"LeftThenMiddleReleasedLeftFirst",
                   {kLeftDown, kMiddleDown, kLeftUp, kMiddleUp},
                   {"capture", "render left", "render right", "release"}, 0, 0},
        CaptureRow{"MiddleThenLeftReleasedMiddleFirst",
                   {kMiddleDown, kLeftDown, kMiddleUp, kLeftUp},
                   {"capture", "render left", "release", "render right"}, 0, 0},
        // Lost mid-stroke (a menu took the pointer): the stroke ends and the wall
        // is rendered, as a release would; the capture is not given back.
        CaptureRow{"LostMidStroke", {kLeftDown, Move(320, 220), kLost},
                   {"capture", "render left", "render left", "render right"}, 0, 0},
        CaptureRow{"LostMidPan", {kMiddleDown, kLost}, {"capture"}, 0, 0},
        CaptureRow{"LostDuringStrokeAndPan", {kLeftDown, kMiddleDown, kLost},
                   {"capture", "render left", "render right"}, 0, 0},
        // A platform that reports its own release as a loss: nothing more happens.
        CaptureRow{"LostAfterTheRelease", {kLeftDown, kLeftUp, kLost},
                   {"capture", "render left", "release", "render right"}, 0, 0}),
    [](const testing::TestParamInfo<CaptureRow>& p) { return p.param.name; });

// --- The saved state: the title, and the question before closing ------------

struct TitleRow {
  const char* name;
  std::vector<Step> steps;
  std::string title;  // the caption shown last
};

void PrintTo(const TitleRow& row, std::ostream* out) { *out << row.name; }

class Title : public testing::TestWithParam<TitleRow> {};

TEST_P(Title, FollowsTheFileAndWhetherTheCurveIsAsSaved) {
  Session s(300, 200);
  for (Step step : GetParam().steps) Take(s, step);
  std::filesystem::remove_all(SaveFolder());
  EXPECT_EQ(s.window.titles.empty() ? TEXT_TITLE : s.window.titles.back(), GetParam().title);
  for (size_t i = 1; i < s.window.titles.size(); ++i)  // told only of changes
    EXPECT_NE(s.window.titles[i], s.window.titles[i - 1]);
}

constexpr const char* kOpenedTitle = "lm63-1995-erco-spot.ies - Lumistra";

INSTANTIATE_TEST_SUITE_P(
    Table, Title,
    testing::Values(
        TitleRow{"StrokeMarks", {kStrokeA}, "*Lumistra"},
        // A comparison, not a flag: back at the saved curve, the mark goes.
        TitleRow{"UndoToTheStartUnmarks", {kStrokeA, kStrokeB, kUndo, kUndo}, "Lumistra"},
        TitleRow{"OpenNamesTheFile", {kStrokeA, kOpen}, kOpenedTitle},
        TitleRow{"UndoBackToTheOpenedCurve", {kOpen, kStrokeA, kUndo}, kOpenedTitle},
        TitleRow{"FailedOpenChangesNothing", {kStrokeA, kOpenFailed}, "*Lumistra"},
        TitleRow{"SaveToANewName", {kStrokeA, kSave}, "lamp.ies - Lumistra"},
        TitleRow{"FailedSaveChangesNothing", {kOpen, kStrokeA, kSaveFailed}, std::string("*") + kOpenedTitle},
        TitleRow{"StrokeAfterSaveMarks", {kSave, kStrokeA}, "*lamp.ies - Lumistra"}),
    [](const testing::TestParamInfo<TitleRow>& p) { return p.param.name; });

struct CloseRow {
  const char* name;
  std::vector<Step> steps;  // before the close
  SaveChangesAnswer answer;
  bool saveChosen;  // the save dialog returns a name
  Log expected;     // the close's calls
};

void PrintTo(const CloseRow& row, std::ostream* out) { *out << row.name; }

class CloseQuestion : public testing::TestWithParam<CloseRow> {};

// File > Exit and the close event close as the answer says; the end of the
// session asks the same and gives the answer, and the window stays.
TEST_P(CloseQuestion, AsksAboutModifiedWorkAndClosesOnlyAsAnswered) {
  const CloseRow& row = GetParam();
  const bool closes = std::count(row.expected.begin(), row.expected.end(), "destroy") == 1;
  for (int way = 0; way < 3; ++way) {
    Session s(300, 200);
    for (Step step : row.steps) Take(s, step);
    s.window.log.clear();
    s.window.answer = row.answer;
    if (row.saveChosen) s.window.saveChoice = SaveFolder() + "/lamp";
    Log expected = row.expected;
    if (way == 0) s.Send(Command(IDM_EXIT));
    if (way == 1) s.Send(Plain(EventKind::kClose));
    if (way == 2) {  // the session's end: the same question, and the window stays
      EXPECT_EQ(AllowSessionEnd(s.document, s.saved, s.window), closes);
      std::erase(expected, "destroy");
    }
    EXPECT_EQ(s.window.log, expected) << way;
    EXPECT_EQ(std::filesystem::exists(SaveFolder() + "/lamp.ies"), row.saveChosen && closes);
    std::filesystem::remove_all(SaveFolder());
  }
}

const std::string kAskCurve = "ask Lumistra: Save the changes to the curve?";

INSTANTIATE_TEST_SUITE_P(
    Table, CloseQuestion,
    testing::Values(
        CloseRow{"AsSavedClosesAtOnce", {kStrokeA, kUndo}, SaveChangesAnswer::kCancel, false, {"destroy"}},
        CloseRow{"Save", {kStrokeA}, SaveChangesAnswer::kSave, true, {kAskCurve, "choose save", "destroy"}},
        CloseRow{"SaveCancelled", {kStrokeA}, SaveChangesAnswer::kSave, false, {kAskCurve, "choose save"}},
        CloseRow{"DontSave", {kStrokeA}, SaveChangesAnswer::kDontSave, false, {kAskCurve, "destroy"}},
        CloseRow{"Cancel", {kStrokeA}, SaveChangesAnswer::kCancel, true, {kAskCurve}},
        CloseRow{"NamesTheFile", {kOpen, kStrokeA}, SaveChangesAnswer::kCancel, false,
                 {"ask Lumistra: Save the changes to lm63-1995-erco-spot.ies?"}}),
    [](const testing::TestParamInfo<CloseRow>& p) { return p.param.name; });

// Lamp > Properties shows what `check` says of the opened file, and the
// open's note counts its errors; a drawn lamp is said to be one.
TEST(Properties, ShowTheOpenedFilesHeaderAndFindings) {
  const std::string path = SaveFolder() + "/faulty.ies";
  std::ofstream(path) << "IES:LM-63-2019\n[TEST] T1\n[ISSUEDATE] 2026-01-01\n[MANUFAC] Maker\n"
                         "[DATE] 2020\nTILT=NONE\n1 1000 1 3 1 1 1 0 0 0\n1 1.00000 10\n0 45 90\n0\n100 80 0\n";
  Session s(300, 200);
  s.Send(Command(IDM_PROPERTIES));
  s.Send(OpenFile(path));
  s.Send(Command(IDM_PROPERTIES));
  std::filesystem::remove_all(SaveFolder());
  const Log& log = s.window.log;
  ASSERT_GE(log.size(), 3u);
  EXPECT_TRUE(log.front().starts_with("properties This lamp is drawn, not read from a file.\n"));
  EXPECT_NE(std::ranges::find(log, "note 2 errors found: Lamp > Properties"), log.end());
  for (const char* shown : {"Format: LM-63-2019\n", "Manufacturer: Maker\n", "keyword-required",
                            "keyword-undefined"}) {
    EXPECT_NE(log.back().find(shown), std::string::npos) << shown << " in " << log.back();
  }
}

}  // namespace

// Open and a drop ask about modified work as closing does: Cancel keeps it
// and reads nothing, Don't Save goes on to the file.
TEST(Open, AsksAboutModifiedWorkFirst) {
  for (const SaveChangesAnswer answer : {SaveChangesAnswer::kCancel, SaveChangesAnswer::kDontSave}) {
    for (const AppEvent& open : {Command(IDM_OPEN), OpenFile(kUsableFile)}) {
      Session s(300, 200);
      Stroke(s, 200, 250, 230, 280);
      const Curve drawn = s.editor.curve;
      s.window.log.clear();
      s.window.answer = answer;
      s.window.openChoice = std::string(kUsableFile);
      s.Send(open);
      ASSERT_FALSE(s.window.log.empty());
      EXPECT_EQ(s.window.log.front(), "ask Lumistra: Save the changes to the curve?");
      EXPECT_EQ(s.editor.curve == drawn, answer == SaveChangesAnswer::kCancel);
    }
  }
}
