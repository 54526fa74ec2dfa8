#pragma once
// What an LM-63-2019 file says about itself besides its table: its keyword
// lines, made from a source file's, and its file-generation type, chosen
// from where the light came from. Plain functions for the 2019 writer; the
// checker reads the same keyword lists.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The keywords each edition requires, without their brackets.
inline constexpr std::array<std::string_view, 4> kLm63Of2019RequiredKeywords = {
    "TEST", "TESTLAB", "ISSUEDATE", "MANUFAC"};

// Whether LM-63-2002, or LM-63-2019, defines the keyword `name` (without
// brackets: "TEST"). A user keyword ("_COLOR") is none of them.
bool Lm63Of2002Defines(std::string_view name);
bool Lm63Of2019Defines(std::string_view name);

// The bracketed name a keyword line starts with ("[TEST]"), or empty.
std::string_view KeywordOf(std::string_view line);

// The longest line LM-63-2002 and LM-63-2019 allow, without its line end.
inline constexpr size_t kLm63MaxLineLength = 256;

// The keyword lines of a 2019 file for a source's lines before TILT (the
// Photometry's keywords), without line ends:
//   - the four required keywords first, each with its [MORE] lines; one the
//     source lacks, or gives no text, names Lumistra and `date` ("2026-12-07");
//   - then the source's other lines in its order: a keyword LM-63-2019
//     defines, or a user keyword ([_NAME]), as it is; one it does not define
//     as a user keyword ([DATE] -> [_DATE], [FIXT] -> [_FIXT]); a line that
//     is no keyword line (the free text of the 1986 edition) as [OTHER];
//     blank lines dropped;
//   - [FILEGENINFO] `fileGenInfo` when the source has no [FILEGENINFO].
// A line longer than the edition allows goes on in [MORE] lines.
std::vector<std::string> Lm63Of2019KeywordLines(const std::vector<std::string>& source,
                                                std::string_view date,
                                                std::string_view fileGenInfo);

// Where the written light came from.
struct LightOrigin {
  // The source's file-generation type when it was an LM-63-2019 file; the
  // older editions and EULUMDAT do not say how their light was obtained.
  std::optional<float> sourceType;
  bool drawn = false;      // drawn in the window, not opened from a file
  bool resampled = false;  // its angles are not the source's own
  bool scaled = false;     // scaled to a flux or a peak after reading
};

// The file-generation type, as the file writes it ("1.00010"):
//   drawn                                   1.00010 computer simulation
//   a 2019 laboratory file (1.00000, 1.10000 and their variants), with the
//     interpolated-angle digit when resampled and the lumen-scaled digit
//     when scaled: 1.10000 resampled and scaled -> 1.11100
//   a 2019 simulation                       1.00010
//   any other source                        1.00001 undefined
std::string_view Lm63Of2019FileGenerationType(const LightOrigin& origin);

// The ten file-generation types LM-63-2019 defines, as files write them.
inline constexpr std::array<std::string_view, 10> kLm63Of2019FileGenerationTypes = {
    "1.00000", "1.00100", "1.01000", "1.01100", "1.10000",
    "1.10100", "1.11000", "1.11100", "1.00010", "1.00001"};
