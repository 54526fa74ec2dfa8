#pragma once
// The ring labels' own bitmap font: the digits, space, 'E', '+' and '-', in
// cells of 8 x 16 pixels like the Windows system font, with two-pixel
// vertical strokes so that the labels read well at 1:1.

#include <array>
#include <cstdint>

namespace label_font {

inline constexpr int kCellWidth = 8;
inline constexpr int kCellHeight = 16;

// One glyph: row r of the cell, bit c (0x80 >> c) set where column c is ink.
using Glyph = std::array<uint8_t, kCellHeight>;

// The glyph of `c`; characters the font lacks are drawn as a blank cell.
const Glyph& GlyphOf(char c);

}  // namespace label_font
