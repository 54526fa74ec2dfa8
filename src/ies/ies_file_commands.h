#pragma once
// File > Save and File > Open: DistributionEditor::SaveIes and LoadIes are
// defined in ies_file_commands.cpp. These are their name rules, and Open's
// reading of a named file, which the command line shares.

#include <optional>
#include <string>
#include <string_view>

#include "ies/file_types.h"
#include "ies/ies_format.h"

class DistributionEditor;
class OwnerWindow;

// `name` with `extension` (".ies") appended unless it ends in it already in
// any letter case ("LAMP.IES" is kept, as Windows and many LM-63 files spell
// it). A name too short to hold the extension gets it too.
std::string WithExtension(std::string name, std::string_view extension);

// The save name: WithExtension(name, ".ies").
std::string WithIesExtension(std::string name);

// The bytes Save writes in `format` to `path` for the editor's curve and the
// header of the file it came from.
std::string SaveBytes(const DistributionEditor& editor, SaveFormat format, std::string_view path);

// The file's name without its folders, for messages.
std::string_view FileNameOf(std::string_view path);

// Why a path that exists cannot be read as a file ("it is a folder"), or
// nothing. A folder gives no text, and a device or a pipe may never end or
// never answer, so they are refused before they are opened.
std::string_view WhyNotAFile(const std::string& path);

// Reads the file at `path` (UTF-8) as File > Open does: as EULUMDAT when no
// line starts with "TILT=" (every LM-63 file has one) and the file reads as
// one, or its name ends in ".ldt"; as LM-63 otherwise. A file that cannot
// be opened or used gives nothing, and the owner a message box saying why,
// as Open shows it.
std::optional<IesReadResult> ReadIesPath(OwnerWindow& owner, const std::string& path);

// The message texts and captions.
inline constexpr std::string_view kSaveFailedText = "IES Saving";
inline constexpr std::string_view kSaveFailedCaption = "Can't save file";
inline constexpr std::string_view kOpenFailedCaption = "Can't open file";

// The question before Save replaces a file the dialog did not ask about (the
// name rule added the extension to the name chosen).
std::string ReplaceQuestion(std::string_view fileName);
inline constexpr std::string_view kReplaceQuestionCaption = "Confirm Save As";
