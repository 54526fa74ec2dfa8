#include "app/win32/status_bar.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "app/win32/win32_window.h"

namespace {

// Widths of the curve's and the light's parts in pixels of a 96 DPI screen,
// room for their usual texts ("peak 12345 cd at 180°  flux 12345 lm  beam
// 88.8°  field 88.8°", "light 0.1234 m from the wall") and the size grip.
constexpr int kCurvePartWidth = 340;
constexpr int kLampPartWidth = 175;

// How many bytes of the UTF-8 `text` make at most `units` UTF-16 code
// units, cut between characters: a character of four bytes takes two
// units, any other one.
size_t Utf8BytesFitting(std::string_view text, size_t units) {
  size_t used = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte & 0xC0) == 0x80) continue;  // inside a character
    used += byte >= 0xF0 ? 2 : 1;
    if (used > units) return i;
  }
  return text.size();
}

// Sets part `part` to `text` (UTF-8) when it differs from what it shows. The
// text is turned into UTF-16 in a buffer of the bar, so a pointer move
// allocates nothing; a text too long for it (a note naming a long file) is
// cut, with an ellipsis at the end.
void ShowChanged(HWND bar, WPARAM part, const std::string& text, std::string& shown) {
  if (text == shown) return;
  shown = text;
  std::array<wchar_t, 256> wide{};
  const size_t room = wide.size() - 1;  // and the terminating null
  size_t bytes = Utf8BytesFitting(text, room);
  const bool cut = bytes < text.size();
  if (cut) bytes = Utf8BytesFitting(text, room - 1);
  int length = bytes == 0 ? 0
                          : MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(bytes),
                                                wide.data(), static_cast<int>(room));
  length = std::max(length, 0);
  if (cut) wide[static_cast<size_t>(length++)] = L'\u2026';
  wide[static_cast<size_t>(length)] = L'\0';
  SendMessageW(bar, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(wide.data()));
}

// The main window keeps the keyboard focus, which its keys need: the dialog
// manager hands the focus to its first control, here the bar, and the bar
// passes it straight back.
LRESULT CALLBACK PassFocusBack(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR) {
  if (message == WM_SETFOCUS) {
    SetFocus(GetParent(bar));
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(bar, PassFocusBack, id);
  return DefSubclassProc(bar, message, wParam, lParam);
}

}  // namespace

void StatusBar::Create(HWND window) {
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  window_ = window;
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  bar_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                         0, 0, window, nullptr, instance, nullptr);
  if (bar_ != nullptr) SetWindowSubclass(bar_, PassFocusBack, 1, 0);
}

int32_t StatusBar::Place(int32_t clientWidth, int32_t clientHeight) {
  if (bar_ == nullptr) return clientHeight;
  SendMessageW(bar_, WM_SIZE, 0, 0);  // the bar puts itself along the bottom
  clientWidth_ = clientWidth;
  SetParts();
  RECT bar;
  GetWindowRect(bar_, &bar);
  return std::max<int32_t>(0, clientHeight - (bar.bottom - bar.top));
}

void StatusBar::SetParts() {
  const int dpi = static_cast<int>(DpiOf(window_));
  const int lamp = MulDiv(kLampPartWidth, dpi, kBaseDpi);
  const int curve = MulDiv(kCurvePartWidth, dpi, kBaseDpi);
  // A note takes the curve's part too, so that it can be read whole.
  const int pointerEnd = clientWidth_ - lamp - (noteShown_ ? 0 : curve);
  std::array<int, 3> rightEdges{std::max(0, pointerEnd), std::max(0, clientWidth_ - lamp), -1};
  SendMessageW(bar_, SB_SETPARTS, rightEdges.size(), reinterpret_cast<LPARAM>(rightEdges.data()));
}

void StatusBar::Follow(const DistributionEditor& editor, const Document& document, const AppEvent& event) {
  if (event.kind == EventKind::kPointerMove && noteShown_) {
    noteShown_ = false;
    SetParts();
  }
  if (event.kind == EventKind::kPointerMove && !pointerInside_) {
    // Until the pointer leaves the client area (or goes onto the bar).
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window_, 0};
    TrackMouseEvent(&track);
    pointerInside_ = true;
  }
  Show(editor, document);
}

void StatusBar::PointerLeft(const DistributionEditor& editor, const Document& document) {
  pointerInside_ = false;
  Show(editor, document);
}

void StatusBar::Show(const DistributionEditor& editor, const Document& document) {
  if (bar_ == nullptr) return;
  FillStatusTexts(editor, document, pointerInside_, texts_);
  if (!noteShown_) ShowChanged(bar_, 0, texts_.pointer, shown_.pointer);
  ShowChanged(bar_, 1, texts_.curve, shown_.curve);
  ShowChanged(bar_, 2, texts_.lamp, shown_.lamp);
}

void StatusBar::ShowNote(std::string_view text) {
  if (bar_ == nullptr) return;
  noteShown_ = true;
  SetParts();
  ShowChanged(bar_, 0, std::string(text), shown_.pointer);
}
