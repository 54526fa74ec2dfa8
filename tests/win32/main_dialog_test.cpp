// The main window of the Windows program, created from template 129 with the
// real MainDialogProc and driven by real messages. Which halves a message
// rendered is read from the client-area image: it is filled with a marker
// colour before the message, and a half that no longer carries the marker was
// rendered by it.

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app/dispatch.h"
#include "app/status_text.h"
#include "app/win32/status_bar.h"
#include "app/ui_text.h"
#include "app/win32/info_dialog.h"
#include "app/win32/main_dialog.h"
#include "win32_text/wide_text.h"
#include "app/win32/win32_window.h"
#include "editor/lamp_history.h"
#include "editor/distribution_editor.h"
#include "editor/fit_view.h"
#include "files/ies_format.h"
#include "files/safe_save.h"
#include "files/utf8_path.h"
#include "modal_box.h"
#include "render/polar_view.h"

namespace {

constexpr uint32_t kMarker = 0x00FF00FFu;  // a colour neither view uses

struct Message {
  UINT code;
  WPARAM wParam;
  LPARAM lParam;
};

// Client positions and sizes travel as two 16-bit halves of the second parameter.
LPARAM Pair(int x, int y) {
  return static_cast<LPARAM>((static_cast<uint32_t>(y & 0xFFFF) << 16) | static_cast<uint32_t>(x & 0xFFFF));
}

Message Move(int x, int y) { return {WM_MOUSEMOVE, 0, Pair(x, y)}; }
Message Wheel(int amount, WORD flags = 0) {
  return {WM_MOUSEWHEEL, static_cast<WPARAM>((static_cast<uint32_t>(amount & 0xFFFF) << 16) | flags), Pair(10, 10)};
}
Message Command(WORD id, WORD notification = 0) {
  return {WM_COMMAND, static_cast<WPARAM>((static_cast<uint32_t>(notification) << 16) | id), 0};
}
// A window's caption or text as stored, not through an ANSI window's
// procedure and the code page (which GetWindowTextW would use).
std::wstring TextOf(HWND window) {
  std::wstring text(1024, L'\0');
  text.resize(static_cast<size_t>(InternalGetWindowText(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

const Message kLeftDown{WM_LBUTTONDOWN, MK_LBUTTON, 0};
const Message kLeftUp{WM_LBUTTONUP, 0, 0};
const Message kLeftDoubleClick{WM_LBUTTONDBLCLK, MK_LBUTTON, 0};
const Message kMiddleDown{WM_MBUTTONDOWN, MK_MBUTTON, 0};
const Message kMiddleUp{WM_MBUTTONUP, 0, 0};

class MainDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                 MainDialogProc, reinterpret_cast<LPARAM>(&start_));
    ASSERT_NE(window_, nullptr);
  }

  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
    DrainQuitMessage();
  }

  // The exit code of a pending quit message, or -1 when there is none.
  static int DrainQuitMessage() {
    MSG message;
    int code = -1;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) code = static_cast<int>(message.wParam);
    return code;
  }

  LRESULT Send(const Message& m) { return SendMessageA(window_, m.code, m.wParam, m.lParam); }

  // Sends `m` and returns the halves it rendered. A size event that changes
  // the image's size renders into a new image, which counts as both halves
  // (for a 1 x 1 client area both halves are empty).
  Halves SendAndSeeRendered(const Message& m) {
    Image* image = ClientImageOf(window_);
    std::fill(image->pixels.begin(), image->pixels.end(), kMarker);
    const int width = image->width;
    const int height = image->height;
    Send(m);
    image = ClientImageOf(window_);
    if (image->width != width || image->height != height) return Halves::kBoth;
    const bool left = HalfRendered(*image, 0);
    const bool right = HalfRendered(*image, editor_.halfWidth());
    return static_cast<Halves>((left ? 1 : 0) | (right ? 2 : 0));
  }

  bool HalfRendered(const Image& image, int firstColumn) const {
    for (int y = 0; y < image.height; ++y) {
      for (int x = firstColumn; x < firstColumn + editor_.halfWidth(); ++x) {
        if (image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)] != kMarker) return true;
      }
    }
    return false;
  }

  HWND StatusBarOf() const { return FindWindowExW(window_, nullptr, STATUSCLASSNAMEW, nullptr); }

  // The status bar's place in client coordinates.
  RECT StatusBarRect() const {
    RECT bar{};
    GetWindowRect(StatusBarOf(), &bar);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&bar), 2);
    return bar;
  }

  bool CurveIsZero() const {
    for (float sample : editor_.curve) {
      if (sample != 0.0f) return false;
    }
    return true;
  }

  DistributionEditor editor_;
  MainWindowStart start_{&editor_, {}};
  HWND window_ = nullptr;
};

// ---------------------------------------------------------------------------
// Start

TEST_F(MainDialogTest, InitPlacesTheWindowAndMapsTheEditorOntoItsClientArea) {
  RECT outer;
  GetWindowRect(window_, &outer);
  EXPECT_EQ(outer.left, 200);
  EXPECT_EQ(outer.top, 100);
  EXPECT_EQ(outer.right - outer.left, 800);
  EXPECT_EQ(outer.bottom - outer.top, 400);

  RECT client;
  GetClientRect(window_, &client);
  EXPECT_EQ(editor_.clientWidth, client.right);
  EXPECT_EQ(editor_.clientHeight, StatusBarRect().top);  // the views: the client area above the bar
  EXPECT_LT(client.bottom, 400);  // caption, menu and frame take their share
  EXPECT_EQ(ClientImageOf(window_)->width, client.right);

  EXPECT_FALSE(IsWindowVisible(window_));  // hidden until the modal run shows it
  EXPECT_EQ(reinterpret_cast<DistributionEditor*>(GetWindowLongPtrA(window_, GWLP_USERDATA)), &editor_);
}

TEST_F(MainDialogTest, InitReturnsOneAndEveryOtherMessageZero) {
  EXPECT_EQ(MainDialogProc(window_, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&start_)), TRUE);
  EXPECT_EQ(MainDialogProc(window_, WM_MOUSEMOVE, 0, Pair(5, 5)), FALSE);
  EXPECT_EQ(MainDialogProc(window_, WM_COMMAND, IDM_RESET, 0), FALSE);
  EXPECT_EQ(MainDialogProc(window_, WM_RBUTTONDOWN, 0, 0), FALSE);
}

TEST_F(MainDialogTest, TemplateCarriesTheCaptionStylesAndMenu109) {
  char caption[64] = "";
  GetWindowTextA(window_, caption, sizeof caption);
  EXPECT_STREQ(caption, TEXT_TITLE);
  const LONG_PTR styles = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  EXPECT_EQ(GetWindowLongPtrA(window_, GWL_STYLE) & styles, styles);

  struct Item {
    int popup, position;
    const char* text;
    UINT id;
  };
  const Item items[] = {
      {0, 0, TEXT_MENU_OPEN, IDM_OPEN},   {0, 1, TEXT_MENU_SAVE, IDM_SAVE},
      {0, 2, TEXT_MENU_RESET, IDM_RESET}, {0, 3, TEXT_MENU_EXIT, IDM_EXIT},
      {1, 0, TEXT_MENU_NEW_LAMP, IDM_NEW_LAMP}, {1, 1, TEXT_MENU_SCALE_TO_FLUX, IDM_SCALE_TO_FLUX},
      {1, 2, TEXT_MENU_SCALE_TO_PEAK, IDM_SCALE_TO_PEAK}, {1, 3, TEXT_MENU_BEAM_ANGLE, IDM_BEAM_ANGLE},
      {1, 5, TEXT_MENU_KEEP_FLUX, IDM_KEEP_FLUX},  // after a separator
      {1, 7, TEXT_MENU_PROPERTIES, IDM_PROPERTIES},  // after another
      {2, 0, TEXT_MENU_ABOUT, IDM_ABOUT}, {2, 1, TEXT_MENU_HOW_TO_USE, IDM_HOW_TO_USE},
  };
  HMENU menu = GetMenu(window_);
  ASSERT_EQ(GetMenuItemCount(menu), 3);
  char text[64];
  const char* const popups[] = {TEXT_MENU_FILE, TEXT_MENU_LAMP, TEXT_MENU_HELP};
  for (int i = 0; i < 3; ++i) {
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, popups[i]);
  }
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 0)), 4);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 1)), 8);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 2)), 2);
  for (const Item& item : items) {
    HMENU popup = GetSubMenu(menu, item.popup);
    GetMenuStringA(popup, static_cast<UINT>(item.position), text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, item.text);
    EXPECT_EQ(GetMenuItemID(popup, item.position), item.id) << item.text;
  }
}

TEST(IconResource, GroupHoldsEverySizeAndColourDepth) {
#pragma pack(push, 2)
  struct GroupEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
  };
#pragma pack(pop)
  HMODULE self = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(IDI_APP), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_NE(found, nullptr);
  const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(self, found)));
  const WORD count = *reinterpret_cast<const WORD*>(group + 4);
  std::vector<std::pair<int, int>> entries;
  for (WORD i = 0; i < count; ++i) {
    const auto* e = reinterpret_cast<const GroupEntry*>(group + 6 + i * sizeof(GroupEntry));
    entries.emplace_back(e->width, e->bitCount);
  }
  const std::vector<std::pair<int, int>> expected = {
      {16, 4}, {32, 4}, {48, 4}, {16, 8}, {32, 8}, {48, 8}, {32, 24}, {16, 32}, {48, 32}};
  EXPECT_EQ(entries, expected);
}

// ---------------------------------------------------------------------------
// The redraw policy, message by message

struct RedrawCase {
  const char* name;
  std::vector<Message> messages;
  std::vector<Halves> rendered;  // one entry per message
};

class RedrawPolicyTest : public MainDialogTest, public ::testing::WithParamInterface<RedrawCase> {};

TEST_P(RedrawPolicyTest, EachMessageRendersItsHalves) {
  const RedrawCase& c = GetParam();
  ASSERT_EQ(c.messages.size(), c.rendered.size());
  for (size_t i = 0; i < c.messages.size(); ++i) {
    EXPECT_EQ(SendAndSeeRendered(c.messages[i]), c.rendered[i]) << "message " << i;
  }
}

void PrintTo(const RedrawCase& c, std::ostream* out) { *out << c.name; }

constexpr Halves L = Halves::kLeft, R = Halves::kRight, B = Halves::kBoth, N = Halves::kNone;

INSTANTIATE_TEST_SUITE_P(
    Messages, RedrawPolicyTest,
    ::testing::Values(
        // A stroke: the move that places the pointer, the press, three moves: the
        // diagram each time; the release: the wall only.
        RedrawCase{"Stroke", {Move(150, 150), kLeftDown, Move(160, 200), Move(200, 220), Move(240, 200), kLeftUp},
                   {L, L, L, L, L, R}},
        // Press and release over the wall: the diagram, then the wall all the same.
        RedrawCase{"PressOverWall", {Move(600, 150), kLeftDown, kLeftUp}, {L, L, R}},
        // The wheel renders the half the pointer was last seen over.
        RedrawCase{"WheelOverWall", {Move(600, 150), Wheel(120), Wheel(-120)}, {L, R, R}},
        RedrawCase{"WheelOverDiagram", {Move(100, 150), Wheel(120), Wheel(-240)}, {L, L, L}},
        // The middle button only sets and clears the pan.
        RedrawCase{"MiddleButton", {Move(100, 150), kMiddleDown, Move(120, 160), kMiddleUp}, {L, N, L, N}},
        // The second press of a double click is ignored, the release is not.
        RedrawCase{"DoubleClick", {Move(150, 150), kLeftDown, kLeftUp, kLeftDoubleClick, kLeftUp},
                   {L, L, R, N, R}},
        // Sizes: both halves, a minimised window (0 x 0) included.
        RedrawCase{"Size", {{WM_SIZE, SIZE_RESTORED, Pair(640, 300)}, {WM_SIZE, SIZE_MINIMIZED, Pair(0, 0)}},
                   {B, B}},
        // A paint draws both halves anew and shows them.
        RedrawCase{"Paint", {{WM_PAINT, 0, 0}}, {B}},
        // Reset both; Escape and Enter (commands 2 and 1), an unknown command and
        // a notification code in the high word change nothing of that.
        RedrawCase{"Commands",
                   {Command(IDM_RESET), Command(IDCANCEL), Command(IDOK), Command(40000), Command(IDM_RESET, 1)},
                   {B, N, N, N, B}},
        // Another program's WM_APP+1 with a made-up address: nothing opens.
        RedrawCase{"ForeignStartFileMessage", {{kOpenStartFileMessage, 0, 0x1234}}, {N}},
        // Right-button and middle double-click messages are left alone.
        RedrawCase{"OtherButtons",
                   {{WM_RBUTTONDOWN, MK_RBUTTON, Pair(5, 5)}, {WM_RBUTTONUP, 0, Pair(5, 5)},
                    {WM_MBUTTONDBLCLK, MK_MBUTTON, Pair(5, 5)}},
                   {N, N, N}}),
    [](const ::testing::TestParamInfo<RedrawCase>& row) { return std::string(row.param.name); });

// ---------------------------------------------------------------------------
// Decoding and the platform pieces

TEST_F(MainDialogTest, PositionsAreSignedHalves) {
  Send(Move(150, 150));
  Send(kLeftDown);
  EXPECT_EQ(GetCapture(), window_);
  Send(Move(-5, -7));  // left of and above the client area while captured
  EXPECT_EQ(editor_.lastX, -5);
  EXPECT_EQ(editor_.lastY, -7);
  Send(Move(32767, -32768));
  EXPECT_EQ(editor_.lastX, 32767);
  EXPECT_EQ(editor_.lastY, -32768);
  Send(kLeftUp);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MainDialogTest, SizeEventsMapTheEditorAndTheImage) {
  Send({WM_SIZE, SIZE_RESTORED, Pair(640, 300)});
  const int bar = StatusBarRect().bottom - StatusBarRect().top;
  EXPECT_GT(bar, 0);
  EXPECT_EQ(editor_.clientWidth, 640);
  EXPECT_EQ(editor_.clientHeight, 300 - bar);
  EXPECT_EQ(ClientImageOf(window_)->width, 640);
  EXPECT_EQ(ClientImageOf(window_)->height, 300 - bar);
  Send({WM_SIZE, SIZE_MINIMIZED, Pair(0, 0)});
  EXPECT_EQ(editor_.clientWidth, 1);
  EXPECT_EQ(editor_.clientHeight, 1);
}

TEST_F(MainDialogTest, StatusBarFollowsThePointerBelowTheViews) {
  HWND bar = StatusBarOf();
  ASSERT_NE(bar, nullptr);
  EXPECT_NE(GetWindowLongPtrW(bar, GWL_STYLE) & SBARS_SIZEGRIP, 0);
  RECT client;
  GetClientRect(window_, &client);
  EXPECT_EQ(StatusBarRect().bottom, client.bottom);
  const auto part = [bar](int index) {
    wchar_t text[256] = L"";
    SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return std::wstring(text);
  };
  Send(Move(static_cast<int>(editor_.centerX) + 100, static_cast<int>(editor_.centerY)));
  EXPECT_EQ(part(0).rfind(L"90\u00b0  curve 0 cd  pointer ", 0), 0u) << Utf8FromWide(part(0));
  EXPECT_EQ(part(0), WideFromUtf8(StatusTextsFor(editor_, Document(), true).pointer));
  EXPECT_EQ(part(2), L"light 0.1 m from the wall");
  Send({WM_MOUSELEAVE, 0, 0});
  EXPECT_EQ(part(0), L"");
  // Page Down turns the drawn lamp: the bar names the section shown.
  Send({WM_KEYDOWN, VK_NEXT, 0});
  EXPECT_EQ(part(2), L"section C 90° | 270°  light 0.1 m from the wall");
}

// A note naming a file of 300 characters is cut to the bar's 255, not lost.
TEST_F(MainDialogTest, ALongNoteIsCutWithAnEllipsis) {
  StatusBar bar;
  bar.Create(window_);
  bar.Place(800, 400);
  bar.ShowNote("Saved " + std::string(300, 'a') + "\xC3\xA9.ies");
  wchar_t text[512] = L"";
  SendMessageW(bar.handle(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::wstring(text), L"Saved " + std::wstring(248, L'a') + L"\u2026");
}

TEST_F(MainDialogTest, StrokeOverTheDiagramDrawsAndOverTheWallDoesNot) {
  Send(Move(600, 150));
  Send(kLeftDown);
  Send(Move(620, 200));
  Send(kLeftUp);
  EXPECT_TRUE(CurveIsZero());

  Send(Move(150, 150));
  Send(kLeftDown);
  EXPECT_EQ(editor_.drawing, 1);
  Send(Move(160, 220));
  Send(kLeftUp);
  EXPECT_EQ(editor_.drawing, 0);
  EXPECT_FALSE(CurveIsZero());

  Send(Command(IDM_RESET));
  EXPECT_TRUE(CurveIsZero());
}

TEST_F(MainDialogTest, DoubleClickTakesNoCaptureAndStartsNoStroke) {
  Send(Move(150, 150));
  Send(kLeftDoubleClick);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(editor_.drawing, 0);
  Send(Move(160, 220));
  EXPECT_TRUE(CurveIsZero());
}

TEST_F(MainDialogTest, MiddleButtonPansOnlyOverTheDiagram) {
  Send(Move(600, 150));
  Send(kMiddleDown);
  EXPECT_EQ(editor_.panning, 0);
  Send(Move(100, 150));
  Send(kMiddleDown);
  EXPECT_EQ(editor_.panning, 1);
  EXPECT_EQ(GetCapture(), window_);  // a release outside the window still comes
  Send(kMiddleUp);
  EXPECT_EQ(editor_.panning, 0);
  EXPECT_EQ(GetCapture(), nullptr);
}

// Another window of the program takes the capture mid-stroke (as a menu or a
// dialog does), or the system cancels modes: the stroke ends as a release
// would end it, with the wall rendered, and hovering draws no more.
TEST_F(MainDialogTest, LosingTheCaptureEndsTheStroke) {
  HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  Send(Move(150, 150));
  Send(kLeftDown);
  Send(Move(160, 200));
  Image* image = ClientImageOf(window_);
  std::fill(image->pixels.begin(), image->pixels.end(), kMarker);
  SetCapture(other);
  EXPECT_EQ(editor_.drawing, 0);
  EXPECT_TRUE(HalfRendered(*image, editor_.halfWidth()));
  const auto curve = editor_.curve;
  Send(Move(120, 240));
  EXPECT_EQ(editor_.curve, curve);
  ReleaseCapture();
  DestroyWindow(other);

  Send(kLeftDown);
  EXPECT_EQ(SendAndSeeRendered({WM_CANCELMODE, 0, 0}), Halves::kRight);
  EXPECT_EQ(editor_.drawing, 0);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MainDialogTest, CarriesIcon107AndNeverErasesItsBackground) {
  EXPECT_NE(SendMessageA(window_, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageA(window_, WM_GETICON, ICON_SMALL, 0), 0);
  HDC dc = GetDC(window_);
  EXPECT_EQ(SendMessageA(window_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), TRUE);  // "erased"
  ReleaseDC(window_, dc);
}

// The wheel over the wall with each state of the Control keys. The keys are
// pressed through the platform's input queue, as a keyboard would.
enum class Keys { kNone, kLeftControl, kRightControl, kLeftControlPressedAndReleased };

struct WheelCase {
  const char* name;
  Keys keys;
  int overX;  // where the pointer was last seen
  bool lightMoves;
};

void PrintTo(const WheelCase& c, std::ostream* out) { *out << c.name; }

class WheelTest : public MainDialogTest, public ::testing::WithParamInterface<WheelCase> {
 protected:
  static void Key(WORD key, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    if (key == VK_RCONTROL) input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    SendInput(1, &input, sizeof input);
    Sleep(50);  // let the platform's input state settle
  }
};

TEST_P(WheelTest, LeftControlAloneMovesTheLight) {
  const WheelCase& c = GetParam();
  Send(Move(c.overX, 150));
  if (c.keys == Keys::kLeftControl || c.keys == Keys::kLeftControlPressedAndReleased) Key(VK_LCONTROL, true);
  if (c.keys == Keys::kRightControl) Key(VK_RCONTROL, true);
  if (c.keys == Keys::kLeftControlPressedAndReleased) Key(VK_LCONTROL, false);

  const float distance = editor_.wallDistance;
  const float wallScale = editor_.wallScale;
  const float polarScale = editor_.polarScale;
  // The key flags of the message claim Control; only the key itself counts.
  Send(Wheel(120, MK_CONTROL));

  if (c.keys == Keys::kLeftControl) Key(VK_LCONTROL, false);
  if (c.keys == Keys::kRightControl) Key(VK_RCONTROL, false);

  if (c.overX < editor_.halfWidth()) {
    EXPECT_GT(editor_.polarScale, polarScale);
    EXPECT_EQ(editor_.wallScale, wallScale);
    EXPECT_EQ(editor_.wallDistance, distance);
  } else if (c.lightMoves) {
    EXPECT_LT(editor_.wallDistance, distance);  // a turn away brings the light closer
    EXPECT_EQ(editor_.wallScale, wallScale);
  } else {
    EXPECT_GT(editor_.wallScale, wallScale);
    EXPECT_EQ(editor_.wallDistance, distance);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, WheelTest,
    ::testing::Values(
        WheelCase{"NoKeyOverWall", Keys::kNone, 600, false},
        WheelCase{"LeftControlOverWall", Keys::kLeftControl, 600, true},
        WheelCase{"RightControlOverWall", Keys::kRightControl, 600, false},
        // Pressed and released before the turn: the discarded first read swallows
        // the "pressed since" bit, so the key does not count.
        WheelCase{"LeftControlReleasedOverWall", Keys::kLeftControlPressedAndReleased, 600, false},
        // Over the diagram the key is not asked for: the diagram zooms.
        WheelCase{"LeftControlOverDiagram", Keys::kLeftControl, 100, false}),
    [](const ::testing::TestParamInfo<WheelCase>& row) { return std::string(row.param.name); });

TEST_F(MainDialogTest, WheelAmountIsTheSignedHighWord) {
  Send(Move(600, 150));
  const float wallScale = editor_.wallScale;
  Send(Wheel(-120));
  EXPECT_LT(editor_.wallScale, wallScale);
}

// ---------------------------------------------------------------------------
// Ending the run

TEST_F(MainDialogTest, ExitAndCloseDestroyTheWindowAndQuitWithZero) {
  for (const Message& m : {Command(IDM_EXIT), Message{WM_CLOSE, 0, 0}}) {
    DistributionEditor editor;
    const MainWindowStart start{&editor, {}};
    HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                     MainDialogProc, reinterpret_cast<LPARAM>(&start));
    SendMessageA(window, m.code, m.wParam, m.lParam);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(DrainQuitMessage(), 0);
  }
}

// The end of the session with a stroke not saved: the question of a close
// (program_test.sh answers that one), and Cancel refuses the end.
TEST_F(MainDialogTest, EndOfSessionAsksAboutModifiedWorkAndCancelRefusesIt) {
  for (const Message& m : {Move(150, 150), kLeftDown, Move(160, 220), kLeftUp}) Send(m);
  EXPECT_EQ(TextOf(window_), L"*Lumistra");
  LRESULT result = TRUE;
  EXPECT_TRUE(WithModalBox(
      window_, [&] { result = Send({WM_QUERYENDSESSION, 0, 0}); },
      [](HWND box) {
        EXPECT_EQ(TextOf(box), L"Lumistra");
        for (int button : {IDYES, IDNO, IDCANCEL}) EXPECT_NE(GetDlgItem(box, button), nullptr);
        PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
      }));
  EXPECT_EQ(result, FALSE);
  EXPECT_TRUE(IsWindow(window_));
}

TEST(MainDialogRun, CloseEndsTheModalRunWithZero) {
  DistributionEditor editor;
  const MainWindowStart start{&editor, {}};
  const auto result = WithModalBox(
      nullptr,
      [&] {
        EXPECT_EQ(DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc,
                                  reinterpret_cast<LPARAM>(&start)),
                  0);
      },
      [](HWND window) {
        char caption[64] = "";
        GetWindowTextA(window, caption, sizeof caption);
        EXPECT_STREQ(caption, TEXT_TITLE);
        PostMessageA(window, WM_CLOSE, 0, 0);
      });
  EXPECT_TRUE(result);
  MSG message;
  while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) EXPECT_EQ(message.wParam, 0u);
}

// ---------------------------------------------------------------------------
// Keys, typed into the real modal run: SendInput puts them in the input
// queue, and the dialog manager's own loop (DialogBoxParam, as WinMain runs
// the window) hands them on to MainDialogProc.

struct Chord {
  WORD key;
  bool control;
  bool shift;
};

void Type(const Chord& chord) {
  std::vector<INPUT> inputs;
  const auto add = [&inputs](WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (chord.control) add(VK_CONTROL, false);
  if (chord.shift) add(VK_SHIFT, false);
  add(chord.key, false);
  add(chord.key, true);
  if (chord.shift) add(VK_SHIFT, true);
  if (chord.control) add(VK_CONTROL, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

enum class After { kFirstStroke, kSecondStroke, kFitted };

struct KeyCase {
  const char* name;
  std::vector<Chord> keys;
  After curve;      // what the curve and the view are after the keys
  const char* box;  // the caption of the box the keys open, "" for none
  bool noFocus = false;  // typed while no window holds the focus: system keys
};

void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.name; }

// The step that runs once the modal loop has handled the typed keys.
std::function<bool()> keysHandled;

void CALLBACK AfterKeys(HWND, UINT, UINT_PTR timer, DWORD) {
  if (keysHandled && keysHandled()) {
    KillTimer(nullptr, timer);
    keysHandled = nullptr;
  }
}

class KeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyTest, TypedKeysReachTheModalMainWindow) {
  const KeyCase& c = GetParam();
  DistributionEditor editor;
  const MainWindowStart start{&editor, {}};
  Curve first{}, second{};
  std::string boxSeen;
  bool checked = false;
  bool closing = false;
  const auto send = [](HWND w, const Message& m) { SendMessageA(w, m.code, m.wParam, m.lParam); };
  const bool ran = WithModalBox(
      nullptr,
      [&] {
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                        MainDialogProc, reinterpret_cast<LPARAM>(&start));
      },
      [&](HWND main) {
        for (const Message& m : {Move(150, 150), kLeftDown, Move(160, 220), kLeftUp}) send(main, m);
        first = editor.curve;
        for (const Message& m : {Move(120, 100), kLeftDown, Move(60, 120), kLeftUp}) send(main, m);
        second = editor.curve;
        EXPECT_EQ(GetFocus(), main);  // the dialog without controls holds the keyboard
        if (c.noFocus) SetFocus(nullptr);
        for (const Chord& chord : c.keys) Type(chord);
        // Looks once the keys are through, closes a box they opened, then the
        // window, answering its question with don't save.
        keysHandled = [&, main] {
          if (!checked) {
            checked = true;
            if (c.curve == After::kFitted) {
              EXPECT_EQ(editor.curve, second);
              DistributionEditor fitted;
              fitted.clientWidth = editor.clientWidth;
              fitted.clientHeight = editor.clientHeight;
              fitted.curve = editor.curve;
              FitViewToCurve(fitted);
              EXPECT_EQ(editor.polarScale, fitted.polarScale);
              EXPECT_EQ(editor.wallDistance, fitted.wallDistance);
            } else {
              EXPECT_EQ(editor.curve, c.curve == After::kFirstStroke ? first : second);
            }
          }
          HWND box = nullptr;
          EnumThreadWindows(
              GetCurrentThreadId(),
              [](HWND w, LPARAM found) -> BOOL {
                if (!IsWindowVisible(w) || GetWindow(w, GW_OWNER) == nullptr) return TRUE;
                *reinterpret_cast<HWND*>(found) = w;
                return FALSE;
              },
              reinterpret_cast<LPARAM>(&box));
          if (closing) {  // the strokes are not saved: the close asks, and they go
            if (box != nullptr) PostMessageA(box, WM_COMMAND, IDNO, 0);
            return box != nullptr || !IsWindow(main);
          }
          if (box != nullptr) {
            char caption[64] = "";
            GetWindowTextA(box, caption, sizeof caption);
            boxSeen = GetDlgItem(box, 0x470) != nullptr ? "file dialog" : caption;
            PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
            return false;
          }
          PostMessageA(main, WM_CLOSE, 0, 0);
          closing = true;
          return false;
        };
        SetTimer(nullptr, 0, 500, AfterKeys);
      });
  EXPECT_TRUE(ran);
  EXPECT_TRUE(checked);
  EXPECT_EQ(boxSeen, c.box);
  MSG message;
  while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyTest,
    ::testing::Values(
        KeyCase{"CtrlZ", {{'Z', true, false}}, After::kFirstStroke, ""},
        KeyCase{"CtrlZCtrlY", {{'Z', true, false}, {'Y', true, false}}, After::kSecondStroke, ""},
        KeyCase{"CtrlZCtrlShiftZ", {{'Z', true, false}, {'Z', true, true}}, After::kSecondStroke, ""},
        KeyCase{"Ctrl0", {{'0', true, false}}, After::kFitted, ""},
        KeyCase{"F1", {{VK_F1, false, false}}, After::kSecondStroke, TEXT_HELP_CAPTION},
        // The strokes are not saved: Open asks about them before its dialog.
        KeyCase{"CtrlO", {{'O', true, false}}, After::kSecondStroke, TEXT_TITLE},
        KeyCase{"CtrlZWithoutFocus", {{'Z', true, false}}, After::kFirstStroke, "", true}),
    [](const ::testing::TestParamInfo<KeyCase>& row) { return std::string(row.param.name); });

// ---------------------------------------------------------------------------
// The information boxes

// A box's control as its template places it, in dialog units.
struct Control {
  const char* text;
  int id;
  RECT place;  // x, y, width, height
  bool isIcon;  // names icon 107 and takes the icon's size
};

void ExpectControls(HWND box, const std::vector<Control>& controls) {
  HWND child = GetWindow(box, GW_CHILD);
  for (const Control& c : controls) {
    ASSERT_NE(child, nullptr) << c.text;
    if (c.isIcon) {
      EXPECT_NE(SendMessageA(child, STM_GETICON, 0, 0), 0);
    } else {
      char text[128] = "";
      GetWindowTextA(child, text, sizeof text);
      EXPECT_STREQ(text, c.text);
    }
    EXPECT_EQ(static_cast<int16_t>(GetDlgCtrlID(child)), c.id) << c.text;
    RECT expected = c.place;  // each of the four numbers is converted on its own
    MapDialogRect(box, &expected);
    RECT actual;
    GetWindowRect(child, &actual);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(actual.left, expected.left) << c.text;
    EXPECT_EQ(actual.top, expected.top) << c.text;
    if (!c.isIcon) {
      EXPECT_EQ(actual.right - actual.left, expected.right) << c.text;
      EXPECT_EQ(actual.bottom - actual.top, expected.bottom) << c.text;
    }
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr);
}

struct BoxCase {
  const char* name;
  WORD command;
  const char* caption;
  std::vector<Control> controls;
};

const std::vector<BoxCase> kBoxes = {
    {"About", IDM_ABOUT, TEXT_ABOUT_CAPTION,
     {{"", 2, {14, 9, 20, 20}, true},
      {TEXT_ABOUT_VERSION, -1, {49, 10, 67, 8}, false},
      {TEXT_OK, IDOK, {122, 7, 30, 11}, false}}},
    {"Help", IDM_HOW_TO_USE, TEXT_HELP_CAPTION,
     {{TEXT_HELP_LINE1, -1, {6, 6, 113, 8}, false},
      {TEXT_HELP_LINE2, -1, {6, 18, 139, 8}, false},
      {TEXT_HELP_LINE3, -1, {6, 25, 139, 8}, false},
      {TEXT_HELP_LINE4, -1, {6, 37, 173, 8}, false},
      {TEXT_HELP_LINE5, -1, {6, 45, 173, 8}, false},
      {TEXT_OK, IDOK, {155, 11, 30, 11}, false}}},
};

// How a box is closed, and the result it ends with.
struct Closing {
  const char* name;
  void (*close)(HWND box);
  INT_PTR result;
};

const std::vector<Closing> kClosings = {
    {"OkButton", [](HWND box) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK))); }, IDOK},
    {"Cancel", [](HWND box) { PostMessageA(box, WM_COMMAND, IDCANCEL, 0); }, IDCANCEL},
    {"EscapeKey", [](HWND box) { PostMessageA(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 0); }, IDCANCEL},
    {"EnterKey", [](HWND box) { PostMessageA(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_RETURN, 0); }, IDOK},
    {"CloseBox", [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
};

void PrintTo(const BoxCase& c, std::ostream* out) { *out << c.name; }
void PrintTo(const Closing& c, std::ostream* out) { *out << c.name; }

class InfoBoxTest : public MainDialogTest,
                    public ::testing::WithParamInterface<std::tuple<BoxCase, Closing>> {};

TEST_P(InfoBoxTest, OpensFromItsTemplateAndClosesWithItsButton) {
  const auto& [box, closing] = GetParam();
  bool seen = false;
  Halves rendered = Halves::kBoth;
  EXPECT_TRUE(WithModalBox(
      window_, [&] { rendered = SendAndSeeRendered(Command(box.command)); },
      [&](HWND opened) {
        seen = true;
        char caption[64] = "";
        GetWindowTextA(opened, caption, sizeof caption);
        EXPECT_STREQ(caption, box.caption);
        ExpectControls(opened, box.controls);
        EXPECT_FALSE(IsWindowEnabled(window_));  // modal over the main window
        closing.close(opened);
      }));
  EXPECT_TRUE(seen);
  EXPECT_EQ(rendered, Halves::kNone);
  EXPECT_TRUE(IsWindowEnabled(window_));
  EXPECT_TRUE(IsWindow(window_));  // the main window stays
}

TEST_P(InfoBoxTest, InfoDialogProcEndsWithTheClosingIdentifier) {
  const auto& [box, closing] = GetParam();
  const int templateId = box.command == IDM_ABOUT ? IDD_ABOUT : IDD_HELP;
  INT_PTR result = -1;
  EXPECT_TRUE(WithModalBox(
      window_,
      [&] {
        result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), window_,
                                 InfoDialogProc, 0);
      },
      closing.close));
  EXPECT_EQ(result, closing.result);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, InfoBoxTest, ::testing::Combine(::testing::ValuesIn(kBoxes), ::testing::ValuesIn(kClosings)),
    [](const ::testing::TestParamInfo<std::tuple<BoxCase, Closing>>& row) {
      return std::string(std::get<0>(row.param).name) + std::get<1>(row.param).name;
    });

// Lamp > Properties: the text read-only, its lines broken at "\r\n", and the
// focus on OK, so that Enter closes the box; nothing is rendered.
TEST_F(MainDialogTest, PropertiesBoxShowsTheTextAndClosesWithEnter) {
  std::wstring text;
  LONG_PTR style = 0;
  bool focusOnOk = false;
  Halves rendered = Halves::kBoth;
  EXPECT_TRUE(WithModalBox(
      window_, [&] { rendered = SendAndSeeRendered(Command(IDM_PROPERTIES)); },
      [&](HWND box) {
        text.resize(4096);  // an edit control keeps its text apart from the window's
        text.resize(static_cast<size_t>(GetDlgItemTextW(box, IDC_PROPERTIES_TEXT, text.data(), 4096)));
        style = GetWindowLongPtrW(GetDlgItem(box, IDC_PROPERTIES_TEXT), GWL_STYLE);
        focusOnOk = GetFocus() == GetDlgItem(box, IDOK);
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
      }));
  EXPECT_TRUE(text.starts_with(L"This lamp is drawn, not read from a file.\r\n\r\nPlanes: 1 ("));
  EXPECT_EQ(style & (ES_READONLY | ES_MULTILINE), ES_READONLY | ES_MULTILINE);
  EXPECT_TRUE(focusOnOk);
  EXPECT_EQ(rendered, Halves::kNone);
  EXPECT_TRUE(IsWindowEnabled(window_));
}

// ---------------------------------------------------------------------------
// The file dialogs

// The name field of an open or save dialog.
HWND FileNameField(HWND dialog) {
  for (int id : {0x47c /* cmb13 */, 0x480 /* edt1 */}) {
    HWND field = GetDlgItem(dialog, id);
    if (field != nullptr && IsWindowVisible(field)) return field;
  }
  return nullptr;
}

// The dialog lists `count` file types, "IES" first and chosen.
void ExpectIesFilter(HWND dialog, LRESULT count) {
  HWND types = GetDlgItem(dialog, 0x470);  // cmb1, the file types
  ASSERT_NE(types, nullptr);
  EXPECT_EQ(SendMessageA(types, CB_GETCOUNT, 0, 0), count);
  EXPECT_EQ(SendMessageA(types, CB_GETCURSEL, 0, 0), 0);
  char text[64] = "";
  SendMessageA(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "IES");
}

void Confirm(HWND dialog, const std::string& path) {
  HWND field = FileNameField(dialog);
  ASSERT_NE(field, nullptr);
  SetWindowTextW(field, WideFromUtf8(path).c_str());
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

std::string TempFolder() {
  wchar_t folder[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, folder);
  return Utf8FromWide(folder);
}

bool FileExists(const std::string& path) {
  return GetFileAttributesW(WideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void DeleteFileUtf8(const std::string& path) { DeleteFileW(WideFromUtf8(path).c_str()); }

TEST_F(MainDialogTest, OpenShowsTheDialogAndRendersBothHalvesWhenCancelled) {
  Halves rendered = Halves::kNone;
  EXPECT_TRUE(WithModalBox(
      window_, [&] { rendered = SendAndSeeRendered(Command(IDM_OPEN)); },
      [](HWND dialog) {
        ExpectIesFilter(dialog, 2);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      }));
  EXPECT_EQ(rendered, Halves::kBoth);
  EXPECT_TRUE(CurveIsZero());
}

TEST_F(MainDialogTest, SaveShowsTheDialogAndRendersNothing) {
  Halves rendered = Halves::kBoth;
  EXPECT_TRUE(WithModalBox(
      window_, [&] { rendered = SendAndSeeRendered(Command(IDM_SAVE)); },
      [](HWND dialog) {
        ExpectIesFilter(dialog, 3);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      }));
  EXPECT_EQ(rendered, Halves::kNone);
}

TEST_F(MainDialogTest, SaveDialogAcceptsTheNameOfANewFile) {
  const std::string path = TempFolder() + "lumistra-new-" + std::to_string(GetCurrentProcessId()) + ".ies";
  DeleteFileA(path.c_str());
  Win32Window platform(window_, editor_, *ClientImageOf(window_));
  std::optional<std::string> chosen;
  EXPECT_TRUE(WithModalBox(
      window_, [&] { chosen = platform.ChooseSaveFile({}, SaveFormat::kIes); }, [&](HWND dialog) { Confirm(dialog, path); }));
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, path);
}

TEST_F(MainDialogTest, OpenDialogReturnsAnExistingFile) {
  const std::string path = TempFolder() + "lumistra-old-" + std::to_string(GetCurrentProcessId()) + ".ies";
  std::ofstream(path) << "IESNA:LM-63-1995\n";
  Win32Window platform(window_, editor_, *ClientImageOf(window_));
  std::optional<std::string> chosen;
  EXPECT_TRUE(WithModalBox(
      window_, [&] { chosen = platform.ChooseOpenFile({}); }, [&](HWND dialog) { Confirm(dialog, path); }));
  DeleteFileA(path.c_str());
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, path);
}

std::string FileBytes(const std::string& path) {
  std::ifstream file(PathFromUtf8(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// File > Save and File > Open through the dialogs with the platform's own
// files: the name typed without extension gets ".ies", the lines end in
// CR LF, an existing file is replaced once the dialog's question is answered,
// and the file reads back. The title names the file saved. Names in any
// script: the dialogs, the file calls, the replace and the title all take the
// whole name.
class RoundTripTest : public MainDialogTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(RoundTripTest, SaveAndOpenThroughTheMenu) {
  const std::string name = GetParam() + std::to_string(GetCurrentProcessId());
  const std::string stem = TempFolder() + name;
  const std::string path = stem + ".ies";
  bool asked = false;
  const auto saveAs = [&](const std::string& typed) {
    EXPECT_TRUE(WithModalBoxes(
        window_, [&] { Send(Command(IDM_SAVE)); }, [&](HWND dialog) { Confirm(dialog, typed); },
        [&](HWND question) {  // the dialog's own, before it replaces the file
          asked = true;
          PostMessageA(question, WM_COMMAND, IDYES, 0);
        }));
  };
  saveAs(stem);  // a zero curve first: the second save replaces this file
  ASSERT_TRUE(FileExists(path));
  EXPECT_FALSE(asked);
  EXPECT_EQ(TextOf(window_), WideFromUtf8(name + ".ies - Lumistra"));
  Send(Move(150, 150));
  Send(kLeftDown);
  Send(Move(160, 220));
  Send(Move(240, 210));
  Send(kLeftUp);
  const auto drawn = editor_.curve;
  ASSERT_FALSE(CurveIsZero());
  EXPECT_EQ(TextOf(window_), WideFromUtf8("*" + name + ".ies - Lumistra"));
  saveAs(path);
  EXPECT_TRUE(asked);
  EXPECT_EQ(TextOf(window_), WideFromUtf8(name + ".ies - Lumistra"));

  const std::string bytes = FileBytes(path);
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.substr(0, 19), "IESNA:\r\nTILT=NONE\r\n");
  EXPECT_EQ(bytes.back(), ' ');

  Send(Command(IDM_RESET));
  EXPECT_TRUE(WithModalBoxes(
      window_, [&] { Send(Command(IDM_OPEN)); },
      [&](HWND question) { PostMessageA(question, WM_COMMAND, IDNO, 0); },  // the reset goes
      [&](HWND dialog) { Confirm(dialog, path); }));
  DeleteFileUtf8(path);
  // Intensities are written with six decimals, so the roots come back that close.
  for (size_t i = 0; i < drawn.size(); ++i) EXPECT_NEAR(editor_.curve[i], drawn[i], 1e-5) << "sample " << i;
}

// The EULUMDAT file type chosen in the save dialog: the typed name gets
// ".ldt", and File > Open reads the file by its content.
TEST_F(MainDialogTest, SaveAsEulumdatAndOpenIt) {
  const std::string stem = TempFolder() + "lumistra-ldt-" + std::to_string(GetCurrentProcessId());
  editor_.curve.fill(2.0f);
  Send(kLeftUp);  // a stroke's end takes the curve into the lamp
  EXPECT_TRUE(WithModalBox(
      window_, [&] { Send(Command(IDM_SAVE)); },
      [&](HWND dialog) {
        HWND types = GetDlgItem(dialog, 0x470);  // cmb1, the file types
        SendMessageA(types, CB_SETCURSEL, 2, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
        Confirm(dialog, stem);
      }));
  EXPECT_EQ(FileBytes(stem + ".ldt").substr(0, 10), "Lumistra\r\n");
  editor_.curve.fill(0.0f);  // the diagram only: the lamp is as saved, so Open asks nothing
  EXPECT_TRUE(WithModalBox(
      window_, [&] { Send(Command(IDM_OPEN)); }, [&](HWND dialog) { Confirm(dialog, stem + ".ldt"); }));
  for (float sample : editor_.curve) EXPECT_NEAR(sample, 2.0f, 1e-6f);
  // Save of the opened .ldt starts with its type chosen.
  EXPECT_TRUE(WithModalBox(
      window_, [&] { Send(Command(IDM_SAVE)); },
      [&](HWND dialog) {
        EXPECT_EQ(SendMessageA(GetDlgItem(dialog, 0x470), CB_GETCURSEL, 0, 0), 2);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      }));
  DeleteFileUtf8(stem + ".ldt");
}

INSTANTIATE_TEST_SUITE_P(Names, RoundTripTest,
                         ::testing::Values("lumistra-round-trip-",
                                           "Lüfter φως 灯 "),  // Latin accents, Greek, CJK
                         [](const ::testing::TestParamInfo<const char*>& row) {
                           return row.index == 0 ? std::string("Ascii") : std::string("AnyScript");
                         });

// ---------------------------------------------------------------------------
// Files given from outside: a drop, the command line

// A file with a known curve, written by the core under a name in any script.
class GivenFileTest : public MainDialogTest {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    for (size_t i = 0; i < written_.size(); ++i) written_[i] = static_cast<float>(i % 7);
    path_ = TempFolder() + "Lüfter φως 灯 given " + std::to_string(GetCurrentProcessId()) + ".ies";
    std::error_code reason;
    ASSERT_TRUE(ReplaceFileContents(path_, WriteIesText(written_.data()), reason));
  }
  void TearDown() override {
    DeleteFileUtf8(path_);
    MainDialogTest::TearDown();
  }
  void ExpectWrittenCurve() const {
    for (size_t i = 0; i < written_.size(); ++i) EXPECT_NEAR(editor_.curve[i], written_[i], 1e-5) << i;
  }

  std::array<float, 181> written_{};
  std::string path_;
};

// What the shell hands over on a drop: a DROPFILES header and the names,
// each ended by a NUL, the list by a second one.
HDROP DropOf(const std::vector<std::string>& paths) {
  std::wstring names;
  for (const std::string& path : paths) names += WideFromUtf8(path) + L'\0';
  names += L'\0';
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(header + 1));
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST_F(GivenFileTest, ADroppedFileOpensTheFirstOfSeveral) {
  EXPECT_NE(GetWindowLongPtrA(window_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
  const Message drop{WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({path_, "C:\\no such file.ies"})), 0};
  EXPECT_EQ(SendAndSeeRendered(drop), Halves::kBoth);  // the window took the drop's memory
  ExpectWrittenCurve();
}

TEST_F(GivenFileTest, TheStartFileOpensOnceTheWindowIsPlaced) {
  DistributionEditor editor;
  const MainWindowStart start{&editor, path_};
  HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                   MainDialogProc, reinterpret_cast<LPARAM>(&start));
  EXPECT_EQ(editor.curve[1], 0.0f);  // not during the init: the window is not shown yet
  MSG message;
  while (PeekMessageW(&message, window, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  EXPECT_TRUE(IsWindowVisible(window));
  for (size_t i = 0; i < written_.size(); ++i) EXPECT_NEAR(editor.curve[i], written_[i], 1e-5) << i;
  DestroyWindow(window);
}

// ---------------------------------------------------------------------------
// DPI. The program is per-monitor DPI aware: at 96 DPI nothing is scaled; the
// Wine run at 192 DPI sets LUMISTRA_EXPECT_DPI so that a program that ignored
// the DPI cannot pass.

TEST_F(MainDialogTest, DpiScalesTheStartPlaceAndTheLabels) {
  const UINT dpi = DpiOf(window_);
  if (const char* expected = std::getenv("LUMISTRA_EXPECT_DPI")) {
    EXPECT_EQ(dpi, std::stoul(expected));
  }
  const auto scaled = [dpi](int pixels) { return MulDiv(pixels, static_cast<int>(dpi), 96); };
  RECT outer;
  GetWindowRect(window_, &outer);
  EXPECT_EQ(outer.left, scaled(200));
  EXPECT_EQ(outer.top, scaled(100));
  EXPECT_EQ(outer.right - outer.left, scaled(800));
  EXPECT_EQ(outer.bottom - outer.top, scaled(400));

  // The window's diagram is the renderer's at the DPI's label scale, and
  // differs from the unscaled one wherever that scale is not 1.
  Send({WM_PAINT, 0, 0});
  const Image& shown = *ClientImageOf(window_);
  const int scale = LabelScaleForDpi(dpi);
  const auto diagram = [&](const Image& image) {
    std::vector<uint32_t> columns;
    for (int y = 0; y < image.height; ++y) {
      const auto row = image.pixels.begin() + static_cast<ptrdiff_t>(y) * image.width;
      columns.insert(columns.end(), row, row + editor_.halfWidth());
    }
    return columns;
  };
  Image expected(shown.width, shown.height);
  DrawPolar(editor_, expected, scale);
  Image unscaled(shown.width, shown.height);
  DrawPolar(editor_, unscaled, 1);
  EXPECT_EQ(diagram(shown), diagram(expected));
  EXPECT_EQ(diagram(shown) == diagram(unscaled), scale == 1) << "label scale " << scale;
}

TEST_F(MainDialogTest, DpiChangeMovesToTheSuggestedRectangle) {
  RECT suggested{300, 150, 300 + 1200, 150 + 600};  // 150 %
  EXPECT_EQ(MainDialogProc(window_, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested)), TRUE);
  RECT outer;
  GetWindowRect(window_, &outer);
  EXPECT_EQ(outer.left, 300);
  EXPECT_EQ(outer.top, 150);
  EXPECT_EQ(outer.right, 1500);
  EXPECT_EQ(outer.bottom, 750);
  RECT client;
  GetClientRect(window_, &client);
  EXPECT_EQ(editor_.clientWidth, client.right);  // the size event followed
  EXPECT_EQ(editor_.clientHeight, StatusBarRect().top);
  EXPECT_EQ(StatusBarRect().bottom, client.bottom);
}

// The number dialog's refusal, one row of the dispatch's table: a beam typed
// as a word gets a message and changes nothing.
TEST_F(MainDialogTest, NewLampRefusesAWordForTheBeam) {
  std::vector<std::string> texts;
  EXPECT_TRUE(WithModalBoxes(
      window_, [&] { Send(Command(IDM_NEW_LAMP)); },
      [&](HWND dialog) {
        char field[32] = "";
        GetDlgItemTextA(dialog, IDC_ASK_FIELD2, field, sizeof field);
        EXPECT_STREQ(field, "1000");
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_ASK_FIELD1));
        SetDlgItemTextA(dialog, IDC_ASK_FIELD1, "wide");
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
      },
      [&](HWND box) {
        texts = ChildTexts(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      }));
  EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                          [](const std::string& t) { return t.starts_with("\"wide\" is not a number."); }));
  EXPECT_TRUE(CurveIsZero());
}

TEST_F(MainDialogTest, CancelledDialogsReturnNothing) {
  Win32Window platform(window_, editor_, *ClientImageOf(window_));
  const auto cancel = [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); };
  std::optional<std::string> chosen = "unchanged";
  EXPECT_TRUE(WithModalBox(window_, [&] { chosen = platform.ChooseOpenFile({}); }, cancel));
  EXPECT_FALSE(chosen.has_value());
  chosen = "unchanged";
  EXPECT_TRUE(WithModalBox(window_, [&] { chosen = platform.ChooseSaveFile({}, SaveFormat::kIes); }, cancel));
  EXPECT_FALSE(chosen.has_value());
}

TEST_F(MainDialogTest, MessageBoxHasOnlyOk) {
  Win32Window platform(window_, editor_, *ClientImageOf(window_));
  EXPECT_TRUE(WithModalBox(
      window_, [&] { platform.ShowMessage("Cannot open the file.", "Lumistra"); },
      [](HWND box) {
        char caption[64] = "";
        GetWindowTextA(box, caption, sizeof caption);
        EXPECT_STREQ(caption, "Lumistra");
        EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
        EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);
        EXPECT_EQ(GetDlgItem(box, IDYES), nullptr);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      }));
}

}  // namespace

namespace {

// What the dialogs under test cannot show: the platform here lets a save
// dialog name a new file even with OFN_FILEMUSTEXIST, Windows does not.
TEST(FileDialogSettings, SaveNeedsOnlyTheFolderOpenTheFile) {
  wchar_t name[256] = L"";
  const HWND owner = reinterpret_cast<HWND>(static_cast<intptr_t>(0x1234));
  for (FileDialogKind kind : {FileDialogKind::kOpen, FileDialogKind::kSave}) {
    const OPENFILENAMEW s = FileDialogSettings(owner, kind, name, 256);
    EXPECT_EQ(s.lStructSize, OPENFILENAME_SIZE_VERSION_400W);
    EXPECT_EQ(s.lStructSize, 136u);  // in a 64-bit program
    EXPECT_EQ(s.hwndOwner, owner);
    const std::wstring filter =
        kind == FileDialogKind::kSave
            ? std::wstring(L"IES\0*.ies\0IES LM-63-2019\0*.ies\0EULUMDAT\0*.ldt\0\0", 47)
            : std::wstring(L"IES\0*.ies\0EULUMDAT\0*.ldt\0\0", 26);
    EXPECT_EQ(std::wstring(s.lpstrFilter, filter.size()), filter);
    EXPECT_EQ(s.nFilterIndex, 1u);
    EXPECT_EQ(s.lpstrFile, name);
    EXPECT_EQ(s.nMaxFile, 256u);
    EXPECT_EQ(s.lpstrTitle, nullptr);
    EXPECT_EQ(s.lpstrDefExt, nullptr);
    EXPECT_EQ(s.lpstrInitialDir, nullptr);
    // The open dialog hides its "Open as read-only" box, which nothing would honour.
    EXPECT_EQ(s.Flags, kind == FileDialogKind::kSave
                           ? DWORD{OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT}
                           : DWORD{OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY});
  }
}

}  // namespace
