#pragma once
// A standard LM-63-2019 file for the editor's curve, beside the first
// version's own layout (WriteIesText):
//   IES:LM-63-2019
//   [TEST] ... [TESTLAB] ... [ISSUEDATE] ... [MANUFAC] ...   the required four
//   the source's other keyword lines, in its order, as Lm63Of2019KeywordLines
//   makes them
//   TILT=NONE
//   lamps  lumens  1  181  1  1  units  width  length  height
//   ballast  type  watts          the source's ballast factor, the file-generation
//                                 type (Lm63Of2019FileGenerationType)
//   vertical angles 0..180, the one horizontal angle 0, the 181 candela values
// Line ends are CR LF; numbers as FormatTrimmed writes them; each candela
// value is the square of its sample taken in double precision.

#include <string>
#include <string_view>

#include "editor/curve.h"
#include "ies/photometry.h"

// The file for curve[0..180]. From `source` (the file the curve came from,
// or a default table for a drawn one) it keeps the keywords, the lamp count,
// the lumens (absolute photometry, -1, when the curve gives more light than
// the rated lamps), the units and the luminous opening, the ballast factor
// and the input watts; its other planes and its tilt data are not written.
// A required keyword the source lacks names Lumistra and `date` (as
// "2026-12-07"). The file-generation type is 1.00010 for a drawn lamp,
// otherwise the source's with the interpolated-angle digit (1.00001 for a
// source that gives none).
std::string WriteIes2019Text(const Curve& curve, const Photometry& source, std::string_view date);

// Today's date in UTC as "YYYY-MM-DD".
std::string TodayUtc();
