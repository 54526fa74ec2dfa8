// The LM-63 reader.
//
// Sections:
//   1. the tilt line search
//   2. the layout: tilt data, header, angles, candela values
//   3. resampling onto the whole degrees
//   4. the entry points
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <utility>
#include <vector>

#include "ies/ies_format.h"
#include "ies/ies_text.h"

namespace {

// ---------------------------------------------------------------------------
// 1. The tilt line search.
//
// A line piece is a tilt line when its first five characters are exactly
// "TILT=", so a tilt line that starts with spaces or is in lower case is not
// one, nor is "TILT=" in the middle of a line.

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// What the tilt line says follows it: "TILT=INCLUDE" puts the tilt data
// between it and the header; "TILT=NONE" and the name of a tilt file do not.
enum class TiltLine { kNotFound, kNoInlineData, kInlineData };

TiltLine FindTiltLine(TextCursor& cursor) {
  constexpr int kTiltLength = 5;  // "TILT="
  for (;;) {
    LinePiece piece;
    if (!ReadLinePiece(cursor, piece, kTiltLength)) return TiltLine::kNotFound;
    if (piece.endsLine) continue;  // shorter than five characters
    if (piece.length < kTiltLength) return TiltLine::kNotFound;  // the text ended
    if (std::memcmp(piece.text.data(), "TILT=", kTiltLength) != 0) {
      SkipRestOfPiece(cursor, kTiltLength);
      continue;
    }
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

// What the resampling needs: the vertical angles followed by a closing 0,
// and the candela values (times the multiplier) followed by a 0, so that
// degrees beyond the last vertical angle get 0.
struct Photometry {
  std::vector<float> angles;
  std::vector<float> values;
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

bool ReadPhotometry(TextCursor& cursor, Photometry& out, std::string& error) {
  const TiltLine tilt = FindTiltLine(cursor);
  if (tilt == TiltLine::kNotFound) {
    error = "it has no line starting with \"TILT=\".";
    return false;
  }
  LayoutReader in(cursor);
  auto fail = [&] {
    error = in.error;
    return false;
  };
  if (tilt == TiltLine::kInlineData && !ReadTiltData(in)) return fail();

  // The header: lamps, lumens per lamp, candela multiplier, vertical and
  // horizontal angle counts, photometric type, units, width, length, height;
  // then ballast factor, a field for future use, input watts.
  float unused = 0.0f, multiplier = 0.0f, photometricType = 0.0f;
  int verticalCount = 0, horizontalCount = 0;
  if (!in.Read(Section::kHeader, true, unused) ||   // lamps
      !in.Read(Section::kHeader, false, unused) ||  // lumens per lamp
      !in.Read(Section::kHeader, false, multiplier) ||
      !in.ReadCount(Section::kHeader, false, 1, kMaxVerticalAngles, "vertical angles",
                    verticalCount) ||
      !in.ReadCount(Section::kHeader, false, 1, kMaxHorizontalAngles, "horizontal angles",
                    horizontalCount) ||
      !in.Read(Section::kHeader, false, photometricType)) {
    return fail();
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
  // Units, width, length, height; ballast factor, future use, input watts.
  if (!in.Skip(Section::kHeader, 7, false)) return fail();

  out.angles.resize(static_cast<size_t>(verticalCount) + 1);
  out.values.resize(static_cast<size_t>(verticalCount) + 1);
  for (size_t i = 0; i < static_cast<size_t>(verticalCount); ++i) {
    if (!in.Read(Section::kVerticalAngles, i == 0, out.angles[i])) return fail();
  }
  out.angles.back() = 0.0f;
  if (!in.Skip(Section::kHorizontalAngles, horizontalCount, true)) return fail();
  for (size_t i = 0; i < static_cast<size_t>(verticalCount); ++i) {
    float candela = 0.0f;
    if (!in.Read(Section::kCandelaValues, i == 0, candela)) return fail();
    // A multiplier of 1 leaves every value exactly as written.
    const double scaled = static_cast<double>(candela) * static_cast<double>(multiplier);
    if (!(std::fabs(scaled) <= static_cast<double>(FLT_MAX))) {
      error = "its candela values times its multiplier are too large to use.";
      return false;
    }
    out.values[i] = static_cast<float>(scaled);
  }
  out.values.back() = 0.0f;
  return true;
}

// ---------------------------------------------------------------------------
// 3. Resampling.
//
// A bracket index k, carried from one degree to the next, moves forward while
// the degree lies beyond angle[k + 1]; the value is the straight line through
// (angle[k], value[k]) and (angle[k + 1], value[k + 1]) at the degree, in
// double precision from the stored floats, then stored as a float. Below the
// first angle the value is 0, as it is once k reaches the closing entry: an
// uplight listed from 90 degrees gives no light downward. The sample is the
// square root.
//
// Two equal neighbouring angles give value[k] rather than a division by zero.
// A negative value (negative candela) stores 0,
// a value beyond the float range the largest float, so every sample is
// finite and not negative.

Curve Resample(const Photometry& in) {
  Curve curve{};
  const size_t n = in.angles.size();
  size_t k = 0;
  for (int d = 0; d < kCurveSampleCount; ++d) {
    const float degree = static_cast<float>(d);
    while (k + 1 < n && degree > in.angles[k + 1]) ++k;
    double value = 0.0;
    if (k + 1 < n && !(degree < in.angles[0])) {
      const double a0 = in.angles[k], a1 = in.angles[k + 1];
      const double v0 = in.values[k], v1 = in.values[k + 1];
      // At a listed angle the listed value itself: the line through two very
      // different values would miss the upper one by more than its rounding.
      if (a1 == a0 || d == a0) {
        value = v0;
      } else if (d == a1) {
        value = v1;
      } else {
        value = v0 + (v1 - v0) * (d - a0) / (a1 - a0);
      }
    }
    if (!(value > 0.0)) value = 0.0;
    if (value > static_cast<double>(FLT_MAX)) value = static_cast<double>(FLT_MAX);
    const float stored = static_cast<float>(value);
    curve[static_cast<size_t>(d)] = static_cast<float>(std::sqrt(static_cast<double>(stored)));
  }
  return curve;
}

// ---------------------------------------------------------------------------
// 4. Entry points.

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

IesReadResult ReadIes(IesChunkSource& source) {
  TextCursor cursor(source);
  Photometry photometry;
  IesReadResult result;
  if (!ReadPhotometry(cursor, photometry, result.error)) return result;
  result.curve = Resample(photometry);
  result.ok = true;
  return result;
}

IesReadResult ReadIesText(std::string_view bytes) {
  TextSource source(bytes);
  return ReadIes(source);
}

IesReadResult ReadIesFile(std::FILE* file) {
  FileSource source(file);
  IesReadResult result = ReadIes(source);
  if (std::ferror(file)) {
    result.ok = false;
    result.error = "reading it failed.";
  }
  return result;
}
