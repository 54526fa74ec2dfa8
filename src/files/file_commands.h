#pragma once
// File > Save and File > Open on the file layer: the name rules, Open's
// reading of a named file (which the command line shares) and Save's dialog,
// questions and writing. What is written comes from the caller.

#include <optional>
#include <string>
#include <string_view>

#include "files/file_types.h"
#include "files/ies_format.h"

class OwnerWindow;

// `name` with `extension` (".ies") appended unless it ends in it already in
// any letter case ("LAMP.IES" is kept, as Windows and many LM-63 files spell
// it). A name too short to hold the extension gets it too.
std::string WithExtension(std::string name, std::string_view extension);

// The save name: WithExtension(name, ".ies").
std::string WithIesExtension(std::string name);

// The file's name without its folders, for messages.
std::string_view FileNameOf(std::string_view path);

// What a file was read as.
enum class FileFormat { kLm63, kEulumdat };

// A photometric file as File > Open reads it: its table (header numbers,
// keywords, every plane) and the format it came in.
struct PhotometricFile {
  FileFormat format = FileFormat::kLm63;
  Photometry table;
  // A fault after the first plane, which leaves `table` cut to it (as
  // Lm63ReadResult::tableError says); empty when every plane was read.
  std::string tableError;
};

// Why a path that exists cannot be read as a file ("it is a folder"), or
// nothing. A folder gives no text, and a device or a pipe may never end or
// never answer, so they are refused before they are opened.
std::string_view WhyNotAFile(const std::string& path);

// Reads the file at `path` (UTF-8) as File > Open does: as EULUMDAT when no
// line starts with "TILT=" (every LM-63 file has one) and the file reads as
// one, or its name ends in ".ldt"; as LM-63 otherwise. A file that cannot
// be opened or used gives nothing, and the owner a message box saying why,
// as Open shows it.
std::optional<PhotometricFile> ReadPhotometricPath(OwnerWindow& owner, const std::string& path);

// What File > Save writes, in the format the user chooses.
class SaveContent {
 public:
  virtual ~SaveContent() = default;
  // What the file will not hold of its source in `format`, as one sentence
  // to show once before writing; empty when nothing is left out.
  virtual std::string NotWritten(SaveFormat format) = 0;
  // The bytes of the file at `path`.
  virtual std::string Bytes(SaveFormat format, std::string_view path) const = 0;

 protected:
  SaveContent() = default;
  SaveContent(const SaveContent&) = default;
  SaveContent& operator=(const SaveContent&) = default;
};

struct SavedFile {
  std::string path;
  SaveFormat format = SaveFormat::kIes;
};

// File > Save: asks for a name in the save dialog (starting in `current`'s
// folder with its name, and the type of `initial`), gives the name the
// chosen type's extension, asks before it replaces a file the dialog did
// not ask about, tells what the file will not hold, and writes the file
// whole or not at all. Nothing when the user cancelled or the file could not
// be written (which a message box has told).
std::optional<SavedFile> SaveWithDialog(OwnerWindow& owner, SaveContent& content,
                                        std::string_view current, SaveFormat initial);

// The message texts and captions.
inline constexpr std::string_view kSaveFailedText = "IES Saving";
inline constexpr std::string_view kSaveFailedCaption = "Can't save file";
inline constexpr std::string_view kOpenFailedCaption = "Can't open file";

// The question before Save replaces a file the dialog did not ask about (the
// name rule added the extension to the name chosen).
std::string ReplaceQuestion(std::string_view fileName);
inline constexpr std::string_view kReplaceQuestionCaption = "Confirm Save As";

// The caption of the note, before writing, of what the file will not hold.
inline constexpr std::string_view kNotWrittenCaption = "Not in the file";
