#pragma once
// A standard LM-63-2019 file for the editor's curve, beside the first
// version's own layout (WriteIesText):
//   IES:LM-63-2019
//   [TEST] ... [TESTLAB] ... [ISSUEDATE] ... [MANUFAC] ...   the required four
//   the source's other keyword lines, in its order
//   TILT=NONE
//   lamps  lumens  1  181  1  1  units  width  length  height
//   1.0  1.00010  watts          ballast factor 1, computer simulation
//   vertical angles 0..180, the one horizontal angle 0, the 181 candela values
// Line ends are CR LF; numbers as FormatTrimmed writes them; each candela
// value is the square of its sample taken in double precision.

#include <string>
#include <string_view>

#include "editor/curve.h"
#include "editor/lamp.h"
#include "ies/photometry.h"

// The file for every plane of `lamp`, at its horizontal angles. From `source` (the file the curve came from,
// or a default table for a drawn one) it keeps the keywords, the lamp count
// and lumens, the units and the luminous opening, and the input watts; its
// tilt data are not written. A required keyword the
// source lacks names Lumistra and `date` (as "2026-12-07"); a source line
// that is no keyword line (the free text of the oldest edition) becomes an
// [OTHER] line.
std::string WriteIes2019Text(const Lamp& lamp, const Photometry& source, std::string_view date);

// Today's date in UTC as "YYYY-MM-DD".
std::string TodayUtc();
