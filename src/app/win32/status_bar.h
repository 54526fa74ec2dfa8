#pragma once
// The main window's status bar: a common-controls status bar with a size grip
// along the bottom of the client area, in three parts for the status texts
// (the pointer's on the left, taking what is left; the curve's and the
// light's at fixed widths on the right, scaled with the DPI). The views get
// the client area above it.

#include <windows.h>

#include "app/dispatch.h"
#include "app/status_text.h"

class StatusBar {
 public:
  // Creates the bar in `window`, the main dialog.
  void Create(HWND window);

  // Moves the bar to the bottom of a client area of this size and sizes its
  // parts; returns the height left above it for the views (at least 0).
  int32_t Place(int32_t clientWidth, int32_t clientHeight);

  // Shows the editor's texts as an event has left them. A move over the
  // views asks to be told when the pointer leaves the client area.
  void Follow(const DistributionEditor& editor, const Document& document, const AppEvent& event);

  // Shows `text` in the pointer's part until the next pointer move.
  void ShowNote(std::string_view text);

  // The pointer left the client area (WM_MOUSELEAVE), or went onto the bar.
  void PointerLeft(const DistributionEditor& editor, const Document& document);

  HWND handle() const { return bar_; }

 private:
  void Show(const DistributionEditor& editor, const Document& document);
  // Sizes the three parts for the client width (a note widens the first).
  void SetParts();

  HWND window_ = nullptr;
  HWND bar_ = nullptr;
  bool pointerInside_ = false;
  bool noteShown_ = false;  // a note stands in the pointer's part
  int32_t clientWidth_ = 0;
  StatusTexts texts_, shown_;
};
