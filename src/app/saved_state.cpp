#include "app/saved_state.h"

#include <utility>

#include "files/file_commands.h"

std::string CaptionOf(const WindowTitle& title) {
  return (title.modified ? "*" : "") + title.text;
}

void SavedState::Set(const Lamp& lamp, std::string path) {
  lamp_ = lamp;
  path_ = std::move(path);
}

WindowTitle SavedState::TitleFor(const Lamp& lamp) const {
  std::string text = TEXT_TITLE;
  if (!path_.empty()) text = std::string(FileNameOf(path_)) + " - " + text;
  return {std::move(text), IsModified(lamp)};
}

std::optional<WindowTitle> SavedState::TitleChange(const Lamp& lamp) {
  WindowTitle title = TitleFor(lamp);
  if (title == shown_) return std::nullopt;
  shown_ = title;
  return title;
}

std::string SavedState::SaveChangesQuestion() const {
  const std::string what = path_.empty() ? "the curve" : std::string(FileNameOf(path_));
  return "Save the changes to " + what + "?";
}
