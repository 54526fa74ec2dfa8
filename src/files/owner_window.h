#pragma once
// What the file operations need of the window that owns their dialogs.
//
// Each front end's main window implements this; the tests use a recording fake.
// Paths are UTF-8 on every platform (the Windows program converts to and from
// UTF-16 at its own calls), of any length the platform accepts: the dialogs
// put no limit of their own (such as 256 characters) on them.

#include <optional>
#include <string>
#include <string_view>

#include "files/file_types.h"

class OwnerWindow {
 public:
  virtual ~OwnerWindow() = default;

  // The save dialog: the file types of kSaveFileTypes, `initial` chosen
  // when it opens. It lets the user type the
  // name of a file that does not exist yet: only the folder must exist. It
  // asks before it returns the name of an existing file, which the caller
  // then replaces. `current` is the path of the file being edited, or empty:
  // the dialog starts in its folder with its name filled in; empty, where the
  // platform chooses and with an empty name field. Returns the full path, or
  // nothing when cancelled.
  virtual std::optional<std::string> ChooseSaveFile(std::string_view current,
                                                    SaveFormat initial) = 0;

  // The open dialog: the types of kOpenFileTypes; only an existing file in an existing
  // folder can be chosen. It starts in the folder of `current` unless that is
  // empty. Returns the full path, or nothing when cancelled.
  virtual std::optional<std::string> ChooseOpenFile(std::string_view current) = 0;

  // The file type chosen in the save dialog that last returned a path (an
  // entry of kSaveFileTypes); "IES" where there is no choice.
  virtual SaveFormat ChosenSaveFormat() const { return SaveFormat::kIes; }

  // A modal message box with only an OK button and no icon.
  virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;

  // A modal question with the buttons Yes and No and the warning icon; No is
  // the default, so that Enter keeps what is there. True for Yes.
  virtual bool AskYesNo(std::string_view text, std::string_view caption) = 0;

 protected:
  OwnerWindow() = default;
  OwnerWindow(const OwnerWindow&) = default;
  OwnerWindow& operator=(const OwnerWindow&) = default;
};
