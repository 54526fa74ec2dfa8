#pragma once
// The main window's keys, the one table both front ends read: each front end
// turns its own key codes into ShortcutKey and its modifier state into
// KeyModifiers, and hands the event found here to the dispatch. The menus
// show none of these keys; the README lists them.

#include <cstdint>
#include <optional>

#include "app/dispatch.h"
#include "app/ui_text.h"

// A key: an upper-case letter or a digit as its ASCII code (as both Qt's key
// codes and Windows' virtual keys give them), or one of the named keys below.
using ShortcutKey = int32_t;
constexpr ShortcutKey kKeyF1 = 0x10001;
constexpr ShortcutKey kKeyPageDown = 0x10002;
constexpr ShortcutKey kKeyPageUp = 0x10003;

enum KeyModifiers : uint32_t { kNoModifier = 0, kControl = 1, kShift = 2, kAlt = 4 };

struct Shortcut {
  ShortcutKey key;
  uint32_t modifiers;  // exactly these are held
  EventKind kind;
  uint16_t command;  // for kShortcutCommand
};

inline constexpr Shortcut kShortcuts[] = {
    {'Z', kControl, EventKind::kUndo, 0},
    {'Y', kControl, EventKind::kRedo, 0},
    {'Z', kControl | kShift, EventKind::kRedo, 0},
    {'O', kControl, EventKind::kShortcutCommand, IDM_OPEN},
    {'S', kControl, EventKind::kShortcutCommand, IDM_SAVE},
    {kKeyF1, kNoModifier, EventKind::kShortcutCommand, IDM_HOW_TO_USE},
    {'N', kControl, EventKind::kShortcutCommand, IDM_NEW_LAMP},
    {'L', kControl, EventKind::kShortcutCommand, IDM_SCALE_TO_FLUX},
    {'B', kControl, EventKind::kShortcutCommand, IDM_BEAM_ANGLE},
    {'0', kControl, EventKind::kFitView, 0},
    {kKeyPageDown, kNoModifier, EventKind::kNextSection, 0},
    {kKeyPageUp, kNoModifier, EventKind::kPreviousSection, 0},
};

// The event of a key pressed with exactly `modifiers` held, or nothing.
std::optional<AppEvent> ShortcutEvent(ShortcutKey key, uint32_t modifiers);
