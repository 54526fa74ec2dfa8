#include "app/shortcuts.h"

std::optional<AppEvent> ShortcutEvent(ShortcutKey key, uint32_t modifiers) {
  for (const Shortcut& shortcut : kShortcuts) {
    if (shortcut.key == key && shortcut.modifiers == modifiers) {
      AppEvent event;
      event.kind = shortcut.kind;
      event.command = shortcut.command;
      return event;
    }
  }
  return std::nullopt;
}
