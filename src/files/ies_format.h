#pragma once
// The LM-63 (".ies") file work as plain functions: bytes in, bytes out,
// errors as values. No dialogs, no editor.
//
// Writing: WriteIesText gives the exact bytes of the file for 181 samples
// (entry i is the square root of the intensity in candela at i degrees):
//   IESNA:                                  the identification line
//   TILT=NONE
//   1  -1  1  181  1  1  1  0.0  0.0  0.0   one lamp, absolute photometry,
//                                           multiplier 1, 181 vertical angles,
//                                           1 horizontal, type C, feet, a point
//   1.00  1.00  0                           ballast factors, input watts
//   0.0 1.0 ... 9.0                         vertical angles 0..179, ten a line
//   ...
//   180.0
//   0.0                                     the one horizontal angle
//   candela 0..179, ten a line, as above, then the value for 180 degrees
//   followed by one space and no line end.
// Line ends are CR LF. Every number is written by FormatTrimmed; a candela
// value is the square of its sample taken in double precision.
//
// Reading: ReadIes finds the first line whose first five characters are
// "TILT=" (lines read as pieces of at most 254 characters, CR LF counting as
// one line end), keeping the lines before it, skips inline tilt data, reads
// the header, the vertical and horizontal angles and the candela values of
// every plane into a Photometry table, and makes the editor's curve from its
// first plane (EditorCurve). Numbers are read with a full stop as the
// decimal point whatever the locale; spaces, tabs, line ends and commas
// separate them. A file that cannot be used gives a result with ok == false
// and a sentence saying why. Memory stays bounded however long the file is:
// the text is read in chunks, only the first 64 KiB of the lines before the
// tilt line are kept, and a table of more than four million candela values
// is not read beyond its first plane.

#include <array>
#include <cstdio>
#include <string>
#include <string_view>

#include "editor/curve.h"
#include "editor/lamp.h"
#include "files/photometry.h"

// "%f" (six decimals, rounded to nearest, a full stop as the decimal point),
// then trailing zeros removed with one zero kept after a bare point:
// 180 -> "180.0", 1.21 -> "1.21", 0.0000002 -> "0.0".
std::string FormatTrimmed(double value);

// The bytes of the file for curve[0..180].
std::string WriteIesText(const float* curve);

// The same layout for every plane of `lamp`: its horizontal angles, each
// plane's 181 candela values (a plane's last value ends its line, but the
// last plane's, which is followed by one space), and from `header` its
// keyword lines after the identification line, the lamp count and lumens,
// units, luminous opening, ballast factor and input watts. The candela
// values carry any multiplier, which is written as 1. A drawn curve's lamp
// with a default header gives exactly the bytes above.
std::string WriteIesText(const Lamp& lamp, const Photometry& header);

struct Lm63ReadResult {
  bool ok = false;
  Curve curve{};  // all 181 samples when ok
  // When not ok: what is wrong, as the end of the sentence
  // "<file name> is not a usable IES file: <error>", for example
  // "it ends before its candela values."
  std::string error;
  // The whole file when ok. A fault after the first plane does not stop the
  // file from opening, but leaves `photometry` cut to the header, the
  // vertical angles and the first plane, and says why in `tableError`, in
  // the form of `error`; it is empty when every plane was read.
  Photometry photometry;
  std::string tableError;
};

// Where the reader gets its text: each call gives the next piece of the file,
// an empty piece at the end. A piece stays valid until the next call.
class IesChunkSource {
 public:
  virtual ~IesChunkSource() = default;
  virtual std::string_view NextChunk() = 0;

 protected:
  IesChunkSource() = default;
  IesChunkSource(const IesChunkSource&) = default;
  IesChunkSource& operator=(const IesChunkSource&) = default;
};

Lm63ReadResult ReadIes(IesChunkSource& source);

// The whole file in memory.
Lm63ReadResult ReadIesText(std::string_view bytes);

// A file open for reading in binary mode, read in chunks of 64 KiB. A read
// error gives a result that says so.
Lm63ReadResult ReadIesFile(std::FILE* file);
