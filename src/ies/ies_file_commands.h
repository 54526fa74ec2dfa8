#pragma once
// File > Save and File > Open: DistributionEditor::SaveIes and LoadIes are
// defined in ies_file_commands.cpp. These are their name rules, and Open's
// reading of a named file, which the command line shares.

#include <optional>
#include <string>
#include <string_view>

#include "ies/ies_format.h"

class OwnerWindow;

// `name` with `extension` (".ies") appended unless it ends in it already in
// any letter case ("LAMP.IES" is kept, as Windows and many LM-63 files spell
// it). A name too short to hold the extension gets it too.
std::string WithExtension(std::string name, std::string_view extension);

// The save name: WithExtension(name, ".ies").
std::string WithIesExtension(std::string name);

// The file's name without its folders, for messages.
std::string_view FileNameOf(std::string_view path);

// Reads the file at `path` (UTF-8) as File > Open does. A file that cannot
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
