// Reading LM-63 text: line pieces and numbers.
#include "files/ies_text.h"

#include <algorithm>
#include <charconv>
#include <cstring>

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

NumberStatus NumberReader::Read(float& value) {
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

std::string NumberReader::LastText() const {
  std::string text(token_.data(), std::min<size_t>(length_, 24));
  for (char& c : text) {
    if (c < 0x21 || c > 0x7e) c = '?';
  }
  if (length_ > 24 || overlong_) text += "...";
  return text;
}

bool NumberReader::TakeNumber() {
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

NumberStatus NumberReader::Convert(float& value) {
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

bool NumberReader::BelowOne(const char* first, const char* last) {
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

void NumberReader::Take() {
  const int c = cursor_.Peek();
  if (length_ < kMaxLength) {
    token_[length_++] = static_cast<char>(c);
  } else {
    overlong_ = true;
  }
  cursor_.Advance();
}

size_t NumberReader::TakeDigits() {
  size_t count = 0;
  while (IsDigit(cursor_.Peek())) {
    Take();
    ++count;
  }
  return count;
}

void NumberReader::TakeRestOfWord() {
  while (!AtSeparator()) Take();
}
