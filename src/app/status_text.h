#pragma once
// The texts of the main window's status bar, made from the editor's state in
// UTF-8; both programs only show them. Three fields, left to right:
//
//   pointer  over the diagram: the whole degree a press there would set, the
//            curve's intensity at that degree and the intensity the pointer's
//            distance from the pole stands for
//              "35°  curve 1234 cd  pointer 2000 cd"
//            over the wall: the wall point under the pointer in metres from
//            the point opposite the lamp (x right, y up), and its illuminance
//              "x 0.12 m  y -0.4 m  E 152.3 lx"
//            empty when the pointer is outside both halves
//   curve    "peak 8500 cd at 0°  flux 8749 lm  beam 28.6°  field 110.0°"
//            ("beam –", "field –" where the curve has none); for a lamp of
//            several planes the whole lamp's numbers, as `info` gives them,
//            and the peak's plane: "peak 2090 cd at C 45° 60°  flux ..."
//   lamp     "light 0.95 m from the wall", after the section the diagram
//            shows when the lamp is drawn by sections: "section C 30° | 210°  light ...",
//            and "  flux kept while drawing" while Lamp > Keep flux is on
//
// Numbers have 4 significant digits (the "%.4g" form, but plain figures
// from 10^4 to below 10^7: 13510, not 1.351e+04), beam and field one
// decimal, the pointer's angle none; the decimal point is a full stop in
// every locale.

#include <string>
#include <string_view>

#include "editor/distribution_editor.h"
#include "app/document.h"

struct StatusTexts {
  std::string pointer, curve, lamp;
};

// The pointer is taken at (lastX, lastY); `pointerInside` says whether it is
// in the client area at all (it may have left the window since its last move).
StatusTexts StatusTextsFor(const DistributionEditor& editor, const Document& document,
                           bool pointerInside);

// The same, written into `texts`: once their storage has grown, a refresh on
// a pointer move allocates nothing.
void FillStatusTexts(const DistributionEditor& editor, const Document& document,
                     bool pointerInside, StatusTexts& texts);
