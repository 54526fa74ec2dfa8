#pragma once
// File > Save and File > Open: DistributionEditor::SaveIes and LoadIes are
// defined in ies_file_commands.cpp. These are their name rules.

#include <string>
#include <string_view>

// The save name: ".ies" appended unless the name ends in ".ies" in any
// letter case ("LAMP.IES" is kept, as Windows and many LM-63 files spell
// it); a name shorter than four characters stays as it is.
std::string WithIesExtension(std::string name);

// The file's name without its folders, for messages.
std::string_view FileNameOf(std::string_view path);

// The message texts and captions.
inline constexpr std::string_view kSaveFailedText = "IES Saving";
inline constexpr std::string_view kSaveFailedCaption = "Can't save file";
inline constexpr std::string_view kOpenFailedCaption = "Can't open file";

// The question before Save replaces a file the dialog did not ask about (the
// name rule added the extension to the name chosen).
std::string ReplaceQuestion(std::string_view fileName);
inline constexpr std::string_view kReplaceQuestionCaption = "Confirm Save As";
