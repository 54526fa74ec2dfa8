#pragma once
// The EULUMDAT (".ldt") file work as plain functions: bytes in, bytes out,
// errors as values. No dialogs, no editor.
//
// An EULUMDAT file is a fixed sequence of lines, one field a line:
//    1  company identification          13-21 luminaire and luminous area
//    2  type indicator Ityp                   sizes, mm
//    3  symmetry indicator Isym 0..4      22  downward flux fraction, %
//    4  number of C-planes Mc             23  light output ratio, %
//    5  distance between C-planes Dc      24  conversion factor of intensities
//    6  number of gamma angles Ng         25  tilt during measurement
//    7  distance between gamma angles Dg  26  number n of lamp sets, then per set:
//    8  measurement report number             lamp count (negative: absolute
//    9  luminaire name                        photometry), lamp type, total
//   10  luminaire number                      flux in lm, colour, colour
//   11  file name                             rendering, watts (six lines)
//   12  date / user                       then ten direct ratios, the Mc
//                                         C angles, the Ng gamma angles and
// the intensities in cd per 1000 lm of the lamp flux, gamma by gamma for
// each stored C-plane. Which planes are stored follows from Isym:
//   0  all Mc planes (no symmetry)
//   1  one plane (rotational symmetry)
//   2  C 0..180 (symmetric about the C0-C180 plane)
//   3  C 270..360..90 (symmetric about the C90-C270 plane)
//   4  C 0..90 (symmetric about both planes)

#include <string>
#include <string_view>

#include "editor/curve.h"
#include "editor/lamp.h"
#include "files/photometry.h"

struct EulumdatReadResult {
  bool ok = false;
  Photometry photometry;
  // When not ok: what is wrong, naming the line, as the end of the sentence
  // "<file name> is not a usable EULUMDAT file: <error>", for example
  // "line 150 has \"n/a\" where an intensity should be."
  std::string error;
};

// Reads the file into the photometric table. Intensities become candela:
// cd/klm times the conversion factor times the lamp sets' total flux / 1000.
// The stored planes are mirrored by Isym onto the horizontal angles an LM-63
// file of that symmetry lists, C 0 always first: Isym 1 one plane at 0,
// Isym 4 C 0..90, Isym 2 C 0..180, Isym 0 and 3 the whole circle C 0..360
// (the plane at 360 repeats C 0). The text fields become keywords: the
// company [MANUFAC], the report number [TEST], the luminaire name
// [LUMINAIRE] and number [LUMCAT], the first set's lamp type [LAMP].
// Line ends LF or CR LF; a number may have a decimal comma; a UTF-8 byte
// order mark before the company is dropped; lines after the intensities are
// ignored. A file that describes no lamp is refused, naming the line: a
// conversion factor or a lamp flux of 0 or below, a negative intensity, gamma
// angles that do not ascend, or under Isym 3 a C angle whose mirror angle
// 180 - C the file does not list (the planes are mirrored by angle).
EulumdatReadResult ReadEulumdatText(std::string_view bytes);

// The largest file the reader takes: far more than the largest real file
// (720 planes of 361 angles hold about 2 MB).
inline constexpr size_t kMaxEulumdatBytes = 16 * 1024 * 1024;

// What the writer says about the file besides the curve.
struct EulumdatNames {
  std::string fileName;  // the file's own name, line 11
  std::string date;      // line 12, with "Lumistra"
};

// The light's luminous flux and the share of it below the horizontal, in
// percent, as the measuring layer gives them.
struct EulumdatFlux {
  double lumens = 0.0;
  double downwardPercent = 0.0;
};

// The bytes of the file for `lamp`, CR LF line ends, gamma 0..180 in steps
// of 1 degree. Isym follows the lamp's symmetry (1 for a lamp of one plane,
// 4 quadrant, 2 bilateral about C 0-180, 3 about C 90-270, 0 none); the C
// angles are the listed planes and their mirror images round the circle, and
// the stored planes hold the lamp's light exactly at each.
// `source` gives the names ([MANUFAC], [TEST], [LUMINAIRE], [LUMCAT], [LAMP];
// "Lumistra" and the file name stand in for missing ones), the sizes (an
// EULUMDAT source's, else LM-63's luminous opening as the luminous area)
// and the lamp: an EULUMDAT source's lamp sets where they fit the format and
// their flux is at least the light's; else a rated lamp flux (lampCount x
// lumensPerLamp) at least the light's; otherwise one lamp set of the light's
// own flux in absolute photometry (lamp count -1, LOR 100 %), or 1000 lm
// with LOR 0 for a lamp without light. The direct ratios are the source's,
// else 0: they need a room calculation that a drawn lamp has no data for.
std::string WriteEulumdatText(const Lamp& lamp, const Photometry& source,
                              const EulumdatNames& names, const EulumdatFlux& light);
