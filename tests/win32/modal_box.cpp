#include "modal_box.h"

#include <utility>

namespace {

struct Pending {
  HWND owner = nullptr;
  std::function<void(HWND)> inBox;
  std::function<void(HWND)> inSecond;  // may be empty
  bool found = false;
  int ticks = 0;
  HWND first = nullptr;
};

Pending* pending = nullptr;  // the one modal call in progress on this thread

constexpr UINT kTickMilliseconds = 20;
constexpr int kGiveUpTicks = 1500;  // thirty seconds: a file dialog can be slow to open

HWND VisibleBoxOwnedBy(HWND owner) {
  struct Search {
    HWND owner;
    HWND box;
  } search{owner, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == s->owner) {
          s->box = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.box;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
  if (pending == nullptr) return;
  HWND box = VisibleBoxOwnedBy(pending->owner);
  if (pending->found && pending->inSecond && box != nullptr) {
    // The first box's own question, or the owner's next box once the first has closed.
    if (HWND second = box == pending->first ? VisibleBoxOwnedBy(box) : box) {
      const std::function<void(HWND)> inSecond = std::move(pending->inSecond);
      pending->inSecond = nullptr;
      inSecond(second);
      return;
    }
  }
  if (box != nullptr && !pending->found) {
    pending->found = true;
    pending->first = box;
    pending->inBox(box);
  } else if (box != nullptr && ++pending->ticks > kGiveUpTicks) {
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);  // the test failed to close it
  } else if (box == nullptr && !pending->found && ++pending->ticks > kGiveUpTicks) {
    KillTimer(nullptr, timer);
  }
}

}  // namespace

bool WithModalBox(HWND owner, const std::function<void()>& open,
                  const std::function<void(HWND box)>& inBox) {
  return WithModalBoxes(owner, open, inBox, nullptr);
}

bool WithModalBoxes(HWND owner, const std::function<void()>& open,
                    const std::function<void(HWND box)>& inBox,
                    const std::function<void(HWND box)>& inSecond) {
  Pending state{owner, inBox, inSecond};
  pending = &state;
  const UINT_PTR timer = SetTimer(nullptr, 0, kTickMilliseconds, Tick);
  open();
  KillTimer(nullptr, timer);
  pending = nullptr;
  return state.found;
}

std::vector<std::string> ChildTexts(HWND window) {
  std::vector<std::string> texts;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    char text[256] = "";
    GetWindowTextA(child, text, sizeof text);
    texts.emplace_back(text);
  }
  return texts;
}
