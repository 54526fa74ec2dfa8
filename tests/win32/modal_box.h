#pragma once
// Acting inside a modal box that a call opens: the call does not return until
// the box closes, so a thread timer, whose messages the box's own loop
// dispatches, finds the box and hands it to the test.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Calls `open` (which runs a modal box owned by `owner`) and, once that box is
// visible, `inBox` with it; `inBox` must close the box. Returns whether a box
// was found. A box not closed within some seconds is cancelled, so a failing
// test does not hang.
bool WithModalBox(HWND owner, const std::function<void()>& open,
                  const std::function<void(HWND box)>& inBox);

// As WithModalBox, and then `inSecond` with the box that the first one opens
// in its turn (owned by it), such as a dialog's question, or else the next
// box of `owner` once the first has closed, such as a message about what the
// dialog took, if one opens.
bool WithModalBoxes(HWND owner, const std::function<void()>& open,
                    const std::function<void(HWND box)>& inBox,
                    const std::function<void(HWND box)>& inSecond);

// The texts of a window's children, in their order.
std::vector<std::string> ChildTexts(HWND window);
