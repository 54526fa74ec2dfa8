#pragma once
// File > Save and File > Open of the editor's curve, as the window runs them
// through the document, for tests of the file layer and the command line.

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "app/document.h"
#include "editor/distribution_editor.h"
#include "files/file_commands.h"
#include "files/owner_window.h"

// Opens `path` as the window does: the editor's curve becomes the lamp's
// plane at C 0. The document receives the lamp when given.
inline bool OpenCurve(DistributionEditor& editor, OwnerWindow& owner, const std::string& path,
                      Document* into = nullptr) {
  std::optional<PhotometricFile> file = ReadPhotometricPath(owner, path);
  if (!file) return false;
  Document local;
  Document& document = into != nullptr ? *into : local;
  document.Open(path, std::move(*file));
  editor.curve = document.EditedCurve();
  return true;
}

// File > Open after its dialog.
inline std::optional<std::string> LoadCurve(DistributionEditor& editor, OwnerWindow& owner,
                                            std::string_view current = {},
                                            Document* into = nullptr) {
  const std::optional<std::string> chosen = owner.ChooseOpenFile(current);
  if (!chosen || !OpenCurve(editor, owner, *chosen, into)) return std::nullopt;
  return chosen;
}

// File > Save of a drawn curve (or, given the document it came from, of
// that document's lamp with the curve as its plane at C 0).
inline std::optional<std::string> SaveCurve(const DistributionEditor& editor, OwnerWindow& owner,
                                            std::string_view current = {},
                                            Document* from = nullptr) {
  Document local;
  local.StartNew(Lamp::OfCurve(editor.curve));
  Document& document = from != nullptr ? *from : local;
  if (from != nullptr) document.TakeEditedCurve(editor.curve);
  const std::optional<SavedFile> file =
      SaveWithDialog(owner, document, current, document.SaveFormatNow());
  return file ? std::optional<std::string>(file->path) : std::nullopt;
}
