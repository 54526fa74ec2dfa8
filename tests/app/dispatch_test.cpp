// The main window's event handling: which editor operation each event calls
// and which halves it renders, in order, through a recording fake window.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/dispatch.h"
#include "app/ui_text.h"

namespace {

using Log = std::vector<std::string>;

// Records every call the dispatch makes of the platform. The file dialogs
// are cancelled; the left Control key is as the test sets it.
class RecordingWindow final : public Window {
 public:
  Log log;
  bool leftControlDown = false;

  std::optional<std::string> ChooseSaveFile() override { return Note("choose save"), std::nullopt; }
  std::optional<std::string> ChooseOpenFile() override { return Note("choose open"), std::nullopt; }
  void ShowMessage(std::string_view, std::string_view) override { Note("message"); }
  void CapturePointer() override { Note("capture"); }
  void ReleasePointer() override { Note("release"); }
  bool IsLeftControlDown() override { return Note("ask control"), leftControlDown; }
  void RunAboutBox() override { Note("about box"); }
  void RunHelpBox() override { Note("help box"); }
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

// An editor and a window with the pointer last seen at (x, y) and an empty log.
struct Session {
  DistributionEditor editor;
  RecordingWindow window;
  Session(int32_t x, int32_t y) {
    Send(Move(x, y));
    window.log.clear();
  }
  Halves Send(const AppEvent& event) { return DispatchEvent(editor, window, event); }
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
        SingleEventRow{"CommandUnknown", Command(65535), {}}),
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

}  // namespace
