// The LM-63 reader.
//
// Sections:
//   1. TextCursor: bytes from a chunk source, one at a time
//   2. the tilt line search, by line pieces as text-mode reading gives them
//   3. NumberReader: one number at a time, locale free
//   4. the layout: tilt data, header, angles, candela values
//   5. resampling onto the whole degrees
//   6. the entry points
#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <utility>
#include <vector>

#include "ies/ies_format.h"

namespace {

// ---------------------------------------------------------------------------
// 1. TextCursor

class TextCursor {
 public:
  explicit TextCursor(IesChunkSource& source) : source_(source) {}

  // The next byte (0..255), or -1 at the end of the text.
  int Peek() {
    if (next_ == end_ && !Refill()) return -1;
    return static_cast<unsigned char>(*next_);
  }
  // Moves past the byte that Peek() gave; only after it gave one.
  void Advance() { ++next_; }

  // The bytes read from the source and not yet passed, possibly none.
  std::string_view Buffered() const {
    return std::string_view(next_, static_cast<size_t>(end_ - next_));
  }
  // Moves past `count` bytes of Buffered().
  void Skip(size_t count) { next_ += count; }

 private:
  bool Refill() {
    if (ended_) return false;
    const std::string_view chunk = source_.NextChunk();
    if (chunk.empty()) {
      ended_ = true;
      return false;
    }
    next_ = chunk.data();
    end_ = chunk.data() + chunk.size();
    return true;
  }

  IesChunkSource& source_;
  const char* next_ = nullptr;
  const char* end_ = nullptr;
  bool ended_ = false;
};

// ---------------------------------------------------------------------------
// 2. The tilt line search.
//
// Lines are read as a text-mode line read with a 255-byte buffer gives them:
// at most 254 characters, ending after a line feed; a longer line comes in
// pieces and each piece counts as a line. CR LF is one line end (a lone CR is
// an ordinary character). A piece is a tilt line when its first five
// characters are exactly "TILT=", so a tilt line that starts with spaces or
// is in lower case is not one, nor is "TILT=" in the middle of a line.

constexpr int kLinePieceLength = 254;

struct LinePiece {
  std::array<char, kLinePieceLength> text;
  int length = 0;
  bool endsLine = false;  // the piece ends with its line's line end
};

// Reads characters of the current piece until it holds `limit` of them or
// its line end; false when the text ended before the piece got any.
bool ReadLinePiece(TextCursor& cursor, LinePiece& piece, int limit) {
  while (piece.length < limit && !piece.endsLine) {
    int c = cursor.Peek();
    if (c < 0) break;
    cursor.Advance();
    if (c == '\r' && cursor.Peek() == '\n') {
      cursor.Advance();
      c = '\n';
    }
    piece.text[static_cast<size_t>(piece.length++)] = static_cast<char>(c);
    piece.endsLine = c == '\n';
  }
  return piece.length > 0;
}

// Passes the rest of a piece of which `taken` characters have been read,
// none of them its line end. Text before a tilt line is mostly passed here,
// so where the buffer holds the whole rest this looks for the line feed with
// memchr instead of going byte by byte.
void SkipRestOfPiece(TextCursor& cursor, int taken) {
  const size_t room = static_cast<size_t>(kLinePieceLength - taken);
  const std::string_view ahead = cursor.Buffered();
  if (ahead.size() <= room) {
    LinePiece rest;
    rest.length = taken;
    ReadLinePiece(cursor, rest, kLinePieceLength);
    return;
  }
  const void* found = std::memchr(ahead.data(), '\n', room + 1);
  if (found == nullptr) {
    cursor.Skip(room);  // the piece is full; no CR LF pair crosses its end
    return;
  }
  const size_t at = static_cast<size_t>(static_cast<const char*>(found) - ahead.data());
  // The line feed ends this piece when it fits, counting a CR before it as
  // one character with it; otherwise the piece is full just before it.
  const bool afterCarriageReturn = at > 0 && ahead[at - 1] == '\r';
  if (at < room || afterCarriageReturn) {
    cursor.Skip(at + 1);
  } else {
    cursor.Skip(room);
  }
}

void SkipRestOfLine(TextCursor& cursor) {
  for (;;) {
    if (cursor.Peek() < 0) return;
    const std::string_view ahead = cursor.Buffered();  // not empty after Peek
    if (const void* found = std::memchr(ahead.data(), '\n', ahead.size())) {
      cursor.Skip(static_cast<size_t>(static_cast<const char*>(found) - ahead.data()) + 1);
      return;
    }
    cursor.Skip(ahead.size());
  }
}

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
    const char* first = piece.text.data() + 5;
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
  return TiltLine::kNotFound;
}

// ---------------------------------------------------------------------------
// 3. NumberReader.
//
// A number is what "%f" takes, without its hexadecimal, infinity and NaN
// forms: an optional sign, digits with an optional full stop (at least one
// digit), an optional exponent (e or E, an optional sign, at least one
// digit). White space and commas separate numbers; anything else next to a
// number makes it not a number. The value is the nearest float; a value too
// small for a float reads as zero, one too large is refused.

enum class NumberStatus { kOk, kEnd, kNotANumber, kTooLong, kTooLarge };

class NumberReader {
 public:
  explicit NumberReader(TextCursor& cursor) : cursor_(cursor) {}

  NumberStatus Read(float& value) {
    SkipSeparators();
    if (cursor_.Peek() < 0) return NumberStatus::kEnd;
    length_ = 0;
    overlong_ = false;
    const bool wellFormed = TakeNumber();
    if (!wellFormed || !AtSeparator()) {
      TakeRestOfWord();
      return overlong_ ? NumberStatus::kTooLong : NumberStatus::kNotANumber;
    }
    if (overlong_) return NumberStatus::kTooLong;
    return Convert(value);
  }

  // The text of the number last read, for messages: at most 24 characters,
  // bytes outside printable ASCII shown as '?'.
  std::string LastText() const {
    std::string text(token_.data(), std::min<size_t>(length_, 24));
    for (char& c : text) {
      if (c < 0x21 || c > 0x7e) c = '?';
    }
    if (length_ > 24 || overlong_) text += "...";
    return text;
  }

 private:
  static constexpr size_t kMaxLength = 255;

  static bool IsSeparator(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' ||
           c == ',';
  }
  static bool IsDigit(int c) { return c >= '0' && c <= '9'; }

  void SkipSeparators() {
    while (IsSeparator(cursor_.Peek())) cursor_.Advance();
  }
  bool AtSeparator() {
    const int c = cursor_.Peek();
    return c < 0 || IsSeparator(c);
  }

  void Take() {
    const int c = cursor_.Peek();
    if (length_ < kMaxLength) {
      token_[length_++] = static_cast<char>(c);
    } else {
      overlong_ = true;
    }
    cursor_.Advance();
  }
  size_t TakeDigits() {
    size_t count = 0;
    while (IsDigit(cursor_.Peek())) {
      Take();
      ++count;
    }
    return count;
  }

  bool TakeNumber() {
    if (cursor_.Peek() == '+' || cursor_.Peek() == '-') Take();
    size_t digits = TakeDigits();
    if (cursor_.Peek() == '.') {
      Take();
      digits += TakeDigits();
    }
    if (digits == 0) return false;
    if (cursor_.Peek() == 'e' || cursor_.Peek() == 'E') {
      Take();
      if (cursor_.Peek() == '+' || cursor_.Peek() == '-') Take();
      if (TakeDigits() == 0) return false;
    }
    return true;
  }

  void TakeRestOfWord() {
    while (!AtSeparator()) Take();
  }

  NumberStatus Convert(float& value) {
    const char* first = token_.data();
    const char* last = token_.data() + length_;
    const bool negative = *first == '-';
    if (*first == '+' || *first == '-') ++first;  // from_chars takes no '+'
    float magnitude = 0.0f;
    const std::from_chars_result result = std::from_chars(first, last, magnitude);
    if (result.ec == std::errc::result_out_of_range) {
      if (!BelowOne(first, last)) return NumberStatus::kTooLarge;
      magnitude = 0.0f;  // too small for a float: zero, as "%f" gives
    } else if (result.ec != std::errc() || result.ptr != last) {
      return NumberStatus::kNotANumber;  // not reached: the token is well formed
    }
    value = negative ? -magnitude : magnitude;
    return NumberStatus::kOk;
  }

  // Whether a well-formed number without its sign lies below 1 in magnitude,
  // from the place of its first nonzero digit and its exponent.
  static bool BelowOne(const char* first, const char* last) {
    long place = 0;  // power of ten of the first nonzero digit
    bool found = false;
    const char* c = first;
    for (; c < last && IsDigit(*c); ++c) {
      if (!found && *c != '0') {
        found = true;
        place = -1;  // counted up below
      }
      if (found) ++place;
    }
    if (c < last && *c == '.') {
      long fraction = 0;
      for (++c; c < last && IsDigit(*c); ++c) {
        ++fraction;
        if (!found && *c != '0') {
          found = true;
          place = -fraction;
        }
      }
    }
    if (!found) return true;
    long exponent = 0;
    if (c < last && (*c == 'e' || *c == 'E')) {
      ++c;
      const bool down = c < last && *c == '-';
      if (c < last && (*c == '+' || *c == '-')) ++c;
      for (; c < last; ++c) exponent = std::min(exponent * 10 + (*c - '0'), 100000L);
      if (down) exponent = -exponent;
    }
    return place + exponent < 0;
  }

  TextCursor& cursor_;
  std::array<char, kMaxLength> token_{};
  size_t length_ = 0;
  bool overlong_ = false;
};

// ---------------------------------------------------------------------------
// 4. The layout.

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
  float lampsAndLumens = 0.0f, multiplier = 0.0f, photometricType = 0.0f;
  int verticalCount = 0, horizontalCount = 0;
  if (!in.Read(Section::kHeader, true, lampsAndLumens) ||
      !in.Read(Section::kHeader, false, lampsAndLumens) ||
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
// 5. Resampling.
//
// A bracket index k, carried from one degree to the next, moves forward while
// the degree lies beyond angle[k + 1]; the value is the straight line through
// (angle[k], value[k]) and (angle[k + 1], value[k + 1]) at the degree, in
// double precision from the stored floats, then stored as a float. Below the
// first angle the line through the first two points is extended; once k
// reaches the closing entry the value is 0. The sample is the square root.
//
// Two equal neighbouring angles give value[k] rather than a division by zero.
// A negative value (negative candela, or a line extended below zero) stores 0,
// a value beyond the float range the largest float, so every sample is
// finite and not negative.

std::array<float, kIesSampleCount> Resample(const Photometry& in) {
  std::array<float, kIesSampleCount> curve{};
  const size_t n = in.angles.size();
  size_t k = 0;
  for (int d = 0; d < kIesSampleCount; ++d) {
    const float degree = static_cast<float>(d);
    while (k + 1 < n && degree > in.angles[k + 1]) ++k;
    double value = 0.0;
    if (k + 1 < n) {
      const double a0 = in.angles[k], a1 = in.angles[k + 1];
      const double v0 = in.values[k], v1 = in.values[k + 1];
      value = a1 == a0 ? v0 : v0 + (v1 - v0) * (d - a0) / (a1 - a0);
    }
    if (!(value > 0.0)) value = 0.0;
    if (value > static_cast<double>(FLT_MAX)) value = static_cast<double>(FLT_MAX);
    const float stored = static_cast<float>(value);
    curve[static_cast<size_t>(d)] = static_cast<float>(std::sqrt(static_cast<double>(stored)));
  }
  return curve;
}

// ---------------------------------------------------------------------------
// 6. Entry points.

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
