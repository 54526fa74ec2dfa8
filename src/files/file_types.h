#pragma once
// The file types of the open and save dialogs, in the order the dialogs list
// them, for both front ends. The first entry is the one chosen when a dialog
// opens.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// What Save writes.
enum class SaveFormat {
  kIes,        // a minimal LM-63 file of Lumistra's own layout, byte for byte as ever
  kIes2019,    // a standard LM-63-2019 file
  kEulumdat,   // an EULUMDAT file
};

struct FileType {
  std::string_view description;
  std::string_view pattern;
};

struct SaveFileType {
  std::string_view description;
  std::string_view pattern;
  SaveFormat format;
};

// Kept for compatibility: "IES" with "*.ies" stays the first entry of both.
inline constexpr std::array<FileType, 2> kOpenFileTypes = {{
    {"IES", "*.ies"},
    {"EULUMDAT", "*.ldt"},
}};
inline constexpr std::array<SaveFileType, 3> kSaveFileTypes = {{
    {"IES", "*.ies", SaveFormat::kIes},
    {"IES LM-63-2019", "*.ies", SaveFormat::kIes2019},
    {"EULUMDAT", "*.ldt", SaveFormat::kEulumdat},
}};

// The format of save file type `index` (0 for the first entry); an index
// outside the list gives the first entry's.
constexpr SaveFormat SaveFormatAt(size_t index) {
  return index < kSaveFileTypes.size() ? kSaveFileTypes[index].format : SaveFormat::kIes;
}

// The entry of save file type `format` in the list (0 for the first).
constexpr size_t SaveFileTypeIndex(SaveFormat format) {
  for (size_t i = 0; i < kSaveFileTypes.size(); ++i) {
    if (kSaveFileTypes[i].format == format) return i;
  }
  return 0;
}

// The save name: WithExtension with the format's extension, ".ies", or
// ".ldt" for EULUMDAT ("LAMP.LDT" is kept). A name that ends in the other
// format's extension has it replaced: "lamp.ldt" saved as LM-63 is "lamp.ies".
std::string WithSaveExtension(std::string name, SaveFormat format);
