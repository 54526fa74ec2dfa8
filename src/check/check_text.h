#pragma once
// The checks' view of a file's text: its lines as numbered views, numbers as
// the formats write them, and short quotes of them for messages.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The lines of `bytes`, split at line feeds, each without its line end (a CR
// before the LF is dropped); line i + 1 of the file is entry i.
std::vector<std::string_view> SplitLines(std::string_view bytes);

std::string_view TrimBlanks(std::string_view text);

// A finite number in full: an optional sign, digits with a full stop (or,
// where `decimalComma`, a comma) as the decimal point, an optional exponent.
enum class DecimalComma { kRefused, kAccepted };
bool ParseNumber(std::string_view text, double& value, DecimalComma comma = DecimalComma::kRefused);

// `text` in quotes for a message: at most 24 characters, bytes outside
// printable ASCII shown as '?'.
std::string Quote(std::string_view text);

// "line 12"
std::string LineName(size_t lineNumber);

// A number for a message: at most three decimals, trailing zeros dropped.
std::string NumberText(double value);
