#pragma once
// The LM-63 rules, read from the file's bytes: the version line, the keyword
// lines each edition requires and defines, line lengths, the tilt forms,
// the header's numbers, the counts against the numbers present, the angles
// each photometric type allows and the candela values.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "check/findings.h"

// A number of the file as written, where it stands.
struct NumberToken {
  std::string_view text;
  size_t line = 0;
};

// What the renderers' notes need to know of the file besides its table.
struct Lm63Facts {
  int edition = 1986;                            // 1986, 1991, 1995, 2002 or 2019
  double photometricType = 0.0;                  // as the header gives it; 0 when it does not
  std::string tilt;                              // the text after "TILT=" ("NONE")
  std::optional<NumberToken> firstExponentForm;  // the first number written as 1.5E+03
  std::optional<NumberToken> textAfterTable;     // what follows the candela values, but END
  std::optional<double> fileGenerationType;      // 2019: the value in its place
  std::string fileGenerationText;                // as written
};

// "LM-63-2002"
std::string Lm63FormatName(int edition);

Lm63Facts CheckLm63Text(std::string_view bytes, Findings& findings);
