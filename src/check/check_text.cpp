#include "check/check_text.h"

#include <charconv>
#include <cmath>

std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    if (end != std::string_view::npos && line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
  }
  return lines;
}

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool ParseNumber(std::string_view text, double& value, DecimalComma comma) {
  if (text.starts_with("+-")) return false;
  std::string digits(text.substr(text.starts_with('+') ? 1 : 0));
  if (comma == DecimalComma::kAccepted && digits.find('.') == std::string::npos) {
    if (const size_t at = digits.find(','); at != std::string::npos) digits[at] = '.';
  }
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, value);
  return !digits.empty() && error == std::errc() && stop == end && std::isfinite(value);
}

std::string Quote(std::string_view text) {
  std::string quoted(text.substr(0, 24));
  for (char& c : quoted) {
    if (c < 0x20 || c > 0x7E) c = '?';
  }
  return "\"" + quoted + (text.size() > 24 ? "...\"" : "\"");
}

std::string LineName(size_t lineNumber) {
  return "line " + std::to_string(lineNumber);
}

std::string NumberText(double value) {
  char buffer[400];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
  if (error != std::errc()) return "?";
  std::string text(buffer, end);
  while (text.ends_with('0')) text.pop_back();
  if (text.ends_with('.')) text.pop_back();
  return text == "-0" ? "0" : text;
}
