#pragma once
// A standard LM-63-2019 file for a lamp, beside Lumistra's own minimal
// layout (WriteIesText):
//   IES:LM-63-2019
//   [TEST] ... [TESTLAB] ... [ISSUEDATE] ... [MANUFAC] ...   the required four
//   the source's other keyword lines, in its order, as Lm63Of2019KeywordLines
//   makes them
//   TILT=NONE
//   lamps  lumens  1  181  planes  1  units  width  length  height
//   ballast  type  watts          the source's ballast factor, the file-generation
//                                 type (Lm63Of2019FileGenerationType)
//   vertical angles 0..180, the horizontal angles, each plane's 181 candela values
// Line ends are CR LF; numbers as FormatTrimmed writes them; each candela
// value is the square of its sample taken in double precision.

#include <string>
#include <string_view>

#include "editor/curve.h"
#include "editor/lamp.h"
#include "files/lm63_2019_keywords.h"
#include "files/photometry.h"

// What the caller knows of the light it writes: where it came from, which
// gives the file-generation type, and its luminous flux, which decides
// whether the rated lamp flux still holds.
struct WrittenLight {
  LightOrigin origin;
  double fluxLm = 0.0;
};

// The file for every plane of `lamp`, at its horizontal angles. From
// `source` (the file the lamp came from, or a default table for a drawn
// one) it keeps the keywords, the lamp count, the lumens (absolute
// photometry, -1, when the light is more than the rated lamps give), the
// units and the luminous opening, the ballast factor and the input watts;
// its tilt data are not written. A required keyword the source lacks names
// Lumistra and `date` (as "2026-12-07").
std::string WriteIes2019Text(const Lamp& lamp, const Photometry& source, std::string_view date,
                             const WrittenLight& light);

// Today's date in UTC as "YYYY-MM-DD".
std::string TodayUtc();
