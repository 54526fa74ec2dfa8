#pragma once
// Reading LM-63 text: bytes from a chunk source, line pieces as a text-mode
// line read gives them, and numbers as "%f" reads them, without the locale.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "files/ies_format.h"

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

// Lines are read as a text-mode line read with a 255-byte buffer gives them:
// at most 254 characters, ending after a line feed; a longer line comes in
// pieces and each piece counts as a line. CR LF is one line end (a lone CR is
// an ordinary character).
constexpr int kLinePieceLength = 254;

struct LinePiece {
  std::array<char, kLinePieceLength> text;
  int length = 0;
  bool endsLine = false;  // the piece ends with its line's line end
};

// Reads characters of the current piece until it holds `limit` of them or
// its line end; false when the text ended before the piece got any.
bool ReadLinePiece(TextCursor& cursor, LinePiece& piece, int limit);

// Passes the rest of a piece of which `taken` characters have been read,
// none of them its line end. Text before a tilt line is mostly passed here,
// so it looks for the line feed with memchr where it can.
void SkipRestOfPiece(TextCursor& cursor, int taken);

// Passes everything up to and including the next line feed.
void SkipRestOfLine(TextCursor& cursor);

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

  // The next number: kOk with its value, kEnd when only separators are
  // left, otherwise why the text there is not a usable number.
  NumberStatus Read(float& value);

  // The text of the number last read, for messages: at most 24 characters,
  // bytes outside printable ASCII shown as '?'.
  std::string LastText() const;

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

  // Takes the next byte into the token (up to kMaxLength bytes of it).
  void Take();
  size_t TakeDigits();
  // Takes the longest well-formed number; false when the text there is not
  // one (a sign or an exponent without digits, or no digits at all).
  bool TakeNumber();
  // Takes what is left up to the next separator, for the message.
  void TakeRestOfWord();
  // The token's value as the nearest float.
  NumberStatus Convert(float& value);

  // Whether a well-formed number without its sign lies below 1 in magnitude,
  // from the place of its first nonzero digit and its exponent.
  static bool BelowOne(const char* first, const char* last);

  TextCursor& cursor_;
  std::array<char, kMaxLength> token_{};
  size_t length_ = 0;
  bool overlong_ = false;
};
