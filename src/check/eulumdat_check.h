#pragma once
// The EULUMDAT rules, read from the file's bytes: the fixed line layout,
// the type and symmetry indicators, Mc, Dc, Ng and Dg against the angles
// listed, the planes the symmetry stores, text fields of at most 78
// characters, positive conversion factor, lamp flux and counts, the
// downward flux fraction and light output ratio within 0 to 100 %, and
// negative intensities.

#include <optional>
#include <string>
#include <string_view>

#include "check/findings.h"

// What the flux rules and the header summary need besides the table.
struct EulumdatFacts {
  std::optional<double> lightOutputRatio;  // line 23, in %
  std::optional<double> lampFlux;          // the lamp sets' total, in lm
  std::string date;                        // line 12
};

EulumdatFacts CheckEulumdatText(std::string_view bytes, Findings& findings);
