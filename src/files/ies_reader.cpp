// The LM-63 reader.
//
// Sections:
//   1. the tilt line search, and the lines before it
//   2. the layout: tilt data, header, angles, candela values
//   3. the entry points
// The editor's curve is made from the table by editor_curve.cpp.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "files/editor_curve.h"
#include "files/ies_format.h"
#include "files/ies_text.h"
#include "files/photometry.h"

namespace {

// ---------------------------------------------------------------------------
// 1. The tilt line search, and the lines before it.
//
// A line piece is a tilt line when its first five characters are exactly
// "TILT=", so a tilt line that starts with spaces or is in lower case is not
// one, nor is "TILT=" in the middle of a line.

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The text before the tilt line as lines without their line ends. Only its
// first kMaxKeptText characters are kept, so a file with megabytes of text
// there costs no more memory than a short one, and past them the search
// skips to each line end with memchr.
class HeaderLines {
 public:
  static constexpr size_t kMaxKeptText = 64 * 1024;

  bool Full() const { return stopped_; }

  void Append(const LinePiece& piece) {
    if (stopped_) return;
    size_t length = static_cast<size_t>(piece.length);
    if (piece.endsLine) --length;  // the line feed
    length = std::min(length, kMaxKeptText - kept_);
    current_.append(piece.text.data(), length);
    kept_ += length;
    begun_ = true;
    if (piece.endsLine || kept_ == kMaxKeptText) EndLine();
    if (kept_ == kMaxKeptText) stopped_ = true;
  }

  // Ends the current line, if it has begun.
  void EndLine() {
    if (stopped_) return;
    if (begun_) lines_.push_back(std::move(current_));
    current_.clear();
    begun_ = false;
  }

  // The first line is the identification when it starts with "IES" (after
  // any leading blanks: "IESNA:LM-63-2002", " IESNA:LM-63-1995", "IESNA91",
  // "IES:LM-63-2019"); a file of 1986 has none.
  void MoveInto(Photometry& table) {
    EndLine();
    auto first = lines_.begin();
    if (first != lines_.end()) {
      const size_t text = first->find_first_not_of(" \t");
      if (text != std::string::npos && first->compare(text, 3, "IES") == 0) {
        table.identification = std::move(*first);
        ++first;
      }
    }
    table.keywords.assign(std::make_move_iterator(first), std::make_move_iterator(lines_.end()));
  }

 private:
  std::vector<std::string> lines_;
  std::string current_;
  size_t kept_ = 0;
  bool begun_ = false;  // the current line has had a piece, if only its line end
  bool stopped_ = false;
};

// What the tilt line says follows it: "TILT=INCLUDE" puts the tilt data
// between it and the header; "TILT=NONE" and the name of a tilt file do not.
enum class TiltLine { kNotFound, kNoInlineData, kInlineData };

TiltLine FindTiltLine(TextCursor& cursor, HeaderLines& header) {
  constexpr int kTiltLength = 5;  // "TILT="
  for (;;) {
    LinePiece piece;
    if (!ReadLinePiece(cursor, piece, kTiltLength)) return TiltLine::kNotFound;
    if (piece.endsLine) {  // shorter than five characters
      header.Append(piece);
      continue;
    }
    if (piece.length < kTiltLength) return TiltLine::kNotFound;  // the text ended
    if (std::memcmp(piece.text.data(), "TILT=", kTiltLength) != 0) {
      if (header.Full()) {
        SkipRestOfPiece(cursor, kTiltLength);
      } else {
        ReadLinePiece(cursor, piece, kLinePieceLength);
        header.Append(piece);
      }
      continue;
    }
    header.EndLine();  // a long line whose later piece starts with "TILT="
    ReadLinePiece(cursor, piece, kLinePieceLength);
    if (!piece.endsLine) SkipRestOfLine(cursor);
    const char* first = piece.text.data() + kTiltLength;
    const char* last = piece.text.data() + piece.length;
    while (first < last && IsBlank(*first)) ++first;
    while (last > first && IsBlank(last[-1])) --last;
    constexpr std::string_view kInclude = "INCLUDE";
    const bool include =
        static_cast<size_t>(last - first) == kInclude.size() &&
        std::equal(first, last, kInclude.begin(), [](char a, char b) {
          return (a >= 'a' && a <= 'z' ? static_cast<char>(a - 'a' + 'A') : a) == b;
        });
    return include ? TiltLine::kInlineData : TiltLine::kNoInlineData;
  }
}

// ---------------------------------------------------------------------------
// 2. The layout.

// The parts of a file in reading order, for the messages.
enum class Section { kTiltData, kHeader, kVerticalAngles, kHorizontalAngles, kCandelaValues };

const char* SectionName(Section section) {
  switch (section) {
    case Section::kTiltData: return "tilt data";
    case Section::kHeader: return "header values";
    case Section::kVerticalAngles: return "vertical angles";
    case Section::kHorizontalAngles: return "horizontal angles";
    case Section::kCandelaValues: return "candela values";
  }
  return "values";
}

const char* OneOf(Section section) {
  switch (section) {
    case Section::kTiltData: return "a tilt value";
    case Section::kHeader: return "a header value";
    case Section::kVerticalAngles: return "a vertical angle";
    case Section::kHorizontalAngles: return "a horizontal angle";
    case Section::kCandelaValues: return "a candela value";
  }
  return "a value";
}

// Counts beyond these are not real photometry: a vertical angle every 0.2
// degrees, a horizontal plane every 0.01 degrees, a tilt factor every 0.01.
constexpr int kMaxVerticalAngles = 999;
constexpr int kMaxHorizontalAngles = 36001;
constexpr int kMaxTiltPairs = 36001;

class LayoutReader {
 public:
  explicit LayoutReader(TextCursor& cursor) : numbers_(cursor) {}

  // Reads one number of `section`; false (with the error set) when it fails.
  // `first` tells whether it is the section's first number, for the message.
  bool Read(Section section, bool first, float& value) {
    switch (numbers_.Read(value)) {
      case NumberStatus::kOk: return true;
      case NumberStatus::kEnd:
        error = std::string(first ? "it ends before its " : "it ends in the middle of its ") +
                SectionName(section) + ".";
        return false;
      case NumberStatus::kNotANumber:
        error = "it has \"" + numbers_.LastText() + "\" where " + OneOf(section) +
                " should be.";
        return false;
      case NumberStatus::kTooLong:
        error = std::string("it has ") + OneOf(section) + " more than 255 characters long.";
        return false;
      case NumberStatus::kTooLarge:
        error = "it has a number too large to use (" + numbers_.LastText() + ") among its " +
                SectionName(section) + ".";
        return false;
    }
    return false;
  }

  // Reads `count` numbers of `section` and drops them; `first` tells whether
  // they start the section.
  bool Skip(Section section, int count, bool first) {
    float unused = 0.0f;
    for (int i = 0; i < count; ++i) {
      if (!Read(section, first && i == 0, unused)) return false;
    }
    return true;
  }

  // Reads a count; it must be a whole number from `least` to `most`.
  bool ReadCount(Section section, bool first, int least, int most, const char* what,
                 int& count) {
    float value = 0.0f;
    if (!Read(section, first, value)) return false;
    if (!(value >= static_cast<float>(least) && value <= static_cast<float>(most)) ||
        value != std::trunc(value)) {
      error = std::string("its number of ") + what + " (" + numbers_.LastText() +
              ") is not a whole number from " + std::to_string(least) + " to " +
              std::to_string(most) + ".";
      return false;
    }
    count = static_cast<int>(value);
    return true;
  }

  std::string LastText() const { return numbers_.LastText(); }

  std::string error;

 private:
  NumberReader numbers_;
};

bool ReadTiltData(LayoutReader& in) {
  float geometry = 0.0f;
  if (!in.Read(Section::kTiltData, true, geometry)) return false;
  int pairs = 0;
  if (!in.ReadCount(Section::kTiltData, false, 0, kMaxTiltPairs, "tilt angles", pairs)) {
    return false;
  }
  return in.Skip(Section::kTiltData, 2 * pairs, false);
}

// The header's lamp count and units as whole numbers: a value that is not
// one, or lies beyond any real count, gives 0.
int WholeOrZero(float value) {
  return value == std::trunc(value) && std::fabs(value) <= 1e9f ? static_cast<int>(value) : 0;
}

bool ReadHeader(LayoutReader& in, Photometry& table, int& verticalCount, int& horizontalCount,
                std::string& error) {
  // Lamps, lumens per lamp, candela multiplier, vertical and horizontal angle
  // counts, photometric type; then units, width, length, height, ballast
  // factor, file-generation type (the ballast-lamp factor before 2019),
  // input watts.
  float lamps = 0.0f, photometricType = 0.0f, units = 0.0f;
  if (!in.Read(Section::kHeader, true, lamps) ||
      !in.Read(Section::kHeader, false, table.lumensPerLamp) ||
      !in.Read(Section::kHeader, false, table.candelaMultiplier) ||
      !in.ReadCount(Section::kHeader, false, 1, kMaxVerticalAngles, "vertical angles",
                    verticalCount) ||
      !in.ReadCount(Section::kHeader, false, 1, kMaxHorizontalAngles, "horizontal angles",
                    horizontalCount) ||
      !in.Read(Section::kHeader, false, photometricType)) {
    error = in.error;
    return false;
  }
  if (photometricType != 1.0f) {
    if (photometricType == 2.0f) {
      error = "it is a type B file (photometric type 2); only type C files can be edited.";
    } else if (photometricType == 3.0f) {
      error = "it is a type A file (photometric type 3); only type C files can be edited.";
    } else {
      error = "its photometric type (" + in.LastText() +
              ") is none of 1, 2 and 3; only type C files can be edited.";
    }
    return false;
  }
  if (!in.Read(Section::kHeader, false, units) || !in.Read(Section::kHeader, false, table.width) ||
      !in.Read(Section::kHeader, false, table.length) ||
      !in.Read(Section::kHeader, false, table.height) ||
      !in.Read(Section::kHeader, false, table.ballastFactor) ||
      !in.Read(Section::kHeader, false, table.fileGenerationType) ||
      !in.Read(Section::kHeader, false, table.inputWatts)) {
    error = in.error;
    return false;
  }
  table.lampCount = WholeOrZero(lamps);
  table.photometricType = 1;
  table.unitsType = WholeOrZero(units);
  return true;
}

// The most candela values a table holds (16 MB of floats): a goniophotometer
// with half-degree steps writes 361 x 721, so only a hostile header asks for
// more.
constexpr size_t kMaxCandelaValues = 4'000'000;

// Appends the next `count` candela values to the table, times the
// multiplier; false (with `error` set) at the first that cannot be used.
// `first` tells whether they start the section, for the message.
bool ReadCandela(LayoutReader& in, size_t count, bool first, Photometry& table,
                 std::string& error) {
  const double multiplier = table.candelaMultiplier;
  for (size_t i = 0; i < count; ++i) {
    float candela = 0.0f;
    if (!in.Read(Section::kCandelaValues, first && i == 0, candela)) {
      error = in.error;
      return false;
    }
    // A multiplier of 1 leaves every value exactly as written.
    const double scaled = static_cast<double>(candela) * multiplier;
    if (!(std::fabs(scaled) <= static_cast<double>(FLT_MAX))) {
      error = "its candela values times its multiplier are too large to use.";
      return false;
    }
    table.candela.push_back(static_cast<float>(scaled));
  }
  return true;
}

// Reads the file into `table`. What the editor needs, everything up to the
// end of the first plane, decides whether the file can be used at all
// (`error`). A fault after that, in a later plane, leaves the table cut to
// its first plane and says why in `tableError`: such a file still opens, as
// it always has, but its whole-lamp numbers cannot be worked out.
bool ReadTable(TextCursor& cursor, Photometry& table, std::string& error,
               std::string& tableError) {
  HeaderLines header;
  const TiltLine tilt = FindTiltLine(cursor, header);
  if (tilt == TiltLine::kNotFound) {
    error = "it has no line starting with \"TILT=\".";
    return false;
  }
  header.MoveInto(table);
  LayoutReader in(cursor);
  auto fail = [&] {
    error = in.error;
    return false;
  };
  if (tilt == TiltLine::kInlineData && !ReadTiltData(in)) return fail();

  int verticalCount = 0, horizontalCount = 0;
  if (!ReadHeader(in, table, verticalCount, horizontalCount, error)) return false;
  table.verticalAngles.resize(static_cast<size_t>(verticalCount));
  for (size_t i = 0; i < table.verticalAngles.size(); ++i) {
    if (!in.Read(Section::kVerticalAngles, i == 0, table.verticalAngles[i])) return fail();
  }
  table.horizontalAngles.resize(static_cast<size_t>(horizontalCount));
  for (size_t i = 0; i < table.horizontalAngles.size(); ++i) {
    if (!in.Read(Section::kHorizontalAngles, i == 0, table.horizontalAngles[i])) return fail();
  }

  const size_t planeSize = table.verticalAngles.size();
  const size_t total = planeSize * table.horizontalAngles.size();
  table.candela.reserve(planeSize);
  if (!ReadCandela(in, planeSize, true, table, error)) return false;
  if (total > kMaxCandelaValues) {
    tableError = "its " + std::to_string(verticalCount) + " vertical angles in " +
                 std::to_string(horizontalCount) + " planes are " + std::to_string(total) +
                 " candela values, more than the " + std::to_string(kMaxCandelaValues) +
                 " that are read.";
  } else {
    ReadCandela(in, total - planeSize, false, table, tableError);
  }
  if (!tableError.empty()) {
    table.horizontalAngles.resize(1);
    table.candela.resize(table.verticalAngles.size());
  }
  return true;
}

// ---------------------------------------------------------------------------
// 3. Entry points.

class TextSource final : public IesChunkSource {
 public:
  explicit TextSource(std::string_view text) : text_(text) {}
  std::string_view NextChunk() override { return std::exchange(text_, std::string_view()); }

 private:
  std::string_view text_;
};

class FileSource final : public IesChunkSource {
 public:
  explicit FileSource(std::FILE* file) : file_(file), buffer_(64 * 1024) {}
  std::string_view NextChunk() override {
    const size_t got = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    return std::string_view(buffer_.data(), got);
  }

 private:
  std::FILE* file_;
  std::vector<char> buffer_;
};

}  // namespace

Lm63ReadResult ReadIes(IesChunkSource& source) {
  TextCursor cursor(source);
  Lm63ReadResult result;
  if (!ReadTable(cursor, result.photometry, result.error, result.tableError)) return result;
  result.curve = EditorCurve(result.photometry);
  result.ok = true;
  return result;
}

Lm63ReadResult ReadIesText(std::string_view bytes) {
  TextSource source(bytes);
  return ReadIes(source);
}

Lm63ReadResult ReadIesFile(std::FILE* file) {
  FileSource source(file);
  Lm63ReadResult result = ReadIes(source);
  if (std::ferror(file)) {
    result.ok = false;
    result.error = "reading it failed.";
  }
  return result;
}
