#pragma once
// Photometry: a whole photometric file as one plain table, whatever format it
// came in. Each reader (LM-63, EULUMDAT) fills it; the editor's curve, the
// command line's numbers and the writers start from it.
//
// Angles are in degrees as the file lists them, in the file's order:
// vertical angles (gamma) from the downward axis, horizontal angles (the
// C-planes) around it. Intensities are candela with the file's multiplier
// already applied, stored at single precision as the reader computes them.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// One lamp set of an EULUMDAT file (lines 26a to 26f).
struct EulumdatLampSet {
  int count = 1;  // negative: absolute photometry
  std::string type;
  double flux = 0.0;  // lm
  std::string colour;
  std::string colourRendering;
  double watts = 0.0;
};

// What an EULUMDAT file says beyond the table and the keywords, kept so that
// a save as EULUMDAT writes it back.
struct EulumdatFields {
  int typeIndicator = 1;             // Ityp
  std::array<double, 9> sizes{};     // lines 13 to 21, mm
  std::array<double, 10> directRatios{};
  double tilt = 0.0;
  std::string dateUser;              // line 12
  std::vector<EulumdatLampSet> lampSets;
};

struct Photometry {
  // The header numbers, as LM-63 names them.
  int lampCount = 1;
  float lumensPerLamp = -1.0f;  // -1: absolute photometry (no rated lamp flux)
  float candelaMultiplier = 1.0f;
  int photometricType = 1;  // 1 type C, 2 type B, 3 type A
  int unitsType = 1;        // 1 feet, 2 metres
  float width = 0.0f;       // the luminous opening, in those units
  float length = 0.0f;
  float height = 0.0f;
  float ballastFactor = 1.0f;
  // LM-63-2019's file-generation type; the ballast-lamp factor of the older
  // editions, which stand in the same place.
  float fileGenerationType = 1.0f;
  float inputWatts = 0.0f;

  std::vector<float> verticalAngles;
  std::vector<float> horizontalAngles;
  // Plane h's value at vertical angle v is candela[h * verticalAngles.size() + v].
  std::vector<float> candela;

  // The text before the tilt line: the identification line ("IESNA:LM-63-2002",
  // "IES:LM-63-2019", empty when the file has none) and the keyword lines
  // ("[TEST] 1234"), each without its line end.
  std::string identification;
  std::vector<std::string> keywords;

  // Present when the table was read from an EULUMDAT file.
  std::optional<EulumdatFields> eulumdat;

  std::size_t planeCount() const { return horizontalAngles.size(); }
  const float* plane(std::size_t h) const {
    return candela.data() + h * verticalAngles.size();
  }
};
