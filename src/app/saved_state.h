#pragma once
// SavedState: the lamp as the latest successful save or open left it (at
// start the one all-zero plane) and that file's path, kept beside the curve's
// history. The dispatch derives from it whether the curve is modified, the
// window's title and the question asked before modified work is closed.
//
// Modified is a comparison, not a flag: undoing back to the saved lamp makes
// the lamp unmodified again.

#include <optional>
#include <string>
#include <string_view>

#include "app/ui_text.h"
#include "editor/lamp.h"

// What the window's title shows: the text without the mark, and whether the
// curve is modified, which the front end shows as a leading '*'.
struct WindowTitle {
  std::string text;  // "Lumistra", or "lamp.ies - Lumistra" once there is a file
  bool modified = false;
  bool operator==(const WindowTitle&) const = default;
};

// The caption as a window shows it: "*lamp.ies - Lumistra" while modified.
std::string CaptionOf(const WindowTitle& title);

class SavedState {
 public:
  explicit SavedState(const Lamp& lamp = Lamp{}) : lamp_(lamp) {}

  // A save or open of `path` (UTF-8) succeeded and left the lamp as `lamp`.
  void Set(const Lamp& lamp, std::string path);

  // The lamp differs from the saved one in its planes or a sample.
  // A lamp only turned into equal planes is the same light: not modified.
  bool IsModified(const Lamp& lamp) const {
    return lamp != lamp_ && lamp.Simplified() != lamp_.Simplified();
  }

  // The file's path, empty before the first save or open.
  const std::string& path() const { return path_; }

  WindowTitle TitleFor(const Lamp& lamp) const;

  // The title for `curve` when it differs from the one this returned last (at
  // first: the start caption, "Lumistra"), so that the window is told only of
  // changes; nothing otherwise.
  std::optional<WindowTitle> TitleChange(const Lamp& lamp);

  // "Save the changes to lamp.ies?", or "... to the curve?" without a file.
  std::string SaveChangesQuestion() const;

 private:
  Lamp lamp_;
  std::string path_;
  WindowTitle shown_{TEXT_TITLE, false};  // as both windows start
};
